#pragma once

#include <QStringView>

class QCoreApplication;

namespace yalmera::files {

// Shows a command-line program's own texts in the user's language: Russian where the system's
// language is Russian (on Unix LANGUAGE, LC_ALL, LC_MESSAGES or LANG ru_*, as gettext reads them;
// on Windows the user's display language), English, the texts as written, otherwise. The Russian
// texts are compiled into the program as the resource :/translations/<program>_ru.qm. The
// station's own Russian messages are no such texts: they stay as they are in both languages.
void useUserLanguage(QCoreApplication& app, QStringView program);

} // namespace yalmera::files
