#include "ScriptSplitter.h"

#include <cstdint>
#include <cstring>

namespace {

// The rule looks only at ASCII characters, so it reads UTF-16 code units and, for
// single-byte and UTF-8 text, bytes the same way.
template <typename Unit>
bool IsBlank(Unit c) {
    return c <= 32;
}
template <typename Unit>
bool IsLineEnd(Unit c) {
    return c == '\r' || c == '\n';
}

// "GO" in any case at `go`, with white space or the text's edge on both sides: what every
// separator has, and few other places.
template <typename Unit>
bool MayBeSeparator(const Unit* text, qsizetype size, qsizetype go) {
    return (text[go] | 0x20) == 'g' && go + 1 < size && (text[go + 1] | 0x20) == 'o' &&
           (go == 0 || IsBlank(text[go - 1])) && (go + 2 >= size || IsBlank(text[go + 2]));
}

// Only white space between the line's start and `go`, and between the "GO" and the line's end.
template <typename Unit>
bool AloneOnItsLine(const Unit* text, qsizetype size, qsizetype go) {
    for (qsizetype i = go; i > 0 && !IsLineEnd(text[i - 1]); --i)
        if (!IsBlank(text[i - 1])) return false;
    for (qsizetype i = go + 2; i < size && !IsLineEnd(text[i]); ++i)
        if (!IsBlank(text[i])) return false;
    return true;
}

// MayBeSeparator for the 16 bytes of code units from `at`, all at once: the scan's cost is
// one pass of a few vector operations over the text; reads at - 1 to at + 2 + lanes - 1.
template <typename Unit>
using Lanes [[gnu::vector_size(16)]] = Unit;
template <typename Unit>
constexpr qsizetype kLanes = 16 / sizeof(Unit);

template <typename Unit>
Lanes<Unit> Load(const Unit* from) {
    Lanes<Unit> lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

template <typename Unit>
bool AnyMayBeSeparator(const Unit* at) {
    const Lanes<Unit> before = Load(at - 1), g = Load(at), o = Load(at + 1), after = Load(at + 2);
    // Scalars of the lanes' own type: clang 14 crashes on an int against char16_t lanes.
    const Unit lower = 0x20, blank = 32;
    const auto hits = ((g | lower) == Unit('g')) & ((o | lower) == Unit('o')) & (before <= blank) &
                      (after <= blank);
    std::uint64_t words[2];
    std::memcpy(words, &hits, sizeof words);
    return (words[0] | words[1]) != 0;
}

// Calls cut(p) for every separator at p, in order.
template <typename Unit, typename Cut>
void ForEachSeparator(const Unit* text, qsizetype size, Cut cut) {
    const auto check = [&](qsizetype from, qsizetype to) {
        for (qsizetype go = from; go < to; ++go)
            if (MayBeSeparator(text, size, go) && AloneOnItsLine(text, size, go)) cut(go);
    };
    // The first position has no character before it, the last ones too few after them.
    qsizetype at = 1;
    check(0, qMin<qsizetype>(at, size));
    for (; at + kLanes<Unit> + 2 <= size; at += kLanes<Unit>)
        if (AnyMayBeSeparator(text + at)) check(at, at + kLanes<Unit>);
    check(at, size);
}

template <typename View, typename Unit>
std::vector<View> Split(View view, const Unit* text) {
    std::vector<View> batches;
    qsizetype start = 0;
    ForEachSeparator(text, view.size(), [&](qsizetype go) {
        if (go > start) batches.push_back(view.sliced(start, go - start));
        start = go + 2;
    });
    if (start < view.size()) batches.push_back(view.sliced(start));
    return batches;
}

}  // namespace

std::vector<QStringView> SplitScript(QStringView text) { return Split(text, text.utf16()); }

std::vector<QByteArrayView> SplitScript(QByteArrayView text) {
    return Split(text, reinterpret_cast<const std::uint8_t*>(text.data()));
}
