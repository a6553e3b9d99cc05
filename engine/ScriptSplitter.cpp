#include "ScriptSplitter.h"

#include <bit>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// The scan compares 16 bytes of code units at a time, and stops only at the characters that
// can matter where it stands: the cost is a few vector operations a block of text, and a few
// more at each stop.
template <typename Unit>
using Lanes [[gnu::vector_size(16)]] = Unit;
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
[[gnu::always_inline]] inline Lanes<Unit> Load(const Unit* from) {
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
// Reads at - 1 to at + 18 bytes.
template <typename Unit>
[[gnu::always_inline]] inline auto CodeStops(const Unit* at) {
    const Lanes<Unit> before = Load(at - 1), c = Load(at), o = Load(at + 1), after = Load(at + 2);
    // Scalars of the lanes' own type: clang 14 crashes on an int against char16_t lanes.
    const Unit lower = 0x20, blank = 32;
    return (((c | lower) == Unit('g')) & ((o | lower) == Unit('o')) & (before <= blank) &
            (after <= blank)) |
           (c == Unit('/')) | (c == Unit('-')) | (c == Unit('\'')) | (c == Unit('"')) |
           (c == Unit('['));
}

// One bit a unit for the 16 units from `at`: whether stops(the lanes from there) holds.
template <typename Unit, typename Stops>
[[gnu::always_inline]] inline std::uint64_t SixteenStops(const Unit* at, Stops stops) {
    const auto mask = [&](qsizetype i) {
        const auto hits = stops(at + i);
        Lanes<std::int8_t> bytes;
        std::memcpy(&bytes, &hits, sizeof bytes);
        return bytes;
    };
#ifdef __SSE2__
    if constexpr (sizeof(Unit) == 1) return _mm_movemask_epi8(__m128i(mask(0)));
    return _mm_movemask_epi8(_mm_packs_epi16(__m128i(mask(0)), __m128i(mask(8))));
#else
    // The top bit of each byte, gathered by one multiplication a word.
    const auto gather = [](Lanes<std::int8_t> bytes) {
        std::uint64_t words[2];
        std::memcpy(words, &bytes, sizeof words);
        for (std::uint64_t& word : words)
            word = ((word & 0x8080808080808080) * 0x0002040810204081) >> 56;
        return words[0] | words[1] << 8;
    };
    if constexpr (sizeof(Unit) == 1) return gather(mask(0));
    const std::uint64_t pairs = gather(mask(0)) | gather(mask(8)) << 16;
    std::uint64_t bits = 0;  // a bit pair a unit
    for (int i = 0; i < 16; ++i) bits |= (pairs >> 2 * i & 1) << i;
    return bits;
#endif
}

// The scan takes the text 64 units at a time: bit i stands for the unit at `at` + i.
constexpr qsizetype kChunk = 64;

template <typename Unit, typename Stops>
[[gnu::always_inline]] inline std::uint64_t ChunkStops(const Text<Unit>& text, qsizetype at,
                                                       Stops stops) {
    Unit window[kChunk + 3];
    const Unit* units = text.units + at;
    if (at < 1 || at + kChunk + 2 > text.size) {
        for (qsizetype i = 0; i < kChunk + 3; ++i) window[i] = text[at - 1 + i];
        units = window + 1;
    }
    std::uint64_t bits = 0;
    for (qsizetype i = 0; i < kChunk; i += 16) bits |= SixteenStops(units + i, stops) << i;
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
            return ChunkStops(text, at, [](const Unit* from) { return CodeStops(from); });
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
        const auto ahead = [&](In kind) {
            if ((known >> kind & 1) == 0) stops[kind] = ChunkStops(text, chunk, kind);
            known |= 1 << kind;
            return stops[kind] >> (at - chunk);
        };
        while (at < chunk + kChunk) {
            // Where only apostrophes matter, each opens or closes a string (a doubled one does
            // both): their count alone says where the rest of the chunk stands.
            if (in == kCode && ahead(kCode) != 0 &&
                text[at + std::countr_zero(ahead(kCode))] == '\'' &&
                (ahead(kCode) & ~ahead(kQuote)) == 0) {
                if (std::popcount(ahead(kQuote)) % 2 == 1) in = kQuote;
                at = chunk + kChunk;
                break;
            }
            const std::uint64_t found = ahead(in);
            if (found == 0) {
                at = chunk + kChunk;
                break;
            }
            at += std::countr_zero(found);
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
