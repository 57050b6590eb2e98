#pragma once

#include "core/Result.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>

// One day's text as it travels in or out of the journal.
struct DayText
{
    QDate day;
    QString text;
};

// Where a day's note lies in an exported folder: "2026/03/2026-03-01.md".
QString exportedDayPath(QDate day);

// Writes the journal's notes into folder as plain files another tool can read: one Markdown
// file per day (exportedDayPath()) holding the note's text exactly as stored, in UTF-8, and
// journal.md with every day that has text under a heading of its own. Files and folders it
// makes can be read by the user alone, like the journal. Reads through a connection of its
// own in one snapshot, so it may run on any thread while the journal is being written;
// progress, when given, hears now and then how many of how many notes are done. Gives the
// number of days written.
Result<qsizetype>
exportJournal(const QString &journalPath, const QString &folder,
              const std::function<void(qsizetype done, qsizetype total)> &progress = {});

// The days of an exported folder with their texts, oldest first: every YYYY/MM/YYYY-MM-DD.md
// in it. Refuses, reading nothing into the journal, a folder without such files and a file
// that is not UTF-8 text.
Result<QList<DayText>> readExportedDays(const QString &folder);
