#pragma once

#include <QString>

// The text's case folding, as keys and name order compare it. Paths are mostly ASCII, which
// folds without Unicode tables; a text without capitals is shared rather than copied.
inline QString FoldCase(const QString& text) {
    const auto capital = [](QChar c) { return c >= u'A' && c <= u'Z'; };
    bool ascii = true;
    bool capitals = false;
    for (const QChar c : text) {
        ascii &= c.unicode() < 0x80;
        capitals |= capital(c);
    }
    if (!ascii) return text.toCaseFolded();
    if (!capitals) return text;
    QString folded = text;
    for (QChar& c : folded)
        if (capital(c)) c = QChar(c.unicode() + 32);
    return folded;
}
