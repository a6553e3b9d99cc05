#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <vector>

// The first of `needles` in `text` from `from`, or -1. (Regular expressions fail on the lone
// surrogates scripts may hold.)
inline qsizetype ReferenceFirst(const QString& text, qsizetype from, const QStringList& needles) {
    qsizetype first = -1;
    for (const QString& needle : needles)
        if (const qsizetype at = text.indexOf(needle, from); at >= 0 && (first < 0 || at < first))
            first = at;
    return first;
}

// Where the comment or quoted text opened at `from` (0-based) ends, past its last character,
// each found as it is worded: a line comment runs to its line's end; block comments nest; a
// closing quote or bracket doubled stands for itself. One left open runs to the text's end.
inline qsizetype ReferenceEnd(const QString& text, qsizetype from) {
    const auto found = [&](qsizetype at) { return at < 0 ? text.size() : at; };
    if (text.mid(from, 2) == u"--")
        return found(ReferenceFirst(text, from + 2, {QStringLiteral("\r"), QStringLiteral("\n")}));
    if (text.mid(from, 2) == u"/*") {
        qsizetype at = from + 2;
        for (int depth = 1; depth > 0 && at < text.size(); at += 2) {
            const qsizetype open = found(text.indexOf(u"/*", at)), close = text.indexOf(u"*/", at);
            if (close < 0) return text.size();
            at = qMin(open, close);
            depth += at == open ? 1 : -1;
        }
        return qMin(at, text.size());
    }
    const QChar closer = text[from] == u'[' ? u']' : text[from];
    for (qsizetype at = from + 1;; at += 2) {
        at = found(text.indexOf(closer, at));
        if (at + 1 >= text.size() || text[at + 1] != closer) return qMin(at + 1, text.size());
    }
}

// The cutting rule step by step, 1-based as it is worded, with no care for speed: the fast
// splitter must give the same batches for every text.
inline std::vector<QString> ReferenceSplit(QString text) {
    // Which characters lie in a comment or quoted text: a "GO" there is text.
    QList<bool> inside(text.size(), false);
    const QStringList opening = QStringLiteral("--|/*|'|\"|[").split(u'|');
    for (qsizetype at = ReferenceFirst(text, 0, opening); at >= 0;
         at = ReferenceFirst(text, at, opening)) {
        const qsizetype end = ReferenceEnd(text, at);
        std::fill(inside.begin() + at, inside.begin() + end, true);
        at = end;
    }
    const auto blank = [&](qsizetype position) { return text[position - 1].unicode() <= 32; };
    const auto lineEnd = [&](qsizetype position) {
        return text[position - 1] == u'\r' || text[position - 1] == u'\n';
    };
    std::vector<QString> batches;
    qsizetype s = 1;
    for (;;) {
        qsizetype p = text.indexOf(QStringLiteral("GO"), s - 1, Qt::CaseInsensitive) + 1;
        if (p == 0) break;
        bool separator = !inside[p - 1];
        for (qsizetype q = p - 1; q >= 1 && !lineEnd(q); --q) separator = separator && blank(q);
        for (qsizetype q = p + 2; q <= text.size() && !lineEnd(q); ++q)
            separator = separator && blank(q);
        if (separator) {
            if (p > 1) batches.push_back(text.left(p - 1));
            text = text.mid(p + 1);
            inside = inside.mid(p + 1);
            p = 1;
        }
        s = p + 1;
    }
    if (!text.isEmpty()) batches.push_back(text);
    return batches;
}
