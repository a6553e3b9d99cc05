#include "ScriptSplitter.h"

namespace {

bool IsBlank(QChar c) { return c.unicode() <= 32; }
bool IsLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Only white space between the line's start and `go`, and between the "GO" and the line's end.
bool AloneOnItsLine(QStringView text, qsizetype go) {
    for (qsizetype i = go; i > 0 && !IsLineEnd(text[i - 1]); --i)
        if (!IsBlank(text[i - 1])) return false;
    for (qsizetype i = go + 2; i < text.size() && !IsLineEnd(text[i]); ++i)
        if (!IsBlank(text[i])) return false;
    return true;
}

}  // namespace

std::vector<QStringView> SplitScript(QStringView text) {
    std::vector<QStringView> batches;
    qsizetype start = 0;
    for (qsizetype go = text.indexOf(u"GO", 0, Qt::CaseInsensitive); go >= 0;
         go = text.indexOf(u"GO", go + 1, Qt::CaseInsensitive)) {
        if (!AloneOnItsLine(text, go)) continue;
        if (go > start) batches.push_back(text.sliced(start, go - start));
        start = go + 2;
    }
    if (start < text.size()) batches.push_back(text.sliced(start));
    return batches;
}
