#pragma once

#include <QString>
#include <QStringView>

// One stretch of a text replaced by another: how two versions of a note differ, found from
// the ends inwards, so that a single edit (a word typed, a paste, a deletion) is exactly the
// change.
struct TextChange
{
    // Where the stretch starts, in both versions.
    qsizetype start = 0;
    // Its length in the older version and in the newer one.
    qsizetype removed = 0;
    qsizetype inserted = 0;

    bool isEmpty() const { return removed == 0 && inserted == 0; }
};

// The one stretch between the longest common start and end of the two texts; it never
// splits a surrogate pair.
TextChange changeBetween(QStringView before, QStringView after);

// Where a place in the older version is in the newer one: before the change it stays, after
// it the text moves by what the change added or took away, and inside it the place goes to
// the end of what was put in.
qsizetype movedOffset(const TextChange &change, qsizetype offset);

// Two edits of the same note, each made without seeing the other: theirs is on disk already,
// mine is what the user has typed since base. Edits in separate places both stay. Typed at
// the same point, or over the same stretch, their version comes first and mine follows, on a
// line of its own unless a space already parts them: nothing typed on either side is lost.
QString mergeEdits(const QString &base, const QString &theirs, const QString &mine);
