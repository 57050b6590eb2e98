#include "app/SingleInstance.h"

#include "core/JournalDatabase.h"

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>

namespace {

const QString baseName = QStringLiteral("io.github.lumenquill.LumenQuill");
const QString objectPath = QStringLiteral("/io/github/lumenquill/LumenQuill");

// The same for every path to the file, as far as the file or its folder exist.
QString canonicalPath(const QString &path)
{
    const QFileInfo info(path);
    if (const QString canonical = info.canonicalFilePath(); !canonical.isEmpty())
        return canonical;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : QDir(folder).filePath(info.fileName());
}

} // namespace

SingleInstance::SingleInstance(const QString &journalPath, QObject *parent)
    : QObject(parent), m_journalPath(canonicalPath(journalPath)),
      m_serviceName(serviceName(journalPath))
{}

SingleInstance::~SingleInstance()
{
    if (!m_owned && !m_registered)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_owned)
        bus.unregisterService(m_serviceName);
    if (m_registered)
        bus.unregisterObject(objectPath);
}

QString SingleInstance::serviceName(const QString &journalPath)
{
    const QString path = canonicalPath(journalPath);
    if (path == canonicalPath(JournalDatabase::defaultPath()))
        return baseName;
    // A bus name's parts are letters, digits and _, and do not start with a digit.
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
    return baseName + QStringLiteral(".j") + QString::fromLatin1(hash.toHex().left(32));
}

QString SingleInstance::launchToken()
{
    const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return token.isEmpty() ? qEnvironmentVariable("DESKTOP_STARTUP_ID") : token;
}

bool SingleInstance::activateRunning(const QString &activationToken) const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(m_serviceName, objectPath, baseName,
                                                       QStringLiteral("Activate"));
    call << m_journalPath << activationToken;
    const QDBusMessage reply = bus.call(call, QDBus::Block, callTimeout);
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

bool SingleInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    m_registered = bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
    if (!m_registered)
        return false;
    // The calls to the bus itself wait no longer than the ones to another LumenQuill.
    bus.interface()->setTimeout(callTimeout);
    m_owned = bus.registerService(m_serviceName);
    return m_owned;
}

bool SingleInstance::Activate(const QString &journalPath, const QString &activationToken)
{
    if (canonicalPath(journalPath) != m_journalPath)
        return false;
    Q_EMIT activationRequested(activationToken);
    return true;
}
