#pragma once

#include "support/TextControl.h"

#include <QString>

namespace support {

// A text field with no widget behind it: it only keeps its state.
class StoredTextControl final : public TextControl {
public:
    void setText(const QString& text) override { m_text = text; }
    QString text() const override { return m_text; }
    void setHidden(bool hidden) override { m_hidden = hidden; }
    bool isHidden() const override { return m_hidden; }

private:
    QString m_text;
    bool m_hidden = true;
};

} // namespace support
