// The real lumenquill binary: first launch, stores it must refuse without touching them, and
// text typed just before the process is told to end.

#include "TestEnvironment.h"

#include "model/ModelContainer.h"
#include "model/ModelContext.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString fatalPrefix = QStringLiteral("Could not create ModelContainer: ");

QString storePath(const QTemporaryDir &dataHome)
{
    return dataHome.filePath(QStringLiteral("lumenquill/journal.sqlite"));
}

QProcessEnvironment appEnvironment(const QTemporaryDir &dataHome)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dataHome.path());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("unreadable");
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

bool isSqliteFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// A journal with enough notes that it spans many pages, closed cleanly.
void writeJournal(const QString &path, int notes)
{
    QString error;
    auto container = ModelContainer::open(path, &error);
    QVERIFY2(container, qPrintable(error));
    const QString text = QString(1000, QLatin1Char('x'));
    for (int i = 0; i < notes; ++i)
        container->mainContext()->insert(new Note(QDate(2020, 1, 1).addDays(i).startOfDay(), text));
    QVERIFY(container->mainContext()->save());
}

} // namespace

class AppTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void firstLaunch_createsTheStoreAndQuitsCleanlyOnSigterm();
    void secondLaunch_leavesTheJournalToTheFirst();
    void unusableStore_stopsWithTheMessageAndLeavesTheFile_data();
    void unusableStore_stopsWithTheMessageAndLeavesTheFile();
    void textTypedJustBeforeSigterm_isSavedWithItsTags();
};

void AppTest::firstLaunch_createsTheStoreAndQuitsCleanlyOnSigterm()
{
    QTemporaryDir dataHome;
    QProcess app;
    app.setProcessEnvironment(appEnvironment(dataHome));
    app.start(QStringLiteral(LQ_BINARY_PATH), {});
    QVERIFY(app.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(storePath(dataHome)), 20000);
    QCOMPARE(app.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(app.processId()), SIGTERM);
    QVERIFY(app.waitForFinished(20000));
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QCOMPARE(app.exitCode(), 0);
    // The window opened on today's note, which is kept although nothing was typed.
    QCOMPARE(lqtest::queryFile(storePath(dataHome), QStringLiteral("SELECT day FROM notes")),
             QVariantList{QDate::currentDate().toString(Qt::ISODate)});
}

void AppTest::secondLaunch_leavesTheJournalToTheFirst()
{
    QTemporaryDir dataHome;
    QProcess first;
    first.setProcessEnvironment(appEnvironment(dataHome));
    first.start(QStringLiteral(LQ_BINARY_PATH), {});
    QTRY_VERIFY_WITH_TIMEOUT(isSqliteFile(storePath(dataHome)), 20000);

    QProcess second;
    second.setProcessEnvironment(appEnvironment(dataHome));
    second.start(QStringLiteral(LQ_BINARY_PATH), {});
    QVERIFY(second.waitForFinished(20000));
    QVERIFY(second.exitCode() != 0);
    const QString errors = QString::fromLocal8Bit(second.readAllStandardError());
    QVERIFY2(
        errors.contains(fatalPrefix + storePath(dataHome) + QStringLiteral(" is already open")),
        qPrintable(errors));
    QCOMPARE(first.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(20000));
    QCOMPARE(first.exitCode(), 0);
}

void AppTest::unusableStore_stopsWithTheMessageAndLeavesTheFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not SQLite") << "text"
                                << "not a journal";
    QTest::newRow("empty file") << "empty"
                                << "empty";
    QTest::newRow("truncated") << "truncated"
                               << "truncated";
    QTest::newRow("newer version") << "newer"
                                   << "newer version";
    QTest::newRow("another program's SQLite file") << "foreign"
                                                   << "not a journal";
    QTest::newRow("unreadable") << "unreadable"
                                << "cannot read";
    QTest::newRow("a folder in its place") << "folder"
                                           << "folder";
}

