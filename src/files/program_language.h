#pragma once

#include <QStringList>
#include <QStringView>

class QCoreApplication;
class QProcessEnvironment;

namespace yalmera::files {

enum class ProgramLanguage { English, Russian };

// The first of the user's languages the programs speak ("ru-RU", "en_GB", "C" for the texts as
// written); English when none is.
ProgramLanguage firstKnownLanguage(const QStringList& languages);

// The language of messages as gettext picks it on Unix. The locale of messages is the first set of
// LC_ALL, LC_MESSAGES and LANG; the C locale ("C", "POSIX", "C.UTF-8", or none set) means English
// whatever LANGUAGE says. Otherwise the first language of LANGUAGE (a colon list, the user's
// order) that the programs speak decides, and without one the locale's: Russian for ru_*,
// English otherwise.
ProgramLanguage messageLanguage(const QProcessEnvironment& environment);

// The language the programs speak to this user: messageLanguage on Unix, the first of the user's
// display languages the programs speak on Windows.
ProgramLanguage userLanguage();

// Shows a command-line program's own texts in the user's language (userLanguage): Russian or
// English. Numbers in the texts follow that language, not the locale's: a decimal comma in
// Russian ("2,8 с"). The texts are compiled into the program as the resources
// :/translations/<program>_ru.qm (Russian) and <program>_en.qm (English plural forms, "1 channel",
// and the libraries' words for system errors in English). The station's own Russian messages are
// no such texts: they stay as they are in both languages.
void useUserLanguage(QCoreApplication& app, QStringView program);

} // namespace yalmera::files
