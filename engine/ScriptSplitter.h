#pragma once

#include <QStringView>
#include <vector>

// Cuts a script into the batches sent to the server, at its "GO" lines. An occurrence of
// "GO" (any case) is a separator when it stands alone on its line, white space (code 32 or
// less) aside: a "go" ending a line of other text, "GO 3" or "GOD" is not cut. The batch is
// everything before the "GO"; the next one starts right after it, with the rest of its line
// and its line end. An empty batch is not returned; a batch of white space is.
// The batches are views into `text`.
std::vector<QStringView> SplitScript(QStringView text);
