#include "ui/LocalizeWidgets.h"

#include "support/LocalizedString.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>
#include <algorithm>

namespace ui {

namespace {

QString localized(const QString& text) {
    return text.isEmpty() ? text : support::LocalizedString(text);
}

// A control's text with its mnemonic ("&Join…"): the text is looked up
// without the marker, which then goes before the same letter in the
// translation, or before its first letter when the translation lacks it.
QString localizedWithMnemonic(const QString& text) {
    const qsizetype marker = mnemonicPosition(text);
    if (marker < 0)
        return localized(text);
    // A table may hold the text with its marker already.
    if (QString whole = localized(text); whole != text)
        return whole;
    const QChar letter = text.at(marker + 1);
    const QString plain = QString(text).remove(marker, 1);
    QString translated = localized(plain);
    if (translated == plain)
        return text; // not translated: the marker stays where it was put
    qsizetype at = translated.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at < 0)
        at = std::max<qsizetype>(0, std::ranges::find_if(translated, [](QChar c) { return c.isLetter(); }) -
                                        translated.begin());
    if (at < translated.size())
        translated.insert(at, u'&');
    return translated;
}

void localizeAction(QAction& action) {
    action.setText(localizedWithMnemonic(action.text()));
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
        label->setText(label->buddy() ? localizedWithMnemonic(label->text()) : localized(label->text()));
    else if (auto* button = qobject_cast<QAbstractButton*>(&widget))
        button->setText(localizedWithMnemonic(button->text()));
    else if (auto* group = qobject_cast<QGroupBox*>(&widget))
        group->setTitle(localized(group->title()));
    else if (auto* menu = qobject_cast<QMenu*>(&widget))
        menu->setTitle(localizedWithMnemonic(menu->title()));
}

} // namespace

qsizetype mnemonicPosition(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) != u'&')
            return i;
        ++i; // "&&" is a plain ampersand
    }
    return -1;
}

void localizeWidgetTree(QWidget& window) {
    localizeWidget(window);
    for (QWidget* child : window.findChildren<QWidget*>())
        localizeWidget(*child);
    for (QAction* action : window.findChildren<QAction*>())
        if (!action->isSeparator() && !action->menu())
            localizeAction(*action);
}

} // namespace ui
