#include "lumenquillApp.h"

#include "ContentView.h"
#include "Fatal.h"
#include "model/ModelContainer.h"
#include "model/ModelContext.h"

#include <QApplication>
#include <QSocketNotifier>

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
    saveEverything();
    m_window.reset();
    m_sharedModelContainer.reset();
}

int LumenquillApp::exec()
{
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [this] { saveEverything(); });
    m_window->show();
    const int status = QApplication::exec();
    saveEverything();
    return status;
}

void LumenquillApp::saveEverything()
{
    if (m_window)
        m_window->flushPendingEdits();
    if (m_sharedModelContainer)
        m_sharedModelContainer->mainContext()->save();
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
