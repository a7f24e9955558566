#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <functional>

namespace support {

// What a command tells the user once: the window shows it in an alert (an
// error alert for a failure), the command line writes it as a line. Texts
// given arguments are formats, looked up first and then filled.
enum class Told { Information, Failure };

struct Notice final {
    Told kind = Told::Information;
    QString message;
    QString informative;
    QStringList messageArguments = {};
    QStringList informativeArguments = {};
};

// Where a command that is not an object of its own tells its notices.
using Tell = std::function<void(const Notice& notice)>;

} // namespace support

Q_DECLARE_METATYPE(support::Notice)
