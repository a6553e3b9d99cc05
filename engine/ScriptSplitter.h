#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <vector>

// Cuts a script into the batches sent to the server, at its "GO" lines. An occurrence of
// "GO" (any case) is a separator when it stands alone on its line, white space (code 32 or
// less) aside: a "go" ending a line of other text, "GO 3" or "GOD" is not cut. A "GO" inside a
// comment (/* */, which nest, or -- to the line's end) or quoted text ('...', "..." or [...],
// the closing character doubled inside) is text, as the server reads it; a construct left open
// keeps the rest of the script. The batch is everything before the "GO"; the next one starts
// right after it, with the rest of its line and its line end. An empty batch is not returned; a
// batch of white space is. The batches are views into `text`.
std::vector<QStringView> SplitScript(QStringView text);

// The same cut on the bytes of single-byte or UTF-8 text, where every character the rule
// looks at is one ASCII byte: the batches are cut before they are decoded.
std::vector<QByteArrayView> SplitScript(QByteArrayView text);
