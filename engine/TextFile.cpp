#include "TextFile.h"

#include <QFile>
#include <QStringDecoder>

#include "VelmarError.h"

namespace {

QString Decode(QStringDecoder::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    return decoder(bytes);
}

}  // namespace

QString DecodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Decode(QStringDecoder::Utf8, QByteArrayView(bytes).sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return Decode(QStringDecoder::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return Decode(QStringDecoder::Utf16BE, QByteArrayView(bytes).sliced(2));

    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder windows1252("windows-1252", QStringDecoder::Flag::Stateless);
    return windows1252(bytes);
}

QString ReadTextFile(const QString& sPath) {
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly))
        throw VelmarError(file.exists() ? VelmarError::PermissionDenied : VelmarError::FileNotFound,
                          file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VelmarError(VelmarError::PathFileAccess, file.errorString());
    return DecodeText(bytes);
}

QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    const bool lastLineEnded = lines.size() > 1 && lines.back().isEmpty();
    if (lastLineEnded) lines.removeLast();
    const qsizetype ended = lastLineEnded ? lines.size() : lines.size() - 1;
    for (qsizetype i = 0; i < ended; ++i)
        if (lines[i].endsWith(u'\r')) lines[i].chop(1);
    return lines;
}
