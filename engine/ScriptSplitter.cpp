#include "ScriptSplitter.h"

namespace {

bool IsBlank(QChar c) { return c.unicode() <= 32; }

}  // namespace

std::vector<QStringView> SplitScript(QStringView text) {
    std::vector<QStringView> batches;
    qsizetype from = 0;
    for (;;) {
        const qsizetype go = text.indexOf(u"GO", from, Qt::CaseInsensitive);
        if (go < 0) break;
        // A word ending in "go" at the end of the text is not a separator: cutting it would
        // send a different statement.
        const bool separator =
            (go == 0 || IsBlank(text[go - 1])) && (go + 3 >= text.size() || IsBlank(text[go + 3]));
        if (separator) {
            if (go > 0) batches.push_back(text.first(go));
            text = text.sliced(go + 2);
            // The search resumes at the second character after the cut.
            from = 1;
        } else {
            from = go + 1;
        }
    }
    if (!text.isEmpty()) batches.push_back(text);
    return batches;
}
