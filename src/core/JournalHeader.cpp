#include "core/JournalHeader.h"

#include <QCoreApplication>
#include <QtEndian>

namespace {

QString versionText(int version)
{
    return QStringLiteral("%1.%2.%3")
        .arg(version / 10000)
        .arg(version / 100 % 100)
        .arg(version % 100);
}

} // namespace

Result<JournalHeader> parseJournalHeader(QByteArrayView bytes, qint64 fileSize, bool hasLog,
                                         const QString &path)
{
    if (bytes.size() < JournalHeader::size ||
        !bytes.startsWith(QByteArrayView("SQLite format 3\0", 16))) {
        return Failure{
            bytes.isEmpty()
                ? QCoreApplication::translate("JournalHeader", "%1 is empty, not a journal")
                      .arg(path)
                : QCoreApplication::translate("JournalHeader",
                                              "%1 is not a journal (not an SQLite database)")
                      .arg(path)};
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const quint32 rawPageSize = qFromBigEndian<quint16>(data + 16);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    const quint32 changeCounter = qFromBigEndian<quint32>(data + 24);
    const quint32 pageCount = qFromBigEndian<quint32>(data + 28);
    const quint32 schemaCookie = qFromBigEndian<quint32>(data + 40);
    const quint32 validFor = qFromBigEndian<quint32>(data + 92);
    JournalHeader header;
    header.hasLog = hasLog;
    header.isEmpty = schemaCookie == 0;
    header.version = qFromBigEndian<qint32>(data + 60);
    header.journalId = qFromBigEndian<qint32>(data + 68);
    // While a write-ahead log holds pages, the header may be older than the journal, and only
    // SQLite can tell.
    if (changeCounter == validFor && !hasLog && fileSize < pageSize * pageCount) {
        // One arg() call: chained ones would fill a "%1" in the path itself.
        return Failure{
            QCoreApplication::translate("JournalHeader",
                                        "%1 is truncated: %2 of %3 bytes are there")
                .arg(path, QString::number(fileSize), QString::number(pageSize * pageCount))};
    }
    return header;
}

Result<void> checkJournalVersion(const JournalHeader &header, int supportedVersion,
                                 const QString &path)
{
    if (header.isEmpty)
        return {};
    if (header.journalId != JournalHeader::applicationId)
        return Failure{QCoreApplication::translate("JournalHeader",
                                                   "%1 is an SQLite database but not a journal")
                           .arg(path)};
    if (header.version > supportedVersion) {
        return Failure{
            QCoreApplication::translate("JournalHeader",
                                        "%1 was written by a newer version of LumenQuill (store "
                                        "version %2; this version reads %3 and older)")
                .arg(path, versionText(header.version), versionText(supportedVersion))};
    }
    return {};
}
