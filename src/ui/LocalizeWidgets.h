#pragma once

#include <QString>

class QWidget;

namespace ui {

// Puts every text of a window made from a Designer file through
// LocalizedString: window titles, labels, buttons, check boxes, group boxes,
// tool tips, accessible names, menus and their items. The Designer files
// hold the English keys.
// Mnemonics ("&Join…") keep their letter through the translation.
void localizeWidgetTree(QWidget& window);

// Where the mnemonic marker of a control's text is, or -1 without one ("&&"
// is a plain ampersand).
qsizetype mnemonicPosition(const QString& text);

} // namespace ui
