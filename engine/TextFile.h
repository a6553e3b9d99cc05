#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

enum class TextEncoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

// A file's bytes after their byte-order mark, and what they are written in.
struct EncodedText {
    TextEncoding encoding;
    QByteArrayView body;
};

// Script and list files: a UTF-8 or UTF-16 byte-order mark selects that encoding; without
// one, valid UTF-8 is read as UTF-8 and anything else as Windows-1252.
EncodedText DetectEncoding(QByteArrayView bytes);

// In UTF-8 and Windows-1252 every ASCII character is one byte, so their text can be cut on
// its bytes and the pieces decoded one by one.
inline bool OneByteAscii(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Windows1252;
}

QString Decode(TextEncoding encoding, QByteArrayView body);

// DetectEncoding, then Decode.
QString DecodeText(QByteArrayView bytes);

// Reads a whole file in one read and decodes it; raises as Disk::ReadFile does.
QString ReadTextFile(const QString& sPath);

// The lines of a list file: each ends at LF, with a CR before the LF removed; a last line
// without a line end counts; an empty text is one empty line.
QStringList SplitLines(const QString& text);
