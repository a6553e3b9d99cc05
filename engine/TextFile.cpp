#include "TextFile.h"

#include <QStringDecoder>

#include "Disk.h"

namespace {

// Windows-1252 is Latin-1 but for 0x80 to 0x9F; its five unassigned codes stay as they are.
constexpr char16_t kWindows1252From0x80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString FromWindows1252(QByteArrayView bytes) {
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text)
        if (c.unicode() >= 0x80 && c.unicode() < 0xA0) c = kWindows1252From0x80[c.unicode() - 0x80];
    return text;
}

QString FromUtf16(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return decoder(bytes);
}

}  // namespace

EncodedText DetectEncoding(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return {TextEncoding::Utf8, bytes.sliced(3)};
    if (bytes.startsWith("\xFF\xFE")) return {TextEncoding::Utf16LE, bytes.sliced(2)};
    if (bytes.startsWith("\xFE\xFF")) return {TextEncoding::Utf16BE, bytes.sliced(2)};
    return {bytes.isValidUtf8() ? TextEncoding::Utf8 : TextEncoding::Windows1252, bytes};
}

QString Decode(TextEncoding encoding, QByteArrayView body) {
    switch (encoding) {
        case TextEncoding::Utf8:
            return QString::fromUtf8(body);
        case TextEncoding::Utf16LE:
            return FromUtf16(QStringDecoder::Utf16LE, body);
        case TextEncoding::Utf16BE:
            return FromUtf16(QStringDecoder::Utf16BE, body);
        case TextEncoding::Windows1252:
            break;
    }
    return FromWindows1252(body);
}

QString DecodeText(QByteArrayView bytes) {
    const EncodedText text = DetectEncoding(bytes);
    return Decode(text.encoding, text.body);
}

QString ReadTextFile(const QString& sPath) { return DecodeText(Disk::ReadFile(sPath)); }

QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    const bool lastLineEnded = lines.size() > 1 && lines.back().isEmpty();
    if (lastLineEnded) lines.removeLast();
    const qsizetype ended = lastLineEnded ? lines.size() : lines.size() - 1;
    for (qsizetype i = 0; i < ended; ++i)
        if (lines[i].endsWith(u'\r')) lines[i].chop(1);
    return lines;
}
