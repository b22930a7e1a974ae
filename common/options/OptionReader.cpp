#include "OptionReader.h"

#include <QCommandLineParser>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace vestrel {
namespace {

// Arguments are handed to the parser as Latin-1, one character per byte, so that every byte
// comes back as it was; option names, "--" and "=" are ASCII either way.
QString FromBytes(const char* bytes) { return QString::fromLatin1(bytes); }
std::string ToBytes(const QString& text) { return text.toLatin1().toStdString(); }

// Put before an argument the parser must not read as an option. No Latin-1 argument can
// start with it, and it is taken off whatever comes back.
constexpr QChar kNotAnOption(0xE000);

QString Unmarked(QString text)
{
    if (text.startsWith(kNotAnOption)) text.remove(0, 1);
    return text;
}

bool IsFlagWithValue(QStringView argument, const std::vector<OptionSpec>& known)
{
    for (const OptionSpec& spec : known) {
        if (spec.takesValue) continue;
        const QString prefix = QStringLiteral("--") + QString::fromStdString(spec.name) + u'=';
        if (argument.startsWith(prefix)) return true;
    }
    return false;
}

// The parser reads "-abc" as short options and "--" as the end of the options; these tools
// have no short options and not all of them end their options with "--". Such arguments are
// marked: where the parser expects a value it still takes them, elsewhere they are words.
// Where "--" is a word, a "--flag=value" is marked too and, found among the words, refused
// with the flag's name; where "--" ends the options such a word may follow it, so the
// parser's own refusal stands there.
QStringList MarkedArguments(int argc, const char* const* argv, const std::vector<OptionSpec>& known,
                            DoubleDash doubleDash)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        QString argument = FromBytes(argv[i]);
        const bool singleDash = argument.startsWith(u'-') && !argument.startsWith(QStringLiteral("--"));
        const bool dashesAreWords = doubleDash == DoubleDash::IsAWord;
        const bool doubleDashWord = dashesAreWords && argument == QStringLiteral("--");
        if (i > 0 && (singleDash || doubleDashWord || (dashesAreWords && IsFlagWithValue(argument, known))))
            argument.prepend(kNotAnOption);
        arguments.append(argument);
    }
    return arguments;
}

// Without `error`, whatever would be refused is left out instead.
std::optional<GivenCommandLine> Read(int argc, const char* const* argv, const std::vector<OptionSpec>& known,
                                     DoubleDash doubleDash, std::string* error)
{
    if (argc < 1) return GivenCommandLine{};  // not even the program's name: nothing given
    QCommandLineParser parser;
    for (const OptionSpec& spec : known) {
        const QString name = QString::fromStdString(spec.name);
        parser.addOption(spec.takesValue ? QCommandLineOption(name, QString(), QStringLiteral("value"))
                                         : QCommandLineOption(name));
    }
    const bool parsed = parser.parse(MarkedArguments(argc, argv, known, doubleDash));
    if (const QStringList unknown = parser.unknownOptionNames(); error && !unknown.isEmpty()) {
        *error = "unknown option --" + ToBytes(unknown.front());
        return std::nullopt;
    }

    // The options in the order given, each with its value; an option counted more often than
    // it has values lacks its last one (only the last argument can).
    GivenCommandLine line;
    QHash<QString, qsizetype> seen;
    for (const QString& name : parser.optionNames()) {
        const qsizetype index = seen[name]++;
        const QStringList values = parser.values(name);
        const bool flag = std::any_of(known.begin(), known.end(), [&](const OptionSpec& spec) {
            return !spec.takesValue && QString::fromStdString(spec.name) == name;
        });
        if (flag) {
            line.options.push_back({ToBytes(name), {}});
        } else if (index < values.size()) {
            line.options.push_back({ToBytes(name), ToBytes(Unmarked(values.at(index)))});
        } else if (error) {
            *error = "--" + ToBytes(name) + " needs a value";
            return std::nullopt;
        }
    }
    for (const QString& word : parser.positionalArguments()) {
        if (doubleDash == DoubleDash::IsAWord && word.startsWith(kNotAnOption) &&
            IsFlagWithValue(Unmarked(word), known)) {
            if (!error) continue;
            *error = ToBytes(Unmarked(word).section(u'=', 0, 0)) + " takes no value";
            return std::nullopt;
        }
        line.words.push_back(ToBytes(Unmarked(word)));
    }
    if (error && !parsed) {  // a failure of the parser not foreseen above: its own words
        *error = ToBytes(parser.errorText());
        return std::nullopt;
    }
    return line;
}

}  // namespace

std::optional<GivenCommandLine> ReadOptions(int argc, const char* const* argv, const std::vector<OptionSpec>& known,
                                            DoubleDash doubleDash, std::string& error)
{
    return Read(argc, argv, known, doubleDash, &error);
}

GivenCommandLine ReadKnownOptions(int argc, const char* const* argv, const std::vector<OptionSpec>& known)
{
    return *Read(argc, argv, known, DoubleDash::IsAWord, nullptr);
}

}  // namespace vestrel
