#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The program's command line: -h/--help and -v/--version, nothing else.
//
// It is read twice. early() runs before the application object exists, on
// the arguments as given: help and version are answered there, so they work
// with no display and while another copy runs, and so is an option that is
// not one of Qt's own. check() runs on what the
// application object leaves after taking Qt's own options (-platform,
// -style, ...): any other option or argument is a mistake, answered with the
// help on standard error and status 2. Either returns nothing when the
// program should go on.
class CommandLine
{
public:
    struct Answer
    {
        int status = 0;
        QString out; // for standard output
        QString err; // for standard error
    };

    static std::optional<Answer> early(const QStringList &arguments);
    static std::optional<Answer> check(const QStringList &arguments);

    // The arguments of main as text (the first is the program).
    static QStringList arguments(int argc, char **argv);
    // Writes the answer's texts and returns its status.
    static int print(const Answer &answer);
};
