#pragma once

#include <QStringView>
#include <vector>

// Cuts a script into the batches sent to the server, at its "GO" separators (any case).
// An occurrence of "GO" is a separator when it ends the text or is followed by one more
// character only, or when the character before it and the second character after it are
// both white space (code 32 or less); the start of the text counts as white space. The
// batch is everything before the "GO"; the next one starts right after it. A cut at the
// very first character gives an empty batch, which is not returned.
// The batches are views into `text`.
std::vector<QStringView> SplitScript(QStringView text);
