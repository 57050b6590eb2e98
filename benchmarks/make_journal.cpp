// Writes a generated journal for measurements: one note a day, ending today, with a few
// hashtags from a fixed pool, a thousand days to a transaction. With --demo, a short journal
// of a dozen everyday notes over the last three weeks, in English or German, for screenshots.
// Usage: lq_make_journal PATH DAYS
//        lq_make_journal --demo en|de PATH

#include "core/JournalDatabase.h"
#include "core/TagSync.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>

namespace {

struct DemoNote
{
    int daysAgo;
    const char *english;
    const char *german;
};

// Tags in ASCII in both languages: a word such as "#bücher" makes no tag.
constexpr DemoNote demoNotes[] = {
    {0,
     "A slow morning\n\nCoffee on the balcony while the rain passed. Finished the last chapter "
     "of the lighthouse novel: the ending was quieter than I expected, and better for it. "
     "#books\n\nIn the afternoon I repotted the basil and tied up the tomatoes before the wind "
     "came back. #garden\n\nThis week:\n- call Grandma about the birthday lunch #family\n- "
     "return the library books\n- 5 km on Wednesday #running",
     "Ein ruhiger Morgen\n\nKaffee auf dem Balkon, während der Regen vorbeizog. Das letzte "
     "Kapitel des Leuchtturm-Romans gelesen: leiser als erwartet, und gerade deshalb gut. "
     "#lesen\n\nAm Nachmittag das Basilikum umgetopft und die Tomaten festgebunden, bevor der "
     "Wind wiederkam. #garten\n\nDiese Woche:\n- Oma wegen des Geburtstagsessens anrufen "
     "#familie\n- die Bücher zur Bibliothek bringen\n- Mittwoch 5 km laufen #laufen"},
    {1,
     "Evening run along the river\n\n6.2 km at an easy pace. The light over the water was "
     "lovely. #running",
     "Abendlauf am Fluss\n\n6,2 km, ganz locker. Schönes Licht über dem Wasser. #laufen"},
    {2,
     "Market day\n\nPears, sourdough bread and far too many tulips. Tried Lena's lentil soup "
     "at last. #cooking",
     "Markttag\n\nBirnen, Sauerteigbrot und viel zu viele Tulpen. Endlich Lenas Linsensuppe "
     "ausprobiert. #kochen"},
    {3,
     "Reading notes\n\nStarted the lighthouse novel. Short chapters, good for the train. "
     "#books",
     "Lesenotizen\n\nDen Leuchtturm-Roman angefangen. Kurze Kapitel, gut für die Bahn. #lesen"},
    {5, "First frost\n\nCovered the dahlias and brought the rosemary inside. #garden",
     "Erster Frost\n\nDie Dahlien abgedeckt und den Rosmarin hereingeholt. #garten"},
    {6,
     "Called Mum\n\nShe is planning the birthday lunch for the 20th. I will bring the apple "
     "cake. #family #cooking",
     "Mama angerufen\n\nSie plant das Geburtstagsessen am 20. Ich bringe den Apfelkuchen mit. "
     "#familie #kochen"},
    {8,
     "Long run\n\n12 km. Heavy legs after the first hour, but the hills felt easier than "
     "last month. #running",
     "Langer Lauf\n\n12 km. Schwere Beine nach der ersten Stunde, aber die Hügel gingen "
     "leichter als letzten Monat. #laufen"},
    {9,
     "Book club\n\nWe talked about the ending for an hour. Next month something short. "
     "#books",
     "Lesekreis\n\nEine Stunde lang über das Ende geredet. Nächsten Monat etwas Kurzes. #lesen"},
    {11, "Seeds for spring\n\nOrdered sweet peas, cosmos and two kinds of beans. #garden",
     "Saatgut für den Frühling\n\nWicken, Schmuckkörbchen und zwei Sorten Bohnen bestellt. "
     "#garten"},
    {13,
     "Sunday pancakes\n\nThe kids insisted on blueberries. Saved the batter recipe. #family "
     "#cooking",
     "Pfannkuchen zum Frühstück\n\nDie Kinder wollten unbedingt Blaubeeren. Das Rezept für den "
     "Teig aufgehoben. #familie #kochen"},
    {16, "Library\n\nReturned three, borrowed four. The pile on the nightstand grows. #books",
     "Bibliothek\n\nDrei zurückgebracht, vier ausgeliehen. Der Stapel auf dem Nachttisch "
     "wächst. #lesen"},
    {18, "Quiet evening\n\nTea, a blanket and the first pages of a new novel. #books",
     "Stiller Abend\n\nTee, eine Decke und die ersten Seiten eines neuen Romans. #lesen"},
};

int fail(const QString &error)
{
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
}

int writeDemo(JournalDatabase &journal, bool german)
{
    const QDate today = QDate::currentDate();
    const QDateTime now = QDateTime::currentDateTime();
    Transaction transaction = journal.transaction();
    for (const DemoNote &demo : demoNotes) {
        const QString text = QString::fromUtf8(german ? demo.german : demo.english);
        const auto note = journal.insertNote(today.addDays(-demo.daysAgo), text);
        const auto synced =
            note ? syncTags(journal, *note, text, now) : Result<TagSyncChanges>(note.failure());
        if (!synced)
            return fail(synced.error());
    }
    const auto committed = transaction.commit();
    return committed ? 0 : fail(committed.error());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool demo =
        arguments.size() == 4 && arguments.at(1) == QLatin1String("--demo") &&
        (arguments.at(2) == QLatin1String("en") || arguments.at(2) == QLatin1String("de"));
    if (arguments.size() != 3 && !demo) {
        std::fputs("usage: lq_make_journal PATH DAYS\n"
                   "       lq_make_journal --demo en|de PATH\n",
                   stderr);
        return 2;
    }
    auto database = JournalDatabase::open(arguments.at(demo ? 3 : 1));
    if (!database) {
        std::fprintf(stderr, "%s\n", qPrintable(database.error()));
        return 1;
    }
    JournalDatabase &journal = **database;
    if (demo)
        return writeDemo(journal, arguments.at(2) == QLatin1String("de"));
    const int days = arguments.at(2).toInt();
    QRandomGenerator random(20261206);
    const QStringList words =
        QStringLiteral(
            "morning walk coffee rain wrote read called friend garden train quiet evening work "
            "dinner letter music long day light market river slept early late city")
            .split(QLatin1Char(' '));
    const QDate last = QDate::currentDate();
    const QDateTime now = QDateTime::currentDateTime();
    for (int first = days - 1; first >= 0; first -= 1000) {
        Transaction transaction = journal.transaction();
        for (int i = first; i > first - 1000 && i >= 0; --i) {
            QString text;
            for (int w = 0; w < 100; ++w)
                text +=
                    words.at(random.bounded(words.size())) + QLatin1Char(w % 12 == 11 ? '\n' : ' ');
            for (int t = 0; t < 3; ++t)
                text += QStringLiteral(" #topic%1").arg(random.bounded(40));
            const auto note = journal.insertNote(last.addDays(-i), text);
            const auto synced =
                note ? syncTags(journal, *note, text, now) : Result<TagSyncChanges>(note.failure());
            if (!synced) {
                std::fprintf(stderr, "%s\n", qPrintable(synced.error()));
                return 1;
            }
        }
        if (const auto committed = transaction.commit(); !committed) {
            std::fprintf(stderr, "%s\n", qPrintable(committed.error()));
            return 1;
        }
    }
    return 0;
}
