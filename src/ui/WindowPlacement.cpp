#include "ui/WindowPlacement.h"

#include "support/UserDefaults.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QVariantList>
#include <QWidget>

namespace ui {

namespace {

// A width that no one would set by hand: the stored list is damaged.
constexpr int kWidestColumn = 4000;

bool isUserSized(const QHeaderView& columns, int column) {
    return columns.sectionResizeMode(column) == QHeaderView::Interactive;
}

} // namespace

void restoreWindowPlacement(QWidget& window, QHeaderView& columns, const support::UserDefaults& defaults) {
    const QByteArray geometry = defaults.value(support::Pref::MainWindowGeometry).toByteArray();
    // restoreGeometry keeps the window on a screen that is there now.
    if (!geometry.isEmpty())
        (void)window.restoreGeometry(geometry);
    const QVariantList widths = defaults.value(support::Pref::FileTableColumnWidths).toList();
    for (int column = 0; column < columns.count() && column < widths.size(); ++column) {
        bool isNumber = false;
        const int width = widths[column].toInt(&isNumber);
        if (isNumber && width >= columns.minimumSectionSize() && width <= kWidestColumn &&
            isUserSized(columns, column))
            columns.resizeSection(column, width);
    }
}

void saveWindowPlacement(const QWidget& window, const QHeaderView& columns, support::UserDefaults& defaults) {
    defaults.setValue(support::Pref::MainWindowGeometry, window.saveGeometry());
    QVariantList widths;
    for (int column = 0; column < columns.count(); ++column)
        // A hidden column answers 0: its width from before it was hidden is not known here.
        widths.append(isUserSized(columns, column) && !columns.isSectionHidden(column)
                          ? columns.sectionSize(column)
                          : 0);
    defaults.setValue(support::Pref::FileTableColumnWidths, widths);
}

} // namespace ui
