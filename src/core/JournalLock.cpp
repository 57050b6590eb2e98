#include "core/JournalLock.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The process holding an flock() on the file, as the kernel lists it in /proc/locks:
// "1: FLOCK  ADVISORY  WRITE 1234 fe:01:5678 0 EOF".
qint64 lockHolder(const struct stat &file)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray id = QByteArray::number(major(file.st_dev), 16).rightJustified(2, '0') + ':' +
                          QByteArray::number(minor(file.st_dev), 16).rightJustified(2, '0') + ':' +
                          QByteArray::number(quint64(file.st_ino));
    for (const QByteArray &line : locks.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields.at(1) == "FLOCK" && fields.at(5) == id)
            return fields.at(4).toLongLong();
    }
    return 0;
}

} // namespace

Result<std::unique_ptr<JournalLock>> JournalLock::take(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return Failure{QCoreApplication::translate("JournalLock", "cannot read %1: %2")
                           .arg(path, systemError())};
    struct stat file = {};
    if (::fstat(descriptor, &file) != 0 || ::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        const QString error = systemError();
        ::close(descriptor);
        if (taken) {
            return Failure{
                QCoreApplication::translate("JournalLock",
                                            "%1 is already open in another LumenQuill (process %2)")
                    .arg(path, QString::number(lockHolder(file)))};
        }
        return Failure{
            QCoreApplication::translate("JournalLock", "cannot lock %1: %2").arg(path, error)};
    }
    return std::unique_ptr<JournalLock>(
        new JournalLock(path, descriptor, quint64(file.st_dev), quint64(file.st_ino)));
}

JournalLock::JournalLock(const QString &path, int descriptor, quint64 device, quint64 inode)
    : m_path(path), m_descriptor(descriptor), m_device(device), m_inode(inode)
{}

JournalLock::~JournalLock()
{
    ::close(m_descriptor);
}

Result<void> JournalLock::checkStillInPlace() const
{
    struct stat file = {};
    if (::stat(QFile::encodeName(m_path).constData(), &file) != 0) {
        return Failure{QCoreApplication::translate("JournalLock",
                                                   "the journal file %1 was deleted or moved away")
                           .arg(m_path)};
    }
    if (quint64(file.st_dev) != m_device || quint64(file.st_ino) != m_inode) {
        return Failure{QCoreApplication::translate(
                           "JournalLock", "the journal file %1 was replaced by another file")
                           .arg(m_path)};
    }
    return {};
}
