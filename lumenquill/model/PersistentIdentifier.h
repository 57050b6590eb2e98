#pragma once

#include <QtGlobal>

// The store's identity of a record: its row id, given at insertion and never reused.
// Record handles are compared by it; the context's identity map makes that the same as
// comparing the handles themselves.
using PersistentIdentifier = qint64;
