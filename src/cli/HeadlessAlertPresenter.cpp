#include "cli/HeadlessAlertPresenter.h"

#include <ostream>

namespace cli {

HeadlessAlertPresenter::HeadlessAlertPresenter(std::ostream& out) : m_out(out) {}

void HeadlessAlertPresenter::showInformational(const QString& message, const QString& informative,
                                               support::WindowHandle* /*parentWindow*/) {
    m_out << message.toStdString();
    if (!informative.trimmed().isEmpty()) {
        m_out << " \u2014 " << informative.toStdString();
    }
    m_out << '\n' << std::flush;
}

} // namespace cli
