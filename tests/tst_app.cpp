// The real lumenquill binary: first launch, a journal it must refuse with the fatal message,
// text typed just before the process is told to end, export and import without a window, and
// a second launch on the same journal.

#include "TestEnvironment.h"

#include "core/Journal.h"

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
    // No session bus unless a test starts one: the desktop's own stays out of the tests.
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, u"unix:path="_s + dataHome.filePath(u"no-bus"_s));
    // Settings and the spelling's personal word list, away from the user's.
    env.insert(u"XDG_CONFIG_HOME"_s, dataHome.path());
    if (!env.contains(u"QT_QPA_PLATFORM"_s))
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    return env;
}

// Starts the program in env.
void launch(QProcess &app, const QProcessEnvironment &env, const QStringList &arguments = {})
{
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(LQ_BINARY_PATH), arguments);
}

bool isSqliteFile(const QString &path)
{
    return lqtest::fileBytes(path).startsWith(QByteArray("SQLite format 3\0", 16));
}

// Writes a file, and the folders it needs.
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size();
}

// Starts Xvfb on a free display; gives env with the program's windows on it, or an empty
// environment when Xvfb or xdotool is missing.
QProcessEnvironment onDisplay(QProcess &server, QProcessEnvironment env)
{
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
        return {};
    int display = 90 + ::getpid() % 500;
    while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)))
        ++display;
    server.start(xvfb, {u":%1"_s.arg(display), u"-screen"_s, u"0"_s, u"1280x800x24"_s,
                        u"-nolisten"_s, u"tcp"_s});
    for (int wait = 0; wait < 200 && !QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(display)); ++wait)
        QTest::qWait(50);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    env.insert(u"DISPLAY"_s, u":%1"_s.arg(display));
    return env;
}

