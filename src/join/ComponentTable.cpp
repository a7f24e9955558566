#include "join/ComponentTable.h"

#include "support/FormatText.h"

namespace join {

const ComponentDescription* ComponentTable::find(const QString& title) const {
    for (const auto& [entryTitle, description] : m_entries)
        if (entryTitle == title)
            return &description;
    return nullptr;
}

bool ComponentTable::insert(const QString& title, ComponentDescription description) {
    if (contains(title))
        return false;
    m_entries.emplace_back(title, std::move(description));
    return true;
}

QStringList ComponentTable::titles() const {
    QStringList titles;
    for (const auto& entry : m_entries)
        titles << entry.first;
    return titles;
}

QString componentTitle(const QString& name, const QString& subtypeText, const QString& manufacturerText) {
    if (manufacturerText.isEmpty())
        return support::fillFormat("%@ [%@]", {name, subtypeText});
    return support::fillFormat("%@ [%@,%@]", {name, subtypeText, manufacturerText});
}

void BuildComponentTable(ComponentTable& table, const std::vector<media::ExportComponent>& components) {
    table.clear();
    for (const media::ExportComponent& component : components) {
        // Names that are not UTF-8 show their bad bytes as U+FFFD rather than being dropped.
        const QString name = QString::fromStdString(component.name);
        if (name.isEmpty())
            continue;
        const QString title =
            componentTitle(name, QString::fromStdString(media::fourCharCodeText(component.subtype)),
                           QString::fromStdString(media::fourCharCodeText(component.manufacturer)));
        if (table.contains(title))
            continue;
        ComponentDescription description;
        description.name = name;
        description.info = QString::fromStdString(component.info);
        description.extension =
            component.extension.empty() ? QString() : "." + QString::fromStdString(component.extension);
        description.subtype = component.subtype;
        description.manufacturer = component.manufacturer;
        description.exporter = std::make_shared<Exporter>(component);
        table.insert(title, std::move(description));
    }
}

} // namespace join
