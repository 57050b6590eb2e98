// The real lumenquill binary: first launch, a journal it must refuse with the fatal message,
// text typed just before the process is told to end, and export and import without a window.

#include "TestEnvironment.h"

#include "core/Journal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString journalPath(const QTemporaryDir &dataHome)
{
    return dataHome.filePath(u"lumenquill/journal.sqlite"_s);
}

QProcessEnvironment environment(const QTemporaryDir &dataHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_DATA_HOME"_s, dataHome.path());
    env.insert(u"XDG_RUNTIME_DIR"_s, dataHome.path());
    // Settings and the spelling's personal word list, away from the user's.
    env.insert(u"XDG_CONFIG_HOME"_s, dataHome.path());
    if (!env.contains(u"QT_QPA_PLATFORM"_s))
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    return env;
}

bool isSqliteFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

void terminate(QProcess &app)
{
    ::kill(pid_t(app.processId()), SIGTERM);
    QVERIFY(app.waitForFinished(20000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), 0);
}

} // namespace

class AppTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void firstLaunch_createsTheJournal_andQuitsOnSigterm()
    {
        QTemporaryDir dataHome;
        QProcess first;
        first.setProcessEnvironment(environment(dataHome));
        first.start(QStringLiteral(LQ_BINARY_PATH), {});
        QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(journalPath(dataHome)), 20000);
        QCOMPARE(first.state(), QProcess::Running);
        terminate(first);
        // The window opened on today's note, which is kept although nothing was typed.
        QCOMPARE(lqtest::queryFile(journalPath(dataHome), u"SELECT day FROM notes"_s),
                 QVariantList{QDate::currentDate().toString(Qt::ISODate)});
    }

    // A journal is refused when its file is empty, so the first launch must never leave one
    // behind: killed at any moment of it, the next launch finds either no journal or one
    // that opens.
    void killedDuringTheFirstLaunch_leavesAJournalThatOpens()
    {
        // How long the journal takes to appear here, to spread the kills over it.
        qint64 appearsAfter = 0;
        {
            QTemporaryDir dataHome;
            QProcess app;
            app.setProcessEnvironment(environment(dataHome));
            QElapsedTimer clock;
            clock.start();
            app.start(QStringLiteral(LQ_BINARY_PATH), {});
            QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(journalPath(dataHome)), 20000);
            appearsAfter = clock.nsecsElapsed() / 1000;
            terminate(app);
        }
        constexpr int kills = 60;
        for (int i = 0; i < kills; ++i) {
            QTemporaryDir dataHome;
            QProcess app;
            app.setProcessEnvironment(environment(dataHome));
            app.start(QStringLiteral(LQ_BINARY_PATH), {});
            QThread::usleep(static_cast<unsigned long>(appearsAfter * 3 / 2 * i / kills));
            ::kill(pid_t(app.processId()), SIGKILL);
            QVERIFY(app.waitForFinished(20000));
            const QString path = journalPath(dataHome);
            if (!QFile::exists(path))
                continue;
            const auto reopened = Journal::open(path);
            QVERIFY2(reopened,
                     qPrintable(u"killed after %1 us: %2"_s.arg(appearsAfter * 3 / 2 * i / kills)
                                    .arg(reopened.error())));
        }
    }

    void unusableJournal_stopsWithTheMessage_andLeavesTheFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("Not SQLite") << QByteArray(5000, 'j') << u"is not a journal"_s;
    }

    void unusableJournal_stopsWithTheMessage_andLeavesTheFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dataHome;
        const QString path = journalPath(dataHome);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QProcess app;
        app.setProcessEnvironment(environment(dataHome));
        app.start(QStringLiteral(LQ_BINARY_PATH), {});
        QVERIFY(app.waitForFinished(20000));
        QCOMPARE(app.exitCode(), 1);
        const QString errors = QString::fromLocal8Bit(app.readAllStandardError()).trimmed();
        QCOMPARE(errors.section(u'\n', -1),
                 u"Could not create ModelContainer: "_s + path + u' ' + reason +
                     (content.isEmpty() ? u", not a journal"_s : u" (not an SQLite database)"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QVERIFY(!QFile::exists(path + u"-wal"_s));
    }

    void exportAndImport_runWithoutAWindow_andLeaveAHeldJournalAlone_data()
    {
        QTest::addColumn<bool>("held"); // by a running LumenQuill
        QTest::newRow("A journal no one holds") << false;
        QTest::newRow("A journal open in a running LumenQuill") << true;
    }

    void exportAndImport_runWithoutAWindow_andLeaveAHeldJournalAlone()
    {
        QFETCH(bool, held);
        QTemporaryDir dataHome;
        QTemporaryDir folder;
        const QString path = journalPath(dataHome);
        QVERIFY(QDir().mkpath(folder.filePath(u"2026/03"_s)));
        QFile day(folder.filePath(u"2026/03/2026-03-01.md"_s));
        QVERIFY(day.open(QIODevice::WriteOnly));
        day.write("Imported \xc3\xa9 #cli\r\n");
        day.close();

        QProcess running;
        if (held) {
            running.setProcessEnvironment(environment(dataHome));
            running.start(QStringLiteral(LQ_BINARY_PATH), {});
            QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(path), 20000);
        }
        // No display at all: a window could not even be tried.
        QProcessEnvironment env = environment(dataHome);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        const auto run = [&](const QStringList &arguments) {
            QProcess cli;
            cli.setProcessEnvironment(env);
            cli.start(QStringLiteral(LQ_BINARY_PATH), arguments);
            cli.waitForFinished(60000);
            return std::pair{cli.exitCode(), QString::fromLocal8Bit(cli.readAllStandardOutput() +
                                                                    cli.readAllStandardError())};
        };
        const auto imported = run({u"--import"_s, folder.path()});
        if (held) {
            QCOMPARE(imported.first, 1);
            QVERIFY2(
                imported.second.contains(
                    u"already open in another LumenQuill (process %1)"_s.arg(running.processId())),
                qPrintable(imported.second));
            terminate(running);
            QCOMPARE(lqtest::queryFile(path, u"SELECT count(*) FROM notes WHERE day = "
                                             u"'2026-03-01'"_s),
                     QVariantList{0});
            return;
        }
        QCOMPARE(imported.first, 0);
        QVERIFY2(imported.second.contains(u"1 new"_s), qPrintable(imported.second));
        QCOMPARE(lqtest::storedText(path, u"2026-03-01"_s), u"Imported é #cli\r\n"_s);
        const auto exported = run({u"--export"_s, folder.filePath(u"out"_s)});
        QCOMPARE(exported.first, 0);
        QFile back(folder.filePath(u"out/2026/03/2026-03-01.md"_s));
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), QByteArray("Imported \xc3\xa9 #cli\r\n"));
        QCOMPARE(run({u"--export"_s}).first, 2);
    }

    void textTypedJustBefore_isSavedWithItsTags_data()
    {
        QTest::addColumn<bool>("displayDies");
        QTest::newRow("SIGTERM") << false;
        QTest::newRow("The X server dies") << true;
    }

    void textTypedJustBefore_isSavedWithItsTags()
    {
        QFETCH(bool, displayDies);
        const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
        const QString xdotool = QStandardPaths::findExecutable(u"xdotool"_s);
        if (xvfb.isEmpty() || xdotool.isEmpty())
            QSKIP("needs Xvfb and xdotool (scripts/setup-debian installs them)");

        int display = 90 + ::getpid() % 500;
        while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)))
            ++display;
        const QString displayName = u":%1"_s.arg(display);
        QProcess server;
        server.start(
            xvfb, {displayName, u"-screen"_s, u"0"_s, u"1280x800x24"_s, u"-nolisten"_s, u"tcp"_s});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)), 10000);

        QTemporaryDir dataHome;
        QProcessEnvironment env = environment(dataHome);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"DISPLAY"_s, displayName);
        QProcess app;
        app.setProcessEnvironment(env);
        app.start(QStringLiteral(LQ_BINARY_PATH), {});

        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.start(xdotool, {u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--name"_s,
                             u"^LumenQuill$"_s, u"windowfocus"_s, u"--sync"_s, u"type"_s,
                             u"--delay"_s, u"15"_s, u"Words kept #safe"_s});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        // Well inside the half second after the last key, before the editor saves by itself.
        if (displayDies) {
            ::kill(pid_t(server.processId()), SIGKILL);
            QVERIFY(app.waitForFinished(20000));
        } else {
            terminate(app);
        }
        server.terminate();
        server.waitForFinished();

        const QString path = journalPath(dataHome);
        QCOMPARE(lqtest::queryFile(path, u"SELECT content FROM notes"_s),
                 QVariantList{u"Words kept #safe"_s});
        QCOMPARE(lqtest::queryFile(path, u"SELECT t.name FROM tags t JOIN note_tags l"
                                         u" ON l.tag_id = t.id"_s),
                 QVariantList{u"safe"_s});
    }

    // A note of three million lines keeps the program busy while it opens; a signal still ends
    // it, promptly and with the journal whole.
    void sigterm_endsTheProgram_evenWhileAHugeNoteOpens()
    {
        QTemporaryDir dataHome;
        const QString path = journalPath(dataHome);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        {
            auto journal = Journal::open(path).value();
            journal->setText(journal->noteForDay(QDate::currentDate()).value(),
                             u"x\n"_s.repeated(3000000));
        }
        QProcess app;
        app.setProcessEnvironment(environment(dataHome));
        app.start(QStringLiteral(LQ_BINARY_PATH), {});
        QVERIFY(app.waitForStarted());
        QTest::qWait(500);
        ::kill(pid_t(app.processId()), SIGTERM);
        QVERIFY2(app.waitForFinished(5000), "the program was still running 5 s after SIGTERM");
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(lqtest::queryFile(path, u"PRAGMA integrity_check"_s).value(0), u"ok"_s);
        QCOMPARE(lqtest::queryFile(path, u"SELECT length(content) FROM notes"_s).value(0), 6000000);
    }
};

QTEST_GUILESS_MAIN(AppTest)
#include "tst_app.moc"
