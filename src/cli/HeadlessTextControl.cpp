#include "cli/HeadlessTextControl.h"

#include <ostream>

namespace cli {

HeadlessTextControl::HeadlessTextControl(std::ostream& out) : m_out(out) {}

void HeadlessTextControl::setText(const QString& text) {
    m_text = text;
    if (!m_hidden && !text.isEmpty()) {
        if (m_before)
            m_before();
        m_out << text.toStdString() << '\n';
    }
}

} // namespace cli
