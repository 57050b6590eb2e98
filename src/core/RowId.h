#pragma once

#include <QtGlobal>

// A record's row id in the journal file. SQLite gives it when the row is first written and
// never hands it out again, also after the row is deleted; 0 stands for "not written yet".
using RowId = qint64;
