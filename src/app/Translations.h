#pragma once

#include <QLocale>

// Puts the program's texts, and Qt's own (the standard buttons, the file dialog, the
// command-line help), into the language of locale: the user's, as the environment names it
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), unless told otherwise. A language without a
// translation keeps the English texts. The translations of an earlier call are taken out
// first. Needs a QCoreApplication.
void installTranslations(const QLocale &locale = QLocale::system());
