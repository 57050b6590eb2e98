#include "core/JournalTransfer.h"

#include "core/JournalDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qsizetype progressStep = 250;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool makeFolder(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A file the user alone can read, as the journal is; one that exists keeps its permissions.
class OutputFile
{
public:
    explicit OutputFile(const QString &path)
        : m_path(path), m_descriptor(::open(QFile::encodeName(path).constData(),
                                            O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600))
    {
        if (m_descriptor < 0)
            m_error = systemError();
    }
    ~OutputFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    Result<void> write(QByteArrayView bytes)
    {
        while (m_error.isEmpty() && !bytes.isEmpty()) {
            const ssize_t written = ::write(m_descriptor, bytes.data(), size_t(bytes.size()));
            if (written < 0 && errno != EINTR)
                m_error = systemError();
            else if (written > 0)
                bytes = bytes.sliced(written);
        }
        return status();
    }

    Result<void> close()
    {
        if (m_descriptor >= 0 && ::close(m_descriptor) != 0 && m_error.isEmpty())
            m_error = systemError();
        m_descriptor = -1;
        return status();
    }

private:
    Result<void> status() const
    {
        if (m_error.isEmpty())
            return {};
        return Failure{QCoreApplication::translate("JournalTransfer", "cannot write %1: %2")
                           .arg(m_path, m_error)};
    }

    QString m_path;
    int m_descriptor;
    QString m_error;
};

} // namespace

QString exportedDayPath(QDate day)
{
    return day.toString(QStringLiteral("yyyy/MM/")) + day.toString(Qt::ISODate) +
           QStringLiteral(".md");
}

Result<qsizetype> exportJournal(const QString &journalPath, const QString &folder,
                                const std::function<void(qsizetype, qsizetype)> &progress)
{
    const QDir root(folder);
    if (!makeFolder(root.path()))
        return Failure{QCoreApplication::translate("JournalTransfer", "cannot create the folder %1")
                           .arg(folder)};
    auto reader = JournalDatabase::openReader(journalPath);
    if (!reader)
        return reader.failure();
    OutputFile whole(root.filePath(QStringLiteral("journal.md")));
    qsizetype total = 0;
    qsizetype done = 0;
    qsizetype written = 0;
    QString monthFolder;
    Result<void> status;
    const auto walked = (*reader)->forEachNote(
        [&](qsizetype count) { total = count; },
        [&](const NoteRow &note) {
            if (progress && ++done % progressStep == 0)
                progress(done, total);
            // A row whose day was edited into something else has no file to go to.
            if (!note.day.isValid())
                return true;
            const QString path = root.filePath(exportedDayPath(note.day));
            const QString month = QFileInfo(path).path();
            if (month != monthFolder) {
                if (!makeFolder(month)) {
                    status = Failure{QCoreApplication::translate("JournalTransfer",
                                                                 "cannot create the folder %1")
                                         .arg(month)};
                    return false;
                }
                monthFolder = month;
            }
            const QByteArray text = note.text.toUtf8();
            OutputFile day(path);
            status = day.write(text);
            if (status)
                status = day.close();
            if (status && !text.isEmpty()) {
                status =
                    whole.write(QByteArray("# " + note.day.toString(Qt::ISODate).toUtf8() + "\n\n" +
                                           text + (text.endsWith('\n') ? "" : "\n") + "\n"));
            }
            ++written;
            return status.ok();
        });
    if (!walked)
        return walked.failure();
    if (!status)
        return status.failure();
    if (const auto closed = whole.close(); !closed)
        return closed.failure();
    if (progress)
        progress(total, total);
    return written;
}

Result<QList<DayText>> readExportedDays(const QString &folder)
{
    const QDir root(folder);
    if (!root.exists())
        return Failure{
            QCoreApplication::translate("JournalTransfer", "there is no folder %1").arg(folder)};
    static const QRegularExpression dayFile(QStringLiteral("^(\\d{4})-(\\d{2})-\\d{2}\\.md$"));
    QList<DayText> days;
    const auto numbered = [](const QDir &dir, const QString &pattern) {
        return dir.entryList({pattern}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    };
    for (const QString &year : numbered(root, QStringLiteral("[0-9][0-9][0-9][0-9]"))) {
        const QDir yearFolder(root.filePath(year));
        for (const QString &month : numbered(yearFolder, QStringLiteral("[0-9][0-9]"))) {
            const QDir monthFolder(yearFolder.filePath(month));
            for (const QString &name :
                 monthFolder.entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name)) {
                const auto match = dayFile.match(name);
                const QDate day = QDate::fromString(name.chopped(3), Qt::ISODate);
                if (!match.hasMatch() || match.captured(1) != year || match.captured(2) != month ||
                    !day.isValid())
                    continue;
                QFile file(monthFolder.filePath(name));
                if (!file.open(QIODevice::ReadOnly)) {
                    return Failure{
                        QCoreApplication::translate("JournalTransfer", "cannot read %1: %2")
                            .arg(file.fileName(), file.errorString())};
                }
                const QByteArray bytes = file.readAll();
                // A byte-order mark is part of the text as it was written.
                QStringDecoder decoder(QStringDecoder::Utf8,
                                       QStringDecoder::Flag::ConvertInitialBom);
                QString text = decoder(bytes);
                if (decoder.hasError())
                    return Failure{
                        QCoreApplication::translate("JournalTransfer", "%1 is not UTF-8 text")
                            .arg(file.fileName())};
                days.append({day, std::move(text)});
            }
        }
    }
    if (days.isEmpty()) {
        return Failure{
            QCoreApplication::translate(
                "JournalTransfer", "%1 holds no exported days (files named YYYY/MM/YYYY-MM-DD.md)")
                .arg(folder)};
    }
    return days;
}
