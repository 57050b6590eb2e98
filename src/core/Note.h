#pragma once

#include "core/RowId.h"

#include <QDate>
#include <QString>

#include <optional>

// The text written for one calendar day. The day is a calendar day, not an instant, so a
// note stays on its day when the user changes time zone.
//
// Notes live in the Journal, one record per row; everything else holds const pointers, so
// pointer equality is record identity, and only the Journal changes a note.
struct Note
{
    RowId id = 0;
    QDate day;
    // Absent until read: a tag's notes are listed without their texts.
    std::optional<QString> text;
};

// Texts that differ only in their Unicode normalisation are the same text to the user.
inline bool sameText(const QString &a, const QString &b)
{
    return a == b ||
           a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}
