#pragma once

class QHeaderView;
class QWidget;

namespace support {
class UserDefaults;
}

namespace ui {

// The main window's place and size and its table's column widths, kept in
// the preferences from one run to the next. Columns that stretch to fill the
// window are left to their layout; only the ones the user sizes are kept.
void restoreWindowPlacement(QWidget& window, QHeaderView& columns, const support::UserDefaults& defaults);
void saveWindowPlacement(const QWidget& window, const QHeaderView& columns, support::UserDefaults& defaults);

} // namespace ui
