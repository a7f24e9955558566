#include "ui/LocalizeWidgets.h"

#include "support/LocalizedString.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace ui {

namespace {

QString localized(const QString& text) {
    return text.isEmpty() ? text : support::LocalizedString(text);
}

void localizeAction(QAction& action) {
    action.setText(localized(action.text()));
    // A tool tip Qt made from the text follows it; only one of our own is looked up.
    if (action.toolTip() != action.text())
        action.setToolTip(localized(action.toolTip()));
}

void localizeWidget(QWidget& widget) {
    if (widget.isWindow())
        widget.setWindowTitle(localized(widget.windowTitle()));
    widget.setToolTip(localized(widget.toolTip()));
    widget.setAccessibleName(localized(widget.accessibleName()));
    if (auto* label = qobject_cast<QLabel*>(&widget))
        label->setText(localized(label->text()));
    else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        button->setText(localized(button->text()));
    else if (auto* group = qobject_cast<QGroupBox*>(&widget))
        group->setTitle(localized(group->title()));
    else if (auto* menu = qobject_cast<QMenu*>(&widget))
        menu->setTitle(localized(menu->title()));
}

} // namespace

void localizeWidgetTree(QWidget& window) {
    localizeWidget(window);
    for (QWidget* child : window.findChildren<QWidget*>())
        localizeWidget(*child);
    for (QAction* action : window.findChildren<QAction*>())
        if (!action->isSeparator() && !action->menu())
            localizeAction(*action);
}

} // namespace ui
