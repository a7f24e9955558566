#pragma once

#include <QString>

class QWidget;

namespace support {
class UserDefaults;
}

namespace ui {

// Asks before a command changes the user's files on disk (renames them, or
// rewrites a movie), with "Do not ask again". Answers whether to go on: at
// once when the user ticked that box before ("AskBeforeChangingFiles" off).
bool confirmFileChange(QWidget& parent, support::UserDefaults& defaults, const QString& question,
                       const QString& informative);

} // namespace ui
