// Writes a generated journal for measurements: one note a day, ending today, with a few
// hashtags from a fixed pool.   Usage: lq_make_journal PATH DAYS

#include "model/ModelContainer.h"
#include "model/ModelContext.h"
#include "tags/TagSync.h"
#include "tags/extractHashtags.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: lq_make_journal PATH DAYS\n", stderr);
        return 2;
    }
    QString error;
    auto container = ModelContainer::open(arguments.at(1), &error);
    if (!container) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    ModelContext *context = container->mainContext();
    const int days = arguments.at(2).toInt();
    QRandomGenerator random(20261206);
    const QStringList words =
        QStringLiteral(
            "morning walk coffee rain wrote read called friend garden train quiet evening work "
            "dinner letter music long day light market river slept early late city")
            .split(QLatin1Char(' '));
    const QDate last = QDate::currentDate();
    for (int i = days - 1; i >= 0; --i) {
        QString text;
        for (int w = 0; w < 100; ++w)
            text += words.at(random.bounded(words.size())) + QLatin1Char(w % 12 == 11 ? '\n' : ' ');
        for (int t = 0; t < 3; ++t)
            text += QStringLiteral(" #topic%1").arg(random.bounded(40));
        auto *note = new Note(last.addDays(-i).startOfDay(), text);
        context->insert(note);
        const QSet<QString> names = extractHashtags(text).value_or(QSet<QString>());
        for (const QString &name : names)
            note->addTag(fetchOrCreateTag(context, name));
        if (i % 1000 == 0 && !context->save()) {
            std::fprintf(stderr, "%s\n", qPrintable(context->lastSaveError()));
            return 1;
        }
    }
    return context->save() ? 0 : 1;
}
