#include "core/DailyBackup.h"

#include "core/JournalDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int dailyCopies = 7;
constexpr int weeklyCopies = 4;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

Result<void> syncFile(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        const QString error = systemError();
        if (descriptor >= 0)
            ::close(descriptor);
        return Failure{QCoreApplication::translate("DailyBackup", "cannot write %1 to disk: %2")
                           .arg(path, error)};
    }
    ::close(descriptor);
    return {};
}

void removeExpired(const QDir &folder)
{
    static const QRegularExpression name(
        QStringLiteral("^journal-(\\d{4}-\\d{2}-\\d{2})\\.sqlite$"));
    QList<QDate> days;
    for (const QString &file : folder.entryList(QDir::Files)) {
        const auto match = name.match(file);
        const QDate day =
            match.hasMatch() ? QDate::fromString(match.captured(1), Qt::ISODate) : QDate();
        if (day.isValid())
            days.append(day);
    }
    for (const QDate day : expiredBackups(days))
        QFile::remove(folder.filePath(DailyBackup::fileName(day)));
}

} // namespace

DailyBackup::DailyBackup(const QString &journalPath, QObject *parent)
    : QObject(parent), m_journalPath(journalPath)
{}

DailyBackup::~DailyBackup()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

QString DailyBackup::folder(const QString &journalPath)
{
    return QFileInfo(journalPath).absoluteDir().filePath(QStringLiteral("backups"));
}

QString DailyBackup::fileName(QDate day)
{
    return QStringLiteral("journal-%1.sqlite").arg(day.toString(Qt::ISODate));
}

void DailyBackup::backUpIfDue()
{
    const QDate today = QDate::currentDate();
    if (m_thread || m_triedDay == today ||
        QFileInfo::exists(QDir(folder(m_journalPath)).filePath(fileName(today))))
        return;
    m_triedDay = today;
    auto outcome = std::make_shared<Result<QString>>(Failure{});
    m_thread = QThread::create(
        [outcome, path = m_journalPath, today] { *outcome = backUpJournal(path, today); });
    m_thread->setObjectName(QStringLiteral("journal backup"));
    connect(m_thread, &QThread::finished, this, [this, outcome] {
        m_thread->deleteLater();
        m_thread = nullptr;
        if (!*outcome)
            std::fprintf(stderr, "LumenQuill could not back up the journal: %s\n",
                         qPrintable(outcome->error()));
        Q_EMIT finished(*outcome ? outcome->value() : QString(),
                        *outcome ? QString() : outcome->error());
    });
    // The copy reads the file only: the lowest priority keeps it out of typing's way.
    m_thread->start(QThread::LowestPriority);
}

Result<QString> backUpJournal(const QString &journalPath, QDate day)
{
    const QDir folder(DailyBackup::folder(journalPath));
    if (!QDir().mkpath(folder.path()) ||
        !QFile::setPermissions(folder.path(),
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return Failure{QCoreApplication::translate("DailyBackup", "cannot create the folder %1")
                           .arg(folder.path())};
    }
    const QString target = folder.filePath(DailyBackup::fileName(day));
    // Written under another name and renamed when complete, so that a copy under the dated
    // name is always whole.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    const int created = ::open(QFile::encodeName(partial).constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (created < 0)
        return Failure{QCoreApplication::translate("DailyBackup", "cannot create %1: %2")
                           .arg(partial, systemError())};
    ::close(created);
    Result<void> copied;
    {
        auto reader = JournalDatabase::openReader(journalPath);
        copied = reader ? (*reader)->copyTo(partial) : Result<void>(reader.failure());
    }
    if (copied)
        copied = syncFile(partial);
    if (copied && std::rename(QFile::encodeName(partial).constData(),
                              QFile::encodeName(target).constData()) != 0) {
        copied = Failure{QCoreApplication::translate("DailyBackup", "cannot rename %1: %2")
                             .arg(partial, systemError())};
    }
    if (!copied) {
        QFile::remove(partial);
        return copied.failure();
    }
    removeExpired(folder);
    return target;
}

QList<QDate> expiredBackups(QList<QDate> days)
{
    std::sort(days.begin(), days.end(), std::greater<>());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    const auto mondayOf = [](QDate day) {
        return day.addDays(1 - day.dayOfWeek());
    };
    QList<QDate> expired;
    QList<QDate> weeksKept;
    for (qsizetype i = dailyCopies; i < days.size(); ++i) {
        const QDate day = days.at(i);
        const QDate monday = mondayOf(day);
        // The week of the oldest daily copy has a copy already.
        if (monday != mondayOf(days.at(dailyCopies - 1)) && !weeksKept.contains(monday) &&
            weeksKept.size() < weeklyCopies)
            weeksKept.append(monday);
        else
            expired.append(day);
    }
    return expired;
}
