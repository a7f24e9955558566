#pragma once

class QWidget;

namespace ui {

// Puts every text of a window made from a Designer file through
// LocalizedString: window titles, labels, buttons, check boxes, group boxes,
// tool tips, accessible names, menus and their items. The Designer files
// hold the English keys.
void localizeWidgetTree(QWidget& window);

} // namespace ui
