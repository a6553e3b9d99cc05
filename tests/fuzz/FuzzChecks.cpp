#include "FuzzChecks.h"

#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

#include "CommandLine.h"
#include "ReferenceSplit.h"
#include "ScriptSplitter.h"
#include "SourceMode.h"
#include "TextFile.h"

using namespace Qt::StringLiterals;

namespace {

using Entries = QList<QPair<QString, QString>>;

// The parser's steps as designed, with their 1-based positions; "-?" is in no table row. -R
// comes on top of the designed options, and a second one refuses the line when it is read.
// password: where the first "-P" value lies in args.
std::optional<Entries> ReferenceParse(const QString& args, QString& mode, TextSpan& password) {
    static const QStringList options = u"-E -U -P -B -S -D -F -L -R"_s.split(u' ');
    static const QStringList keys = u"error user pass base serv path path log report"_s.split(u' ');
    const auto trim = [](const QString& text, bool right) {
        qsizetype first = 0, last = text.size();
        while (first < last && text[first] == u' ') ++first;
        while (right && last > first && text[last - 1] == u' ') --last;
        return text.mid(first, last - first);
    };
    Entries result;
    QString remainder = trim(args, false);
    for (qsizetype position = 1; position > 0;) {
        position = remainder.indexOf(u' ') + 1;
        if (position == 0) return std::nullopt;
        const QString token = remainder.left(position - 1).toUpper();
        const qsizetype option = options.indexOf(token);
        if (option < 0) return std::nullopt;
        if (token == u"-R" &&
            std::ranges::any_of(result, [](const auto& e) { return e.first == u"report"; }))
            return std::nullopt;
        if (token == u"-D") mode = u"SelectRep"_s;
        if (token == u"-F") mode = u"FichierSQL"_s;
        remainder = trim(remainder.mid(position), true);
        position = remainder.indexOf(u' ') + 1;
        if (position == 0 && remainder.isEmpty()) return std::nullopt;
        const QString value = position > 0 ? remainder.left(position - 1) : remainder;
        // Once trimmed, the remainder ends where args' last non-space character does.
        if (token == u"-P" && password.at < 0)
            password = {args.lastIndexOf(QRegularExpression(u"[^ ]"_s)) + 1 - remainder.size(),
                        value.size()};
        if (std::ranges::none_of(result, [&](const auto& e) { return e.first == keys[option]; }))
            result.append({keys[option], value});
        if (position > 0) remainder = trim(remainder.mid(position), true);
    }
    return result;
}

// Each input byte picks a piece, so that scripts are dense in what the cutting rule reads:
// as text (surrogates, lone ones too), and as bytes (UTF-8, or Windows-1252 once one is not).
const QStringList kTextPieces =
    u"go|GO|Go|gO|G|o| |\t|\r|\n|x|\u00A0|😀|\xD83D|\xDE00|\0|'|\"|[|]|/*|*/|--|/|*|-"_s.split(u'|');
const QList<QByteArray> kBytePieces =
    "go|GO|Go|gO|G|o| |\t|\r|\n|x|\xA0|\xC3\xA9|\xF0\x9F\x98\x80|\x80|\0|'|\"|[|]|/*|*/|--|/|*|-"_ba
        .split('|');

}  // namespace

QString CheckCommandLine(QByteArrayView bytes) {
    const QString args = QString::fromUtf8(bytes);
    QString mode = g_sSourceMode = u"unset"_s;
    TextSpan expectedPassword, password;
    const std::optional<Entries> expected = ReferenceParse(args, mode, expectedPassword);
    const std::optional<OptionSet> options = ParseCommandLine(args, password);
    if (g_sSourceMode != mode) return u"source mode "_s + g_sSourceMode;
    if (password.at != expectedPassword.at || password.length != expectedPassword.length)
        return u"password span"_s;
    if (options.has_value() != expected.has_value()) return u"accepted or refused wrongly"_s;
    if (options && options->Count() != expected->size()) return u"entries lost or invented"_s;
    for (qsizetype i = 0; options && i < expected->size(); ++i)
        if (options->Item(i + 1) != (*expected)[i].second ||
            options->Item((*expected)[i].first) != (*expected)[i].second)
            return u"entry "_s + (*expected)[i].first;
    return {};
}

QString CheckScriptSplitter(QByteArrayView bytes) {
    QString text;
    QByteArray script;
    for (const char byte : bytes) {
        text += kTextPieces[static_cast<uchar>(byte) % kTextPieces.size()];
        script += kBytePieces[static_cast<uchar>(byte) % kBytePieces.size()];
    }
    std::vector<QString> batches;
    for (const QStringView batch : SplitScript(text)) batches.push_back(batch.toString());
    if (batches != ReferenceSplit(text)) return u"text cut otherwise"_s;
    // The engine cuts the bytes of such scripts and decodes each batch on its own.
    const EncodedText encoded = DetectEncoding(script);
    batches.clear();
    for (const QByteArrayView batch : SplitScript(encoded.body))
        batches.push_back(Decode(encoded.encoding, batch));
    if (batches != ReferenceSplit(Decode(encoded.encoding, encoded.body)))
        return u"bytes cut otherwise"_s;
    return {};
}

QString CheckDecodeText(QByteArrayView bytes) {
    const QString text = DecodeText(bytes);
    qsizetype lineFeeds = bytes.count('\n');
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const int low = bytes[0] == '\xFF' ? 0 : 1;
        lineFeeds = 0;
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            lineFeeds += bytes[i + low] == '\n' && bytes[i + 1 - low] == 0;
    } else if (!bytes.startsWith("\xEF\xBB\xBF") && text.toUtf8() != bytes &&
               text.size() != bytes.size()) {
        return u"not UTF-8, yet not one character a byte"_s;
    }
    return text.count(u'\n') == lineFeeds ? QString() : u"line feeds lost or invented"_s;
}

// Joined again, the lines give the text back, less the CR before each LF and a last LF; no
// line holds a LF.
QString CheckSplitLines(QByteArrayView bytes) {
    QString text = DecodeText(bytes);
    const QStringList lines = SplitLines(text);
    text.replace(u"\r\n"_s, u"\n"_s);
    if (text.endsWith(u'\n')) text.chop(1);
    if (lines.join(u'\n') != text || !lines.filter(u"\n"_s).isEmpty())
        return u"lines lost or invented"_s;
    return {};
}
