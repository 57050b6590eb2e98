#include "app/Application.h"

#include "app/MainWindow.h"
#include "core/Journal.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void forwardSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
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

} // namespace

Application::Application(const QString &journalPath)
{
    watchTerminationSignals();
    auto journal =
        Journal::open(journalPath.isEmpty() ? JournalDatabase::defaultPath() : journalPath);
    if (!journal)
        stopWith(QStringLiteral("Could not create ModelContainer: ") + journal.error());
    m_journal = std::move(journal).value();
    m_window = std::make_unique<MainWindow>(m_journal.get());
}

Application::~Application()
{
    m_window.reset();
    m_journal.reset();
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signalNumber, SIG_DFL);
    delete m_signalNotifier;
    for (int &end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

int Application::exec()
{
    m_window->show();
    const int status = QApplication::exec();
    saveBeforeExit();
    return status;
}

// The last chance to save: a journal that stays locked or a full disk gets a few tries,
// and what still cannot be saved is written out as plain text beside the journal.
void Application::saveBeforeExit()
{
    constexpr int tries = 3;
    m_window->saveNow();
    for (int attempt = 1; !m_journal->save(); ++attempt) {
        if (attempt == tries) {
            keepUnsavedText();
            return;
        }
        QThread::msleep(500);
    }
}

void Application::keepUnsavedText()
{
    const QString path =
        QFileInfo(m_journal->path())
            .dir()
            .filePath(
                QStringLiteral("unsaved-%1.txt")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const Note *note : m_journal->unsavedNotes()) {
            file.write(QStringLiteral("# %1\n%2\n\n")
                           .arg(note->day.toString(Qt::ISODate), note->text.value_or(QString()))
                           .toUtf8());
        }
    }
    const bool kept = file.commit();
    std::fprintf(stderr, "LumenQuill could not save the journal (%s). %s\n",
                 qPrintable(m_journal->saveError()),
                 kept ? qPrintable(QStringLiteral("The unsaved text is kept in ") + path)
                      : "The unsaved text could not be kept either.");
}

// A logout or `kill` sends SIGTERM: turn it into an ordinary quit, so that the text typed
// in the last half second is saved like on any other way out.
void Application::watchTerminationSignals()
{
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
