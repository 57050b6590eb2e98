#include "app/CommandLine.h"

#include "app/Translations.h"
#include "core/Journal.h"
#include "core/JournalTransfer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The context of the texts below for translators.
struct CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

void say(FILE *stream, const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

bool asksForCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0)
            return true;
        for (const char *option : {"--export", "--import"}) {
            const size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 &&
                (argv[i][length] == '\0' || argv[i][length] == '='))
                return true;
        }
    }
    return false;
}

int run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(CommandLine::tr("A daily journal for the Linux desktop."));
    const QCommandLineOption exportOption(
        QStringLiteral("export"),
        CommandLine::tr("Write the journal into DIR as Markdown files, one per day, and "
                        "journal.md."),
        CommandLine::tr("DIR"));
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        CommandLine::tr("Read the days of an exported folder DIR into the journal; a day with "
                        "text of its own gets the imported text below a separator."),
        CommandLine::tr("DIR"));
    parser.addOptions({exportOption, importOption});
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        say(stderr, QStringLiteral("lumenquill: ") + parser.errorText());
        return 2;
    }
    if (parser.isSet(helpOption)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(exportOption) == parser.isSet(importOption) ||
        !parser.positionalArguments().isEmpty()) {
        say(stderr, QStringLiteral("lumenquill: ") +
                        CommandLine::tr("give either --export DIR or --import DIR"));
        return 2;
    }
    const QString path = JournalDatabase::defaultPath();
    const bool exporting = parser.isSet(exportOption);
    if (exporting && !QFileInfo::exists(path)) {
        say(stderr, QStringLiteral("lumenquill: ") +
                        CommandLine::tr("there is no journal at %1 to export").arg(path));
        return 1;
    }
    // Refused as a launch refuses it: a journal that is locked, damaged or newer is left as
    // it is.
    auto journal = Journal::open(path);
    if (!journal) {
        say(stderr, QStringLiteral("Could not create ModelContainer: ") + journal.error());
        return 1;
    }
    if (exporting) {
        const QString folder = parser.value(exportOption);
        const auto exported = exportJournal(path, folder);
        if (!exported) {
            say(stderr,
                QStringLiteral("lumenquill: ") +
                    CommandLine::tr("the journal could not be exported: %1").arg(exported.error()));
            return 1;
        }
        say(stdout, CommandLine::tr("Exported %n days to %1", nullptr, int(*exported)).arg(folder));
        return 0;
    }
    const QString folder = parser.value(importOption);
    const auto days = readExportedDays(folder);
    const auto summary =
        days ? (*journal)->importDays(*days) : Result<ImportSummary>(days.failure());
    if (!summary || !(*journal)->saveError().isEmpty()) {
        say(stderr, QStringLiteral("lumenquill: ") +
                        CommandLine::tr("nothing was imported: %1")
                            .arg(summary ? (*journal)->saveError() : summary.error()));
        return 1;
    }
    say(stdout, CommandLine::tr("Imported %n days from %1: %2 new, %3 merged below a separator, "
                                "%4 already there",
                                nullptr, int(days->size()))
                    .arg(folder, QString::number(summary->added), QString::number(summary->merged),
                         QString::number(summary->unchanged)));
    return 0;
}

} // namespace

std::optional<int> runCommandLine(int argc, char *argv[])
{
    if (!asksForCommandLine(argc, argv))
        return std::nullopt;
    QCoreApplication application(argc, argv);
    installTranslations();
    return run(QCoreApplication::arguments());
}
