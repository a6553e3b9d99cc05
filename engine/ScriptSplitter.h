#pragma once

#include <QStringView>
#include <vector>

// Cuts a script into the batches sent to the server, at its "GO" separators (any case).
// An occurrence of "GO" is a separator when the character before it is white space (code
// 32 or less; the start of the text counts as white space) and either the second character
// after it is white space too or the text ends within one character after it. The batch is
// everything before the "GO"; the next one starts right after it. A cut at the very first
// character gives an empty batch, which is not returned.
// The batches are views into `text`.
std::vector<QStringView> SplitScript(QStringView text);