void AppTest::unusableStore_stopsWithTheMessageAndLeavesTheFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dataHome;
    const QString path = storePath(dataHome);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));

    QFile file(path);
    QStringList command{QStringLiteral(LQ_BINARY_PATH)};
    if (kind == QLatin1String("text")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(5000, 'j'));
        file.close();
    } else if (kind == QLatin1String("empty")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
    } else if (kind == QLatin1String("truncated")) {
        writeJournal(path, 300);
        QVERIFY(file.resize(file.size() / 2));
    } else if (kind == QLatin1String("newer")) {
        writeJournal(path, 3);
        lqtest::queryFile(path, QStringLiteral("PRAGMA user_version = 20000"));
    } else if (kind == QLatin1String("foreign")) {
        lqtest::queryFile(path, QStringLiteral("CREATE TABLE bookmarks (url TEXT)"));
    } else if (kind == QLatin1String("unreadable")) {
        writeJournal(path, 3);
        QVERIFY(file.setPermissions(QFileDevice::WriteOwner));
        if (::geteuid() == 0) {
            // Permissions do not bind root: run the app as an unprivileged user instead.
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("setpriv is needed to run the app without root's rights");
            QFile::setPermissions(dataHome.path(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner | QFileDevice::ExeOther |
                                      QFileDevice::ReadOther);
            QFile::setPermissions(QFileInfo(path).absolutePath(),
                                  QFile::permissions(dataHome.path()) | QFileDevice::WriteOther);
            command = QStringList{setpriv, QStringLiteral("--reuid=65534"),
                                  QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                                  QStringLiteral(LQ_BINARY_PATH)};
        }
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    }
    const QByteArray before = fileHash(path);
    const QFileInfo beforeInfo(path);

    QProcess app;
    app.setProcessEnvironment(appEnvironment(dataHome));
    app.start(command.takeFirst(), command);
    QVERIFY(app.waitForFinished(20000));
    const QString errors = QString::fromLocal8Bit(app.readAllStandardError());
    QCOMPARE(app.exitStatus(), QProcess::NormalExit);
    QVERIFY(app.exitCode() != 0);
    const QString fatalLine = errors.section(QLatin1Char('\n'), -2, -2);
    QVERIFY2(fatalLine.startsWith(fatalPrefix), qPrintable(errors));
    QVERIFY2(fatalLine.contains(reason), qPrintable(fatalLine));

    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(fileHash(path), kind == QLatin1String("unreadable") ? fileHash(path) : before);
    QCOMPARE(QFileInfo(path).size(), beforeInfo.size());
    QCOMPARE(QFileInfo(path).isDir(), beforeInfo.isDir());
    QVERIFY(!QFile::exists(path + QStringLiteral("-wal")) || kind == QLatin1String("folder"));
}

void AppTest::textTypedJustBeforeSigterm_isSavedWithItsTags()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xvfb.isEmpty() || xdotool.isEmpty())
        QSKIP("needs Xvfb and xdotool (scripts/setup-debian installs them)");

    int display = 90 + ::getpid() % 500;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
        ++display;
    const QString displayName = QStringLiteral(":%1").arg(display);
    QProcess server;
    server.start(xvfb, {displayName, QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    QVERIFY(server.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)),
                             10000);

    QTemporaryDir dataHome;
    QProcessEnvironment env = appEnvironment(dataHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), displayName);
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(LQ_BINARY_PATH), {});
    QVERIFY(app.waitForStarted());

    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(xdotool,
               {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--name"), QStringLiteral("^LumenQuill$"),
                QStringLiteral("windowfocus"), QStringLiteral("--sync"), QStringLiteral("type"),
                QStringLiteral("--delay"), QStringLiteral("15"),
                QStringLiteral("Words kept #safe")});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    // Well inside the half second after the last key, before the editor saves by itself.
    ::kill(static_cast<pid_t>(app.processId()), SIGTERM);
    QVERIFY(app.waitForFinished(20000));
    QCOMPARE(app.exitCode(), 0);
    server.terminate();
    server.waitForFinished();

    const QString path = storePath(dataHome);
    QCOMPARE(lqtest::queryFile(path, QStringLiteral("SELECT content FROM notes")),
             QVariantList{QStringLiteral("Words kept #safe")});
    QCOMPARE(lqtest::queryFile(path, QStringLiteral("SELECT t.name FROM tags t JOIN note_tags l ON"
                                                    " l.tag_id = t.id")),
             QVariantList{QStringLiteral("safe")});
}

QTEST_GUILESS_MAIN(AppTest)
#include "tst_app.moc"
