#pragma once

#include <QIcon>

namespace ui {

// JoinClip's own icon: the installed theme icon "joinclip" when the desktop
// has it, else the sizes built into the program.
QIcon applicationIcon();

} // namespace ui
