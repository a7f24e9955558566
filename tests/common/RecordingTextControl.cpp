#include "RecordingTextControl.h"

namespace testing_support {

void RecordingTextControl::setText(const QString& text) {
    m_text = text;
    m_textsSet.append(text);
    if (m_log) {
        m_log->push_back("setText(" + text.toStdString() + ")");
    }
    if (onText)
        onText(text);
}

void RecordingTextControl::setHidden(bool hidden) {
    m_hidden = hidden;
    if (m_log) {
        m_log->push_back(hidden ? "setHidden(true)" : "setHidden(false)");
    }
}

} // namespace testing_support
