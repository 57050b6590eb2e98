#pragma once

#include "core/RowId.h"

#include <QDateTime>
#include <QString>

// One distinct hashtag word. Like notes, tags live in the Journal and are shared as const
// pointers; which notes carry a tag is asked of the Journal.
struct Tag
{
    RowId id = 0;
    QString name;
    QDateTime createdAt;
};
