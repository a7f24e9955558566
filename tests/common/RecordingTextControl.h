#pragma once

#include "CallLog.h"
#include "support/TextControl.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace testing_support {

// A text field that remembers its state and every text set on it. Starts
// hidden and empty, as a status line does before its first message.
class RecordingTextControl final : public support::TextControl {
public:
    explicit RecordingTextControl(CallLog* log = nullptr) : m_log(log) {}
    void setText(const QString& text) override {
        m_text = text;
        m_textsSet.append(text);
        if (m_log)
            m_log->push_back("setText(" + text.toStdString() + ")");
        if (onText)
            onText(text);
    }
    QString text() const override { return m_text; }
    void setHidden(bool hidden) override {
        m_hidden = hidden;
        if (m_log)
            m_log->push_back(hidden ? "setHidden(true)" : "setHidden(false)");
    }
    bool isHidden() const override { return m_hidden; }
    const QStringList& textsSet() const { return m_textsSet; }
    // Called with each text set, as a user reacting to what the field shows.
    std::function<void(const QString&)> onText;

private:
    CallLog* m_log;
    QString m_text;
    bool m_hidden = true;
    QStringList m_textsSet;
};

} // namespace testing_support
