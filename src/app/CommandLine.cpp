#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Shows this help and exits.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Shows the version and exits.")};
    QString program;

    explicit Parser(const QStringList &arguments)
    {
        // One dash or two name the same option, and -reverse is never read
        // as -r -e -v...: Qt's own single-dash options must not turn into ours.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            QStringLiteral("Quillmere, a focus timer: timed rounds in six modes, a task list, an hour\n"
                           "timeline for the day and a shelf of daily practices. Only one copy runs\n"
                           "per data folder; starting it again shows the running copy's window."));
        parser.addOption(help);
        parser.addOption(version);
        program = arguments.isEmpty() ? QStringLiteral("quillmere") : QFileInfo(arguments.first()).fileName();
        parser.parse(arguments);
    }

    // The parser names the program from the application object, which does
    // not exist yet in early(): the usage line names it from the arguments.
    QString helpText() const
    {
        QString text = parser.helpText();
        const qsizetype end = text.indexOf(QLatin1Char('\n'));
        return QStringLiteral("Usage: %1 [options]").arg(program) + (end < 0 ? QString() : text.mid(end));
    }
};

// The options every Qt program takes (QGuiApplication's, QApplication's and
// the X11 platform's): the application object takes them from the command
// line, so they are mistakes only once it has not.
bool isQtOption(const QString &name)
{
    static const QStringList names = {
        QStringLiteral("platform"),      QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),        QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"),  QStringLiteral("reverse"),            QStringLiteral("session"),
        QStringLiteral("style"),         QStringLiteral("stylesheet"),         QStringLiteral("widgetcount"),
        QStringLiteral("qmljsdebugger"), QStringLiteral("display"),            QStringLiteral("geometry"),
        QStringLiteral("name"),          QStringLiteral("title"),              QStringLiteral("visual"),
        QStringLiteral("dialogs"),       QStringLiteral("fontengine"),         QStringLiteral("nograb"),
        QStringLiteral("dograb"),        QStringLiteral("sync"),               QStringLiteral("testability"),
    };
    return names.contains(name);
}

CommandLine::Answer mistake(const Parser &p, const QString &what)
{
    return {2, {}, QStringLiteral("%1: %2\n\n%3").arg(p.program, what, p.helpText())};
}

} // namespace

std::optional<CommandLine::Answer> CommandLine::early(const QStringList &arguments)
{
    // The program's name alone (how a desktop starts it) asks nothing: no
    // parser is made for it.
    if (arguments.size() <= 1)
        return std::nullopt;
    const Parser p(arguments);
    if (p.parser.isSet(p.help))
        return Answer{0, p.helpText(), {}};
    if (p.parser.isSet(p.version))
        return Answer{0, QStringLiteral("Quillmere %1\n").arg(QStringLiteral(QUILLMERE_VERSION)), {}};
    // An option neither ours nor Qt's is answered here too, so that a typing
    // slip is told as one even where no display can be opened.
    for (const QString &name : p.parser.unknownOptionNames())
        if (!isQtOption(name))
            return mistake(p, QStringLiteral("Unknown option '%1'.").arg(name));
    return std::nullopt;
}

std::optional<CommandLine::Answer> CommandLine::check(const QStringList &arguments)
{
    if (arguments.size() <= 1)
        return std::nullopt;
    if (auto answer = early(arguments))
        return answer;
    const Parser p(arguments);
    if (!p.parser.unknownOptionNames().isEmpty())
        return mistake(p, p.parser.errorText());
    if (!p.parser.positionalArguments().isEmpty())
        return mistake(p, QStringLiteral("Unexpected argument '%1'.").arg(p.parser.positionalArguments().first()));
    return std::nullopt;
}

QStringList CommandLine::arguments(int argc, char **argv)
{
    QStringList list;
    list.reserve(argc);
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

int CommandLine::print(const Answer &answer)
{
    if (!answer.out.isEmpty()) {
        std::fputs(answer.out.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
    if (!answer.err.isEmpty()) {
        std::fputs(answer.err.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
    return answer.status;
}
