#pragma once

#include "core/Result.h"

#include <QByteArrayView>
#include <QString>

// What the first bytes of a journal file say about it.
struct JournalHeader
{
    // SQLite's header: the first 100 bytes of the file.
    static constexpr int size = 100;
    // "LQJ1": marks an SQLite file as a LumenQuill journal.
    static constexpr int applicationId = 0x4C514A31;

    bool hasLog = false;
    bool isEmpty = false;
    int journalId = 0;
    int version = 0;
};

// Reads the header of the file at path, of fileSize bytes, beginning with bytes; hasLog says
// whether a write-ahead log lies beside it. Refuses what is not an SQLite file and a file
// shorter than its header says, unless the log may hold the rest.
Result<JournalHeader> parseJournalHeader(QByteArrayView bytes, qint64 fileSize, bool hasLog,
                                         const QString &path);

// Refuses another program's SQLite file and a journal newer than supportedVersion.
Result<void> checkJournalVersion(const JournalHeader &header, int supportedVersion,
                                 const QString &path);
