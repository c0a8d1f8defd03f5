#pragma once

#include "platform/desktop/Desktop.h"

// The real desktop: Qt's file dialogs (modal over the asking window), the
// system clipboard, and the desktop's handlers for links and folders.
class SystemDesktop : public Desktop
{
public:
    // The one instance views use when their context names no other.
    static SystemDesktop &shared();

    std::optional<QString> openFile(const FileQuestion &question, QWidget *parent) override;
    std::optional<QStringList> openFiles(const FileQuestion &question, QWidget *parent) override;
    std::optional<QString> saveFile(const FileQuestion &question, QWidget *parent) override;
    std::optional<QString> chooseFolder(const FileQuestion &question, QWidget *parent) override;
    void copyText(const QString &text) override;
    bool openUrl(const QUrl &url) override;
    bool openFolder(const QString &path) override;
};
