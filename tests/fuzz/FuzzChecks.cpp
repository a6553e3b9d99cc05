#include "FuzzChecks.h"

#include <QList>
#include <QPair>
#include <optional>

#include "CommandLine.h"
#include "SourceMode.h"
#include "TextFile.h"

using namespace Qt::StringLiterals;

namespace {

using Entries = QList<QPair<QString, QString>>;

QString TrimSpaces(QString text, bool right = true) {
    while (text.startsWith(u' ')) text.remove(0, 1);
    while (right && text.endsWith(u' ')) text.chop(1);
    return text;
}

// The parser's steps as designed, 1-based positions and all.
std::optional<Entries> ReferenceParse(const QString& args, QString& mode) {
    static const QList<QPair<QString, QString>> table{
        {u"-E"_s, u"error"_s}, {u"-U"_s, u"user"_s}, {u"-P"_s, u"pass"_s}, {u"-B"_s, u"base"_s},
        {u"-S"_s, u"serv"_s},  {u"-D"_s, u"path"_s}, {u"-F"_s, u"path"_s}, {u"-L"_s, u"log"_s}};
    Entries result;
    const auto add = [&](const QString& key, const QString& value) {
        for (const auto& entry : result)
            if (entry.first == key) return;
        result.append({key, value});
    };
    QString remainder = TrimSpaces(args, false);
    qsizetype position = 1;
    while (position > 0) {
        position = remainder.indexOf(u' ') + 1;
        if (position == 0) return std::nullopt;
        const QString token = remainder.left(position - 1).toUpper();
        QString key;
        for (const auto& [option, optionKey] : table)
            if (token == option) key = optionKey;
        if (key.isEmpty()) return std::nullopt;
        if (token == u"-D") mode = u"SelectRep"_s;
        if (token == u"-F") mode = u"FichierSQL"_s;
        remainder = TrimSpaces(remainder.mid(position));
        position = remainder.indexOf(u' ') + 1;
        if (position > 0) {
            add(key, remainder.left(position - 1));
            remainder = TrimSpaces(remainder.mid(position));
        } else if (remainder.isEmpty()) {
            return std::nullopt;
        } else {
            add(key, remainder);
        }
    }
    return result;
}

// Each line ends at LF, losing a CR just before it; a last line without LF counts.
QStringList ReferenceLines(const QString& text) {
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        if (c != u'\n') {
            line += c;
            continue;
        }
        if (line.endsWith(u'\r')) line.chop(1);
        lines << line;
        line.clear();
    }
    if (!line.isEmpty() || lines.isEmpty()) lines << line;
    return lines;
}

// Over the fuzzer's own buffer, so that a read past the input is caught.
QString Decoded(QByteArrayView bytes) {
    return DecodeText(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

}  // namespace

QString CheckCommandLine(QByteArrayView bytes) {
    const QString args = QString::fromUtf8(bytes);
    QString expectedMode = u"unset"_s;
    g_sSourceMode = expectedMode;
    const std::optional<Entries> expected = ReferenceParse(args, expectedMode);
    const std::optional<OptionSet> options = ParseCommandLine(args);
    if (g_sSourceMode != expectedMode) return u"source mode "_s + g_sSourceMode;
    if (options.has_value() != expected.has_value()) return u"accepted or rejected wrongly"_s;
    if (!options) return {};
    if (options->Count() != expected->size()) return u"entries lost or invented"_s;
    qsizetype i = 0;
    for (const QString& value : *options) {
        const auto& [key, expectedValue] = (*expected)[i++];
        if (value != expectedValue || options->Item(key) != value) return u"entry "_s + key;
    }
    return {};
}

QString CheckDecodeText(QByteArrayView bytes) {
    const QString text = Decoded(bytes);
    qsizetype lineFeeds = 0;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const int low = bytes[0] == '\xFF' ? 0 : 1;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            lineFeeds += bytes[i + low] == '\n' && bytes[i + 1 - low] == 0;
    } else {
        lineFeeds = bytes.count('\n');
        // Without a byte-order mark, a text that is not UTF-8 gives one character a byte.
        if (!bytes.startsWith("\xEF\xBB\xBF") && text.toUtf8() != bytes &&
            text.size() != bytes.size())
            return u"characters lost or invented"_s;
    }
    return text.count(u'\n') == lineFeeds ? QString() : u"line feeds lost or invented"_s;
}

QString CheckSplitLines(QByteArrayView bytes) {
    const QString text = Decoded(bytes);
    return SplitLines(text) == ReferenceLines(text) ? QString() : u"lines differ"_s;
}
