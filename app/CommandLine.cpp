#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "SourceMode.h"

namespace {

struct Option {
    const char16_t* token;
    const QString& key;
    const QString* sourceMode;
    bool once = false;  // a repeat refuses the command line rather than being dropped
};

// "-?" is deliberately absent: like any unknown option it leads to the usage box.
const std::array<Option, 9> kOptions{{
    {u"-E", OptionKey::Error, nullptr},
    {u"-U", OptionKey::User, nullptr},
    {u"-P", OptionKey::Password, nullptr},
    {u"-B", OptionKey::Database, nullptr},
    {u"-S", OptionKey::Server, nullptr},
    {u"-D", OptionKey::Path, &kFolderMode},
    {u"-F", OptionKey::Path, &kListFileMode},
    {u"-L", OptionKey::Log, nullptr},
    {u"-R", OptionKey::Report, nullptr, true},
}};

const Option* FindOption(const QString& token) {
    for (const Option& option : kOptions)
        if (token == QStringView(option.token)) return &option;
    return nullptr;
}

// Only the space character separates tokens; tabs belong to them.
QStringView TrimSpaces(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.sliced(first, last - first);
}

// The bytes at the start of argument that decode to its first `characters` UTF-16 units.
qsizetype ByteCount(const char* argument, qsizetype characters) {
    const qsizetype size = qstrlen(argument);
    qsizetype bytes = 0;
    while (bytes < size && QString::fromLocal8Bit(argument, bytes + 1).size() <= characters)
        ++bytes;
    return bytes;
}

}  // namespace

QString ArgumentText(const QStringList& arguments) { return arguments.join(u' '); }

std::optional<OptionSet> ParseCommandLine(const QString& sArgs, TextSpan& password) {
    password = {};
    qsizetype start = 0;
    while (start < sArgs.size() && sArgs[start] == u' ') ++start;
    QStringView remainder = QStringView(sArgs).sliced(start);
    OptionSet options;
    const auto add = [&](QStringView value, const Option& option) {
        if (option.key == OptionKey::Password && password.at < 0)
            password = {value.data() - sArgs.data(), value.size()};
        options.AddIfAbsent(value.toString(), option.key);
    };
    for (;;) {
        qsizetype space = remainder.indexOf(u' ');
        if (space < 0) return std::nullopt;
        const Option* option = FindOption(remainder.left(space).toString().toUpper());
        if (!option || (option->once && options.IncludesKey(option->key))) return std::nullopt;
        if (option->sourceMode) g_sSourceMode = *option->sourceMode;
        remainder = TrimSpaces(remainder.sliced(space + 1));
        space = remainder.indexOf(u' ');
        if (space < 0) {
            if (remainder.isEmpty()) return std::nullopt;
            add(remainder, *option);
            return options;
        }
        add(remainder.left(space), *option);
        remainder = TrimSpaces(remainder.sliced(space + 1));
    }
}

void BlankArguments(int argc, char* argv[], TextSpan span) {
    // The span holds no space, so it lies within one argument.
    for (int i = 1; i < argc && span.at >= 0; ++i) {
        const qsizetype size = QString::fromLocal8Bit(argv[i]).size();
        if (span.at + span.length <= size) {
            const qsizetype first = ByteCount(argv[i], span.at);
            std::memset(argv[i] + first, '*', ByteCount(argv[i], span.at + span.length) - first);
            return;
        }
        span.at -= size + 1;
    }
}

std::optional<qint32> ParseErrorMode(const QString& value) {
    // Checked by hand: a regular expression would load and compile its engine on every run.
    const QStringView digits =
        value.startsWith(u'+') || value.startsWith(u'-') ? QStringView(value).sliced(1) : value;
    if (digits.isEmpty() ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(number);
}

QString UsageTitle(const QString& program) { return program + QStringLiteral(" - Usage"); }

QString UsageText(const QString& program) {
    const QString indent(15, u' ');
    return QStringList{
        program + QStringLiteral(" [-E <error> -U <user>  -P <password>  -S <server>  -B <base>  "
                                 "-D ou -F <path>]"),
        indent + QStringLiteral("-E : 0 = stop l'exécution à la moindre erreur / 1 = poursuit "
                                "l'exécution"),
        indent + QStringLiteral("-U : compte SQL"),
        indent + QStringLiteral("-P : mot de passe pour le compte SQL"),
        indent + QStringLiteral("-S : serveur SQL"),
        indent + QStringLiteral("-B : base de données SQL"),
        indent + QStringLiteral("-D : chemin du répertoire contenant les procédures à charger"),
        indent + QStringLiteral("-F : fichier des procédures à charger"),
        indent + QStringLiteral("-L : fichier de log"),
        indent + QStringLiteral("-R : rapport JUnit XML du chargement (facultatif)"),
        indent + QStringLiteral("sans -P : mot de passe lu dans la variable d'environnement "
                                "VELMAR_PASSWORD"),
    }
        .join(u'\r');
}
