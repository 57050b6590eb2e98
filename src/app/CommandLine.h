#pragma once

#include <optional>

// The runs that need no window: `lumenquill --export DIR` writes the user's journal into DIR
// as plain files, `lumenquill --import DIR` reads such a folder back into it. Both take the
// journal as a launch does, so a journal open in a running LumenQuill is left to it.
//
// Returns the process's exit status when the arguments ask for one of them, and nothing
// when they do not, for the window to start.
std::optional<int> runCommandLine(int argc, char *argv[]);
