#pragma once

#include <QLocale>

namespace ui {

// Installs Qt's own translations (the file panels, Yes/No/Cancel, the
// standard context menus) for locale's language from Qt's translations
// folder, so Qt's dialogs speak the same language as the rest of the window.
// Answers false when Qt has no table for the language (English needs none).
bool installQtTranslations(const QLocale& locale = QLocale::system());

} // namespace ui
