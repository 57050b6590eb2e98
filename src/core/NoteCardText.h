#pragma once

#include <QString>

// A note card's title: the first line of the text once white space and newlines are
// trimmed from both ends of the whole text.
QString firstLine(const QString &text);

// The lines after the title, joined with line feeds and trimmed at both ends; blank lines
// inside stay. A single line gives "".
QString remainingText(const QString &text);
