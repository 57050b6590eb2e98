#include "app/Application.h"

#include "app/JournalMenu.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/WindowActivation.h"
#include "core/Journal.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QThread>
#include <QWindow>

#include "core/UnsavedWork.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};
// Wakes the watchdog, which outlives any one Application.
int watchdogPipe[2] = {-1, -1};

// The application whose pending text a sudden exit() must still save.
Application *runningApplication = nullptr;
QtMessageHandler defaultMessageHandler = nullptr;

// Qt says that the display is gone just before it ends the process with exit(), while
// everything the save needs is still alive.
void watchForLostDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    defaultMessageHandler(type, context, message);
    if (type == QtWarningMsg && runningApplication &&
        message.contains(QLatin1String("connection broke"))) {
        Application *application = std::exchange(runningApplication, nullptr);
        application->saveBeforeExit();
    }
}

void forwardSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
    [[maybe_unused]] const auto woken = ::write(watchdogPipe[1], &byte, 1);
}

// The event loop ends the program on a signal, saving on the way; but while the program is
// busy for long (opening or pasting a huge text) the loop does not run. Shortly after the
// signal, if nothing unsaved is left, the watchdog ends the process itself.
void startWatchdog()
{
    if (watchdogPipe[0] >= 0 || ::pipe2(watchdogPipe, O_CLOEXEC) != 0)
        return;
    std::thread([] {
        char byte = 0;
        while (::read(watchdogPipe[0], &byte, 1) != 1) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        while (UnsavedWork::anywhere())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::_Exit(EXIT_SUCCESS);
    }).detach();
}

// The journal cannot be used: say why and stop at once. Nothing else runs, so the file is
// left exactly as it was.
[[noreturn]] void stopWith(const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

// Another LumenQuill shows the journal now: this one has nothing more to do.
[[noreturn]] void endHandedOver(const QString &message)
{
    std::fputs(message.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    std::_Exit(EXIT_SUCCESS);
}

} // namespace

Application::Application(const QString &journalPath, const QString &launchToken)
{
    watchTerminationSignals();
    // A file-size limit makes a write fail, which the journal answers like a full disk,
    // instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const QString path = journalPath.isEmpty() ? JournalDatabase::defaultPath() : journalPath;

    // Launched twice at once, both find no one to hand over to; the one that gets the name
    // goes on, and the other hands over to it after all. The journal's lock below still has
    // the last word, when the name's owner does not answer in time.
    m_instance = std::make_unique<SingleInstance>(path);
    if (m_instance->activateRunning(launchToken) ||
        (!m_instance->claim() && m_instance->activateRunning(launchToken)))
        endHandedOver(tr("LumenQuill is already running: its window was brought forward."));
    connect(m_instance.get(), &SingleInstance::activationRequested, this,
            &Application::bringWindowForward);

    auto journal = Journal::open(path);
    if (!journal)
        stopWith(QStringLiteral("Could not create ModelContainer: ") + journal.error());
    m_journal = std::move(journal).value();
    addWindow();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &Application::windowActivated);

    // Qt ends the process with exit() when the display goes away (an X server or a compositor
    // that died, a login that ended without a signal): the text typed just before is saved
    // on the way out.
    runningApplication = this;
    static const bool saveAtExit = [] {
        defaultMessageHandler = qInstallMessageHandler(watchForLostDisplay);
        return std::atexit([] {
                   if (runningApplication)
                       runningApplication->saveBeforeExit();
               }) == 0;
    }();
    Q_UNUSED(saveAtExit);
}

Application::~Application()
{
    runningApplication = nullptr;
    for (MainWindow *window : windows())
        delete window;
    m_windows.clear();
    m_journal.reset();
    m_instance.reset();
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signalNumber, SIG_DFL);
    delete m_signalNotifier;
    for (int &end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

QList<MainWindow *> Application::windows() const
{
    QList<MainWindow *> open;
    for (MainWindow *window : m_windows) {
        if (window)
            open.append(window);
    }
    return open;
}

MainWindow *Application::addWindow()
{
    m_windows.removeAll(nullptr);
    auto *window = new MainWindow(m_journal.get());
    // Closing a window ends it; the program ends with the last one.
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window->journalMenu()->newWindowAction(), &QAction::triggered, this,
            &Application::openWindow);
    m_windows.append(window);
    return window;
}

MainWindow *Application::openWindow()
{
    const QList<MainWindow *> before = windows();
    // The new window starts from the text the others show.
    for (MainWindow *open : before)
        open->saveNow();
    MainWindow *window = addWindow();
    if (!before.isEmpty())
        window->resize(before.last()->size());
    window->show();
    window->activateWindow();
    return window;
}

void Application::windowActivated(QWindow *focusWindow)
{
    for (qsizetype i = 0; i < m_windows.size(); ++i) {
        if (m_windows.at(i) && m_windows.at(i)->windowHandle() == focusWindow) {
            m_windows.move(i, m_windows.size() - 1);
            return;
        }
    }
}

void Application::bringWindowForward(const QString &activationToken)
{
    if (const QList<MainWindow *> open = windows(); !open.isEmpty())
        bringForward(open.last(), activationToken);
}

int Application::exec()
{
    if (const QList<MainWindow *> open = windows(); !open.isEmpty())
        open.first()->show();
    const int status = QApplication::exec();
    saveBeforeExit();
    return status;
}

// The last chance to save: a journal that stays locked or a full disk gets a few tries,
// and what still cannot be saved is written out as plain text beside the journal.
void Application::saveBeforeExit()
{
    constexpr int tries = 3;
    for (MainWindow *window : windows())
        window->saveNow();
    for (int attempt = 1; !m_journal->save(); ++attempt) {
        if (attempt == tries) {
            keepUnsavedText();
            return;
        }
        QThread::msleep(500);
    }
}

// Beside the journal, or in the home folder when the journal's folder is gone or read-only;
// readable by the user alone, like the journal.
void Application::keepUnsavedText()
{
    QByteArray text;
    for (const Note *note : m_journal->unsavedNotes()) {
        text += QStringLiteral("# %1\n%2\n\n")
                    .arg(note->day.toString(Qt::ISODate), note->text.value_or(QString()))
                    .toUtf8();
    }
    const QString name =
        QStringLiteral("unsaved-%1.txt")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path;
    bool kept = false;
    for (const QString &folder : {QFileInfo(m_journal->path()).absolutePath(), QDir::homePath()}) {
        path = QDir(folder).filePath(name);
        QSaveFile file(path);
        kept = file.open(QIODevice::WriteOnly) &&
               file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
               file.write(text) == text.size() && file.commit();
        if (kept)
            break;
    }
    const QString message =
        tr("LumenQuill could not save the journal (%1).").arg(m_journal->saveError()) + u' ' +
        (kept ? tr("The unsaved text is kept in %1").arg(path)
              : tr("The unsaved text could not be kept either."));
    std::fputs(qPrintable(message + u'\n'), stderr);
}

// A logout or `kill` sends SIGTERM: turn it into an ordinary quit, so that the text typed
// in the last half second is saved like on any other way out.
void Application::watchTerminationSignals()
{
    startWatchdog();
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    m_signalNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(m_signalNotifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
}
