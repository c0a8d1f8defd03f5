#include "platform/fakes/FakeDesktop.h"

std::optional<QString> FakeDesktop::next(Panel panel, const FileQuestion &question)
{
    m_asked.append({panel, question});
    if (m_answers.isEmpty())
        return std::nullopt;
    return m_answers.takeFirst();
}

std::optional<QString> FakeDesktop::openFile(const FileQuestion &question, QWidget *)
{
    return next(Panel::open, question);
}

std::optional<QStringList> FakeDesktop::openFiles(const FileQuestion &question, QWidget *)
{
    if (const std::optional<QString> answer = next(Panel::open, question))
        return answer->split(QLatin1Char('\n'));
    return std::nullopt;
}

std::optional<QString> FakeDesktop::saveFile(const FileQuestion &question, QWidget *)
{
    return next(Panel::save, question);
}

std::optional<QString> FakeDesktop::chooseFolder(const FileQuestion &question, QWidget *)
{
    return next(Panel::folder, question);
}

void FakeDesktop::copyText(const QString &text)
{
    m_clipboard = text;
    ++m_copies;
}

bool FakeDesktop::openUrl(const QUrl &url)
{
    m_urls.append(url);
    return m_opensLinks;
}

bool FakeDesktop::openFolder(const QString &path)
{
    m_folders.append(path);
    return true;
}
