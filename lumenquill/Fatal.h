#pragma once

#include <QString>

// Ends the process at once for one of the two failures the journal cannot go on after.
// The message goes to standard error; nothing else runs, so the store file is left as is.
[[noreturn]] void fatalError(const QString &message);
