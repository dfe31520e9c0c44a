#pragma once

#include <QString>
#include <cstdint>

class QCoreApplication;
class QTranslator;

// Qt's own texts (the buttons of message boxes, the file and print dialogs,
// the context menus of edits) in the window's language. For Chinese it
// loads Qt's Chinese translation from Qt's translations folder, installs it
// into app and makes Chinese the default locale (calendar pop-ups, date
// names). Returns the installed translator (owned by app), or null for
// English or when the translation is not installed; then Qt stays English.
QTranslator* InstallQtTranslation(std::uint16_t language, QCoreApplication& app);

// Where Qt's translation for language is looked for (empty for English).
QString QtTranslationFile(std::uint16_t language);
