#pragma once

#include "core/Result.h"

#include <QString>

#include <memory>

// Keeps one journal file to one process. The lock is an flock() on the file itself, so no
// other path, symbolic link or hard link to it gets past, and the system lets go of it when
// the process ends, however it ends. It also tells whether the file at the journal's path is
// still the one that was opened.
class JournalLock
{
public:
    // Locks the existing file at path.
    static Result<std::unique_ptr<JournalLock>> take(const QString &path);
    ~JournalLock();
    JournalLock(const JournalLock &) = delete;
    JournalLock &operator=(const JournalLock &) = delete;

    // Fails when the file was deleted, moved away or replaced since it was locked: whatever
    // is written then would reach only a file nobody will open again.
    Result<void> checkStillInPlace() const;

private:
    JournalLock(const QString &path, int descriptor, quint64 device, quint64 inode);

    QString m_path;
    int m_descriptor;
    quint64 m_device;
    quint64 m_inode;
};
