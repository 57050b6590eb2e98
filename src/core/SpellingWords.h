#pragma once

#include "core/TextSearch.h"

#include <QList>
#include <QStringView>

// The words of a paragraph worth asking a dictionary about, as ranges of the text, in order:
// words as Unicode divides text into them (so "don't" and "don’t" are one word), with at
// least one letter and no digit. Hashtags, web and mail addresses are names rather than
// words and are left out, and so is anything too long to be a word.
//
// A paragraph shown in pieces may begin or end inside a word: with cutAtStart (cutAtEnd),
// the text up to its first (after its last) white space is a part of a word and left out.
QList<TextRange> wordsToSpellCheck(QStringView text, bool cutAtStart = false,
                                   bool cutAtEnd = false);
