#include "lumenquillApp.h"

#include "ContentView.h"
#include "Fatal.h"
#include "model/ModelContainer.h"
#include "model/ModelContext.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QThread>

#include <cstdio>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void forwardSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

LumenquillApp::LumenquillApp(const QString &storePath)
{
    watchTerminationSignals();
    const QString path = storePath.isEmpty() ? ModelContainer::defaultStorePath() : storePath;
    QString error;
    m_sharedModelContainer = ModelContainer::open(path, &error);
    if (!m_sharedModelContainer)
        fatalError(QStringLiteral("Could not create ModelContainer: ") + error);
    m_window = std::make_unique<ContentView>(m_sharedModelContainer->mainContext());
}

LumenquillApp::~LumenquillApp()
{
    m_window.reset();
    m_sharedModelContainer.reset();
}

int LumenquillApp::exec()
{
    m_window->show();
    const int status = QApplication::exec();
    saveBeforeExit();
    return status;
}

// The last chance to save: a journal that stays locked or a full disk gets a few tries,
// and what still cannot be saved is written out as plain text beside the journal.
void LumenquillApp::saveBeforeExit()
{
    constexpr int tries = 3;
    m_window->flushPendingEdits();
    ModelContext *context = m_sharedModelContainer->mainContext();
    for (int attempt = 1; !context->save(); ++attempt) {
        if (attempt == tries) {
            keepUnsavedText();
            return;
        }
        QThread::msleep(500);
    }
}

void LumenquillApp::keepUnsavedText()
{
    ModelContext *context = m_sharedModelContainer->mainContext();
    const QString path =
        QFileInfo(m_sharedModelContainer->path())
            .dir()
            .filePath(
                QStringLiteral("unsaved-%1.txt")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const Note *note : context->unsavedNotes()) {
            file.write(QStringLiteral("# %1\n%2\n\n")
                           .arg(note->day().toString(Qt::ISODate), note->content())
                           .toUtf8());
        }
    }
    const bool kept = file.commit();
    std::fprintf(stderr, "LumenQuill could not save the journal (%s). %s\n",
                 qPrintable(context->lastSaveError()),
                 kept ? qPrintable(QStringLiteral("The unsaved text is kept in ") + path)
                      : "The unsaved text could not be kept either.");
}

// A logout or `kill` sends SIGTERM: turn it into an ordinary quit, so that the text typed
// in the last half second is saved like on any other way out.
void LumenquillApp::watchTerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    m_signalNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
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