// What xdotool prints for the arguments, trimmed.
QString xdotool(const QProcessEnvironment &env, const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(QStandardPaths::findExecutable(u"xdotool"_s), arguments);
    tool.waitForFinished(30000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
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

    // The journal is private and goes nowhere: the program, from start to SIGTERM, never
    // makes a socket of an internet family (the X server, D-Bus and the like are local).
    void aWholeRun_opensNoNetworkSocket()
    {
        const QString strace = QStandardPaths::findExecutable(u"strace"_s);
        if (strace.isEmpty())
            QSKIP("strace is not installed (scripts/setup-debian installs it)");
        QTemporaryDir dataHome;
        const QString trace = dataHome.filePath(u"trace"_s);
        QProcess traced;
        traced.setProcessEnvironment(environment(dataHome));
        traced.start(strace, {u"-f"_s, u"-qq"_s, u"-e"_s, u"trace=%network"_s, u"-o"_s, trace,
                              QStringLiteral(LQ_BINARY_PATH)});
        QVERIFY(traced.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(
            isSqliteFile(journalPath(dataHome)) || traced.state() != QProcess::Running, 30000);
        QFile children(u"/proc/%1/task/%1/children"_s.arg(traced.processId()));
        if (traced.state() != QProcess::Running || !children.open(QIODevice::ReadOnly))
            QSKIP(qPrintable(u"strace cannot trace here: "_s + traced.readAllStandardError()));
        ::kill(pid_t(children.readAll().trimmed().toLongLong()), SIGTERM);
        QVERIFY(traced.waitForFinished(20000));
        QCOMPARE(traced.exitCode(), 0);
        const QByteArray calls = lqtest::fileBytes(trace);
        // The pair that carries termination signals into the event loop: the trace works.
        QVERIFY2(calls.contains("socketpair(AF_UNIX"), calls.constData());
        for (const char *family : {"AF_INET,", "AF_INET6,", "AF_PACKET,"})
            QVERIFY2(!calls.contains(family), calls.constData());
    }

    // The first launch creates the journal with today's note; a journal is refused when its
    // file is empty, so the first launch must never leave one behind: killed at any moment of
    // it, the next launch finds either no journal or one that opens.
    void firstLaunch_createsAJournal_thatOpensWhenEverItIsKilled()
    {
        // How long the journal takes to appear here, to spread the kills over it.
        qint64 appearsAfter = 0;
        {
            QTemporaryDir dataHome;
            QProcess app;
            QElapsedTimer clock;
            clock.start();
            launch(app, environment(dataHome));
            QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(journalPath(dataHome)), 20000);
            appearsAfter = clock.nsecsElapsed() / 1000;
            terminate(app);
            QCOMPARE(lqtest::queryFile(journalPath(dataHome), u"SELECT day FROM notes"_s),
                     QVariantList{QDate::currentDate().toString(Qt::ISODate)});
        }
        constexpr int kills = 60;
        for (int i = 0; i < kills; ++i) {
            QTemporaryDir dataHome;
            QProcess app;
            launch(app, environment(dataHome));
            const auto delay = static_cast<unsigned long>(appearsAfter * 3 / 2 * i / kills);
            QThread::usleep(delay);
            ::kill(pid_t(app.processId()), SIGKILL);
            QVERIFY(app.waitForFinished(20000));
            const QString path = journalPath(dataHome);
            if (!QFile::exists(path))
                continue;
            const auto reopened = Journal::open(path);
            QVERIFY2(reopened,
                     qPrintable(u"killed after %1 us: %2"_s.arg(delay).arg(reopened.error())));
        }
    }

    // The reason is in the user's language, for the window and for the command line alike.
    void unusableJournal_stopsWithTheMessage_andLeavesTheFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<QString>("reason");
        QTest::newRow("Empty, in German")
            << QByteArray() << u"de_DE.UTF-8"_s << false << u"ist leer, kein Tagebuch"_s;
        QTest::newRow("Not SQLite, exported in German")
            << QByteArray(5000, 'j') << u"de_DE.UTF-8"_s << true
            << u"ist kein Tagebuch (keine SQLite-Datenbank)"_s;
    }

    void unusableJournal_stopsWithTheMessage_andLeavesTheFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, language);
        QFETCH(bool, exporting);
        QFETCH(QString, reason);
        QTemporaryDir dataHome;
        const QString path = journalPath(dataHome);
        QVERIFY(writeFile(path, content));
        QProcessEnvironment env = environment(dataHome);
        env.insert(u"LC_ALL"_s, language);
        env.remove(u"LANGUAGE"_s);
        QProcess app;
        launch(app, env,
               exporting ? QStringList{u"--export"_s, dataHome.filePath(u"out"_s)} : QStringList());
        QVERIFY(app.waitForFinished(20000));
        QCOMPARE(app.exitCode(), 1);
        const QString errors = QString::fromLocal8Bit(app.readAllStandardError()).trimmed();
        QCOMPARE(errors.section(u'\n', -1),
                 u"Could not create ModelContainer: "_s + path + u' ' + reason);
        QCOMPARE(lqtest::fileBytes(path), content);
        QVERIFY(!QFile::exists(path + u"-wal"_s));
    }

    void readOnlyFolder_stopsWithAMessageThatSaysSo()
    {
        QTemporaryDir dataHome;
        const QString folder = QFileInfo(journalPath(dataHome)).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        // Root is not stopped by permissions: for it the folder is made immutable.
        const bool root = ::geteuid() == 0;
        const auto setReadOnly = [&](bool readOnly) {
            if (root)
                return QProcess::execute(u"chattr"_s, {readOnly ? u"+i"_s : u"-i"_s, folder}) == 0;
            return QFile::setPermissions(folder,
                                         QFile::ReadOwner | QFile::ExeOwner |
                                             (readOnly ? QFile::Permissions() : QFile::WriteOwner));
        };
        if (!setReadOnly(true))
            QSKIP("this file system cannot make the folder read-only");
        QProcess app;
        launch(app, environment(dataHome));
        const bool finished = app.waitForFinished(20000);
        QVERIFY(setReadOnly(false));
        QVERIFY(finished);
        QCOMPARE(app.exitCode(), 1);
        const QString errors = QString::fromLocal8Bit(app.readAllStandardError());
        QVERIFY2(errors.contains(
                     u"the folder %1 is not writable, and the journal needs it"_s.arg(folder)),
                 qPrintable(errors));
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
        const QByteArray text("Imported \xc3\xa9 #cli\r\n");
        QVERIFY(writeFile(folder.filePath(u"2026/03/2026-03-01.md"_s), text));
        QProcess running;
        if (held) {
            launch(running, environment(dataHome));
            QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(path), 20000);
        }
        // No display at all: a window could not even be tried.
        QProcessEnvironment env = environment(dataHome);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        const auto run = [&](const QStringList &arguments) {
            QProcess cli;
            launch(cli, env, arguments);
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
            QCOMPARE(lqtest::storedText(path, u"2026-03-01"_s), QString());
            return;
        }
        QCOMPARE(imported.first, 0);
        QVERIFY2(imported.second.contains(u"1 new"_s), qPrintable(imported.second));
        QCOMPARE(lqtest::storedText(path, u"2026-03-01"_s), u"Imported é #cli\r\n"_s);
        QCOMPARE(run({u"--export"_s, folder.filePath(u"out"_s)}).first, 0);
        QCOMPARE(lqtest::fileBytes(folder.filePath(u"out/2026/03/2026-03-01.md"_s)), text);
        QCOMPARE(run({u"--export"_s}).first, 2);
        const auto help = run({u"--help"_s, u"--export"_s, folder.filePath(u"again"_s)});
        QCOMPARE(help.first, 0);
        QVERIFY2(help.second.contains(u"--import <DIR>"_s), qPrintable(help.second));
        QVERIFY(!QFile::exists(folder.filePath(u"again"_s)));
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
        QTemporaryDir dataHome;
        QProcess server;
        const QProcessEnvironment env = onDisplay(server, environment(dataHome));
        if (env.isEmpty())
            QSKIP("needs Xvfb and xdotool (scripts/setup-debian installs them)");
        QProcess app;
        launch(app, env);
        xdotool(env, {u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--class"_s, u"^lumenquill$"_s,
                      u"windowfocus"_s, u"--sync"_s, u"type"_s, u"--delay"_s, u"15"_s,
                      u"Words kept #safe"_s});
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

    void launchedAgain_bringsTheRunningWindowForward_orMeetsTheLock_data()
    {
        QTest::addColumn<QString>("bus");
        QTest::newRow("On a session bus the running window comes forward") << u"bus"_s;
        QTest::newRow("When the running one does not answer the lock refuses") << u"stopped"_s;
    }

    void launchedAgain_bringsTheRunningWindowForward_orMeetsTheLock()
    {
        QFETCH(QString, bus);
        const QString daemon = QStandardPaths::findExecutable(u"dbus-daemon"_s);
        QTemporaryDir dataHome;
        QProcess server;
        QProcessEnvironment env = onDisplay(server, environment(dataHome));
        if (daemon.isEmpty() || env.isEmpty())
            QSKIP("needs dbus-daemon, Xvfb and xdotool (scripts/setup-debian installs them)");
        QProcess busDaemon;
        busDaemon.start(daemon, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        QVERIFY(busDaemon.waitForReadyRead(10000));
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
                   QString::fromLocal8Bit(busDaemon.readLine()).trimmed());
        QProcess first;
        launch(first, env);
        const QString window = xdotool(
            env, {u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--class"_s, u"^lumenquill$"_s});
        QVERIFY(!window.isEmpty());
        QVERIFY(xdotool(env, {u"getwindowfocus"_s}) != window);
        if (bus == u"stopped")
            ::kill(pid_t(first.processId()), SIGSTOP);

        QProcess second;
        env.insert(u"DESKTOP_STARTUP_ID"_s, u"test-launch_TIME0"_s);
        launch(second, env);
        QVERIFY2(second.waitForFinished(20000), "the second launch did not end");
        if (bus == u"bus") {
            QCOMPARE(second.exitCode(), 0);
            QVERIFY(second.readAllStandardOutput().contains("window was brought forward"));
            QTRY_COMPARE_WITH_TIMEOUT(xdotool(env, {u"getwindowfocus"_s}), window, 10000);
        } else {
            QCOMPARE(second.exitCode(), 1);
            QVERIFY(QString::fromLocal8Bit(second.readAllStandardError())
                        .contains(u"already open in another LumenQuill (process %1)"_s.arg(
                            first.processId())));
            ::kill(pid_t(first.processId()), SIGCONT);
        }
        terminate(first);
        busDaemon.terminate();
        busDaemon.waitForFinished();
        server.terminate();
        server.waitForFinished();
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
        launch(app, environment(dataHome));
        QVERIFY(app.waitForStarted());
        // Once the program handles the signal (before it opens the journal), while it loads.
        const auto handlesSigterm = [&app] {
            QFile status(u"/proc/%1/status"_s.arg(app.processId()));
            if (!status.open(QIODevice::ReadOnly))
                return false;
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.startsWith("SigCgt:"))
                    return ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) &
                            1) != 0;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(handlesSigterm(), 20000);
        QTest::qWait(200);
        ::kill(pid_t(app.processId()), SIGTERM);
        QVERIFY2(app.waitForFinished(5000), "the program was still running 5 s after SIGTERM");
        QCOMPARE(app.exitCode(), 0);
        QCOMPARE(lqtest::queryFile(path, u"PRAGMA integrity_check"_s).value(0), u"ok"_s);
        QCOMPARE(lqtest::queryFile(path, u"SELECT length(content) FROM notes"_s).value(0), 6000000);
    }
};

QTEST_GUILESS_MAIN(AppTest)
#include "tst_app.moc"
