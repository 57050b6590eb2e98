#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QList>
#include <QPointer>
#include <QTranslator>

using namespace Qt::StringLiterals;

void installTranslations(const QLocale &locale)
{
    static QList<QPointer<QTranslator>> installed;
    for (const QPointer<QTranslator> &translator : std::as_const(installed))
        delete translator.data();
    installed.clear();

    // The program's own are built into it; Qt's come with Qt (Debian: qt6-translations-l10n).
    const std::pair<QString, QString> catalogues[] = {
        {u"qtbase"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {u"lumenquill"_s, u":/translations"_s},
    };
    for (const auto &[name, folder] : catalogues) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, u"_"_s, folder) &&
            QCoreApplication::installTranslator(translator))
            installed.append(translator);
        else
            delete translator;
    }
}
