#pragma once

#include "platform/desktop/Desktop.h"

#include <QList>

// A desktop for tests: the panels give the answers queued by the test (a
// cancel once the queue is empty) and remember what they were asked; the
// clipboard and the opened links and folders are kept for the test to read.
class FakeDesktop : public Desktop
{
public:
    enum class Panel { open, save, folder };
    struct Asked
    {
        Panel panel = Panel::open;
        FileQuestion question;
    };

    // The next panel (of any kind) answers with this path, or is cancelled.
    void answer(const QString &path) { m_answers.append(path); }
    void cancelNext() { m_answers.append(std::nullopt); }
    // The next panel of several files answers with these paths.
    void answerFiles(const QStringList &paths) { m_answers.append(paths.join(QLatin1Char('\n'))); }

    const QList<Asked> &asked() const { return m_asked; }
    QString clipboard() const { return m_clipboard; }
    int copies() const { return m_copies; }
    const QList<QUrl> &openedUrls() const { return m_urls; }
    // Links are taken (the default) or, as with no program for them, refused.
    void setOpensLinks(bool opens) { m_opensLinks = opens; }
    const QStringList &openedFolders() const { return m_folders; }

    std::optional<QString> openFile(const FileQuestion &question, QWidget *parent) override;
    std::optional<QStringList> openFiles(const FileQuestion &question, QWidget *parent) override;
    std::optional<QString> saveFile(const FileQuestion &question, QWidget *parent) override;
    std::optional<QString> chooseFolder(const FileQuestion &question, QWidget *parent) override;
    void copyText(const QString &text) override;
    bool openUrl(const QUrl &url) override;
    bool openFolder(const QString &path) override;

private:
    std::optional<QString> next(Panel panel, const FileQuestion &question);

    QList<std::optional<QString>> m_answers;
    QList<Asked> m_asked;
    QString m_clipboard;
    int m_copies = 0;
    QList<QUrl> m_urls;
    bool m_opensLinks = true;
    QStringList m_folders;
};
