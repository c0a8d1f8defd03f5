#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

// The desktop services a screen asks for on the user's behalf: the panels
// that choose a file, a folder or where to save, the clipboard, and opening
// a web link or a folder in the file manager. Views reach it through their
// context, so tests answer the panels themselves and nothing reaches the
// real desktop.
class Desktop
{
public:
    // What a file panel shows.
    struct FileQuestion
    {
        QString message;         // the panel's title: what is being chosen and why
        QString confirm;         // the confirm button's text; empty: the desktop's own
        QString suggestedName;   // save panels: the file name offered
        QStringList nameFilters; // e.g. "JSON (*.json)"; empty: any file

        bool operator==(const FileQuestion &) const = default;
    };

    virtual ~Desktop() = default;

    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(const FileQuestion &question, QWidget *parent) = 0;
    virtual std::optional<QString> saveFile(const FileQuestion &question, QWidget *parent) = 0;
    virtual std::optional<QString> chooseFolder(const FileQuestion &question, QWidget *parent) = 0;
    // An open panel that takes several files at once: the chosen paths in
    // the panel's order, or nothing when cancelled. By default the panel
    // of one file.
    virtual std::optional<QStringList> openFiles(const FileQuestion &question, QWidget *parent)
    {
        if (const std::optional<QString> path = openFile(question, parent))
            return QStringList{*path};
        return std::nullopt;
    }

    // Puts the text on the clipboard in place of whatever was there.
    virtual void copyText(const QString &text) = 0;

    // Opens an http, https or mailto link in the user's program for it;
    // false when there is none (or for any other kind of link).
    virtual bool openUrl(const QUrl &url) = 0;
    // Shows a folder in the file manager; false when it cannot.
    virtual bool openFolder(const QString &path) = 0;

    // The name filter of JSON files.
    static QString jsonFiles() { return QStringLiteral("JSON (*.json)"); }
};
