#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>
#include <ostream>

namespace platform {

bool QtDesktopServices::openFile(const std::filesystem::path& path) {
    // QDesktopServices asks the GUI platform plugin, which exists only in a GUI application.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

bool HeadlessDesktopServices::openFile(const std::filesystem::path& path) {
    m_out << "Not opening " << path.string() << ": there is no desktop to open it in from the command line\n";
    return false;
}

} // namespace platform
