#pragma once

#include "join/ComponentDescription.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace join {

// Component descriptions by menu title, in the order they were found.
class ComponentTable final {
public:
    void clear() { m_entries.clear(); }
    bool contains(const QString& title) const { return find(title) != nullptr; }
    const ComponentDescription* find(const QString& title) const;
    // Adds the description under the title; false (nothing added) when the title is taken.
    bool insert(const QString& title, ComponentDescription description);
    QStringList titles() const;
    bool isEmpty() const { return m_entries.empty(); }

private:
    std::vector<std::pair<QString, ComponentDescription>> m_entries;
};

// "name [subtype,manufacturer]", or "name [subtype]" when the manufacturer code has no text.
QString componentTitle(const QString& name, const QString& subtypeText, const QString& manufacturerText);

// Rebuilds the table from the components found: each gets its title, the
// first one found keeps a title that two share, and each gets an open
// instance. A component without a name is left out.
void BuildComponentTable(ComponentTable& table,
                         const std::vector<media::ExportComponent>& components = media::exportComponents());

} // namespace join
