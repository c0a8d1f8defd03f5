#pragma once

#include <QFunctionPointer>
#include <QList>
#include <QString>
#include <optional>

// The program's own modules (sound, network, calendar files), each a shared
// library loaded the first time it is wanted so that a start that needs none
// of them loads none of their libraries. A module is looked for beside the
// program (the build folder), where it is installed (<prefix>/lib/quillmere
// beside <prefix>/bin), then in the build folder of this build, for the
// tests and tools in its subfolders. Once loaded it stays for the rest of the
// run: a library is never unloaded.
class ModuleLibrary
{
public:
    struct Loaded
    {
        QString path;
        // The addresses of the symbols asked for, in their order.
        QList<QFunctionPointer> symbols;
    };

    // The first module file called `fileName` that resolves every symbol of
    // `symbols`, or nothing (with a warning naming `what` and `withoutIt`,
    // what the program does without it).
    static std::optional<Loaded> load(const QString &fileName, const QList<const char *> &symbols, const char *what,
                                      const char *withoutIt);

    // A module whose one symbol returns the table of what it offers.
    template<typename Entry>
    struct Table
    {
        QString path;                 // empty when it was not found
        const Entry *entry = nullptr; // null when it cannot be used
    };

    template<typename Entry>
    static Table<Entry> table(const QString &fileName, const char *symbol, const char *what, const char *withoutIt)
    {
        using EntryOf = const Entry *(*)();
        const std::optional<Loaded> found = load(fileName, {symbol}, what, withoutIt);
        if (!found)
            return {};
        const Entry *entry = reinterpret_cast<EntryOf>(found->symbols.constFirst())();
        return entry ? Table<Entry>{found->path, entry} : Table<Entry>{};
    }
};
