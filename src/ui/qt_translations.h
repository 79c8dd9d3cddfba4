#pragma once

#include <QStringList>

class QCoreApplication;
class QTranslator;

namespace yalmera::ui {

// Where Qt's own translations are looked for, in this order: "translations" beside the
// executable (the Windows installer's layout), "../share/yalmera/translations" from it (an
// installed Linux layout), then Qt's own translations folder.
QStringList qtTranslationFolders();

// Makes Qt's standard dialogs and buttons speak Russian whatever the system's locale: loads
// qtbase_ru.qm from the first folder above that has it and makes Russian the default locale.
// Returns the installed translator, owned by the application, or nullptr when no folder has the
// file (the standard texts then stay English; the program's own texts are Russian anyway).
QTranslator* installRussianQtTranslations(QCoreApplication& application);

} // namespace yalmera::ui
