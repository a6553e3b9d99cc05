#include "ScriptSplitter.h"

#include <bit>
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

// The scan reads 16 bytes of code units at a time and stops only at the characters that can
// matter where it stands, so that its cost is a few vector operations a block of text.
template <typename Unit>
using Lanes [[gnu::vector_size(16)]] = Unit;
template <typename Unit>
constexpr qsizetype kLanes = 16 / sizeof(Unit);
static_assert(std::endian::native == std::endian::little, "lane 0 is the low bits of a word");

template <typename Unit>
struct Text {
    const Unit* units;
    qsizetype size;

    // Units past either edge read as NUL: white space to the rule, and none of the characters
    // the scan stops at.
    Unit operator[](qsizetype at) const { return at >= 0 && at < size ? units[at] : 0; }
};

template <typename Unit>
Lanes<Unit> Load(const Unit* from) {
    Lanes<Unit> lanes;
    std::memcpy(&lanes, from, sizeof lanes);
    return lanes;
}

// Only white space between the line's start and `go`, and between the "GO" and the line's end.
template <typename Unit>
bool AloneOnItsLine(const Text<Unit>& text, qsizetype go) {
    for (qsizetype i = go; i > 0 && !IsLineEnd(text[i - 1]); --i)
        if (!IsBlank(text[i - 1])) return false;
    for (qsizetype i = go + 2; i < text.size && !IsLineEnd(text[i]); ++i)
        if (!IsBlank(text[i])) return false;
    return true;
}

// Outside comments and quotes: "GO" in any case with white space or the text's edge on both
// sides (what every separator has, and few other places), or what opens a comment or quote.
// Reads at - 1 to at + 2 + lanes - 1.
template <typename Unit>
auto CodeStops(const Unit* at) {
    const Lanes<Unit> before = Load(at - 1), c = Load(at), o = Load(at + 1), after = Load(at + 2);
    // Scalars of the lanes' own type: clang 14 crashes on an int against char16_t lanes.
    const Unit lower = 0x20, blank = 32;
    return (((c | lower) == Unit('g')) & ((o | lower) == Unit('o')) & (before <= blank) &
            (after <= blank)) |
           (c == Unit('/')) | (c == Unit('-')) | (c == Unit('\'')) | (c == Unit('"')) |
           (c == Unit('['));
}

// One bit a lane: the top bit of each lane, gathered by one multiplication a word.
template <typename Hits>
std::uint64_t LaneBits(Hits hits) {
    std::uint64_t words[2];
    std::memcpy(words, &hits, sizeof words);
    if constexpr (sizeof hits[0] == 1) {
        const auto gather = [](std::uint64_t w) {
            return ((w & 0x8080808080808080) * 0x0002040810204081) >> 56;
        };
        return gather(words[0]) | gather(words[1]) << 8;
    } else {
        const auto gather = [](std::uint64_t w) {
            return (((w >> 15) & 0x0001000100010001) * 0x0001000200040008) >> 48;
        };
        return gather(words[0]) | gather(words[1]) << 4;
    }
}

// The scan takes the text 64 units at a time: bit i stands for the unit at `at` + i.
constexpr qsizetype kChunk = 64;

template <typename Unit, typename Stops>
std::uint64_t ChunkStops(const Text<Unit>& text, qsizetype at, Stops stops) {
    Unit window[kChunk + 3];
    const Unit* units = text.units + at;
    if (at < 1 || at + kChunk + 2 > text.size) {
        for (qsizetype i = 0; i < kChunk + 3; ++i) window[i] = text[at - 1 + i];
        units = window + 1;
    }
    std::uint64_t bits = 0;
    for (qsizetype i = 0; i < kChunk; i += kLanes<Unit>) bits |= LaneBits(stops(units + i)) << i;
    return bits;
}

// Where the scan stands, and so which characters it stops at.
enum In { kCode, kLineComment, kBlockComment, kQuote, kDoubleQuote, kBracket, kKinds };

template <typename Unit>
std::uint64_t ChunkStops(const Text<Unit>& text, qsizetype at, In in) {
    const auto either = [](Unit a, Unit b) {
        return [a, b](const Unit* from) {
            const Lanes<Unit> c = Load(from);
            return (c == a) | (c == b);
        };
    };
    switch (in) {
        case kCode:
            return ChunkStops(text, at, CodeStops<Unit>);
        case kLineComment:
            return ChunkStops(text, at, either('\r', '\n'));
        case kBlockComment:
            return ChunkStops(text, at, either('/', '*'));
        case kQuote:
            return ChunkStops(text, at, either('\'', '\''));
        case kDoubleQuote:
            return ChunkStops(text, at, either('"', '"'));
        default:
            return ChunkStops(text, at, either(']', ']'));
    }
}

// Calls cut(p) for every separator at p, in order.
template <typename Unit, typename Cut>
void ForEachSeparator(const Text<Unit>& text, Cut cut) {
    In in = kCode;
    qsizetype depth = 0;  // of nested block comments
    qsizetype at = 0;
    for (qsizetype chunk = 0; chunk < text.size; chunk += kChunk) {
        std::uint64_t stops[kKinds];
        unsigned known = 0;  // the kinds whose stops in this chunk are computed
        while (at < chunk + kChunk) {
            if ((known >> in & 1) == 0) stops[in] = ChunkStops(text, chunk, in), known |= 1 << in;
            const std::uint64_t ahead = stops[in] >> (at - chunk);
            if (ahead == 0) {
                at = chunk + kChunk;
                break;
            }
            at += std::countr_zero(ahead);
            const Unit c = text[at], next = text[at + 1];
            qsizetype step = 1;
            if (in == kCode) {
                if ((c | 0x20) == 'g') {
                    if (AloneOnItsLine(text, at)) cut(at);
                    step = 2;
                } else if (c == '/' && next == '*') {
                    in = kBlockComment, depth = 1, step = 2;
                } else if (c == '-' && next == '-') {
                    in = kLineComment, step = 2;
                } else if (c != '/' && c != '-') {
                    in = c == '\'' ? kQuote : c == '"' ? kDoubleQuote : kBracket;
                }
            } else if (in == kLineComment) {
                in = kCode;
            } else if (in == kBlockComment) {
                if (c == '/' && next == '*') {
                    ++depth, step = 2;
                } else if (c == '*' && next == '/') {
                    if (--depth == 0) in = kCode;
                    step = 2;
                }
            } else if (next == c) {
                step = 2;  // a closing character doubled stands for itself
            } else {
                in = kCode;
            }
            at += step;
        }
    }
}

template <typename View, typename Unit>
std::vector<View> Split(View view, const Unit* units) {
    std::vector<View> batches;
    qsizetype start = 0;
    ForEachSeparator(Text<Unit>{units, view.size()}, [&](qsizetype go) {
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
