#pragma once

#include <QString>
#include <vector>

// The cutting rule step by step, 1-based as it is worded, with no care for speed: the fast
// splitter must give the same batches for every text.
inline std::vector<QString> ReferenceSplit(QString text) {
    const auto blank = [&](qsizetype position) { return text[position - 1].unicode() <= 32; };
    const auto lineEnd = [&](qsizetype position) {
        return text[position - 1] == u'\r' || text[position - 1] == u'\n';
    };
    std::vector<QString> batches;
    qsizetype s = 1;
    for (;;) {
        qsizetype p = text.indexOf(QStringLiteral("GO"), s - 1, Qt::CaseInsensitive) + 1;
        if (p == 0) break;
        bool separator = true;
        for (qsizetype q = p - 1; q >= 1 && !lineEnd(q); --q) separator = separator && blank(q);
        for (qsizetype q = p + 2; q <= text.size() && !lineEnd(q); ++q)
            separator = separator && blank(q);
        if (separator) {
            if (p > 1) batches.push_back(text.left(p - 1));
            text = text.mid(p + 1);
            p = 1;
        }
        s = p + 1;
    }
    if (!text.isEmpty()) batches.push_back(text);
    return batches;
}
