#include "views/ink/SystemDesktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {

std::optional<QString> run(QFileDialog &dialog, const Desktop::FileQuestion &question)
{
    dialog.setWindowTitle(question.message);
    if (!question.confirm.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, question.confirm);
    if (!question.nameFilters.isEmpty())
        dialog.setNameFilters(question.nameFilters);
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

SystemDesktop &SystemDesktop::shared()
{
    static SystemDesktop desktop;
    return desktop;
}

std::optional<QString> SystemDesktop::openFile(const FileQuestion &question, QWidget *parent)
{
    QFileDialog dialog(parent, question.message, startFolder());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog, question);
}

std::optional<QStringList> SystemDesktop::openFiles(const FileQuestion &question, QWidget *parent)
{
    QFileDialog dialog(parent, question.message, startFolder());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (!run(dialog, question))
        return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QString> SystemDesktop::saveFile(const FileQuestion &question, QWidget *parent)
{
    QFileDialog dialog(parent, question.message, startFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(question.suggestedName).suffix());
    if (!question.suggestedName.isEmpty())
        dialog.selectFile(question.suggestedName);
    return run(dialog, question);
}

std::optional<QString> SystemDesktop::chooseFolder(const FileQuestion &question, QWidget *parent)
{
    QFileDialog dialog(parent, question.message, QDir::homePath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return run(dialog, question);
}

void SystemDesktop::copyText(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(text);
    }
}

bool SystemDesktop::openUrl(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http") && scheme != QLatin1String("mailto"))
        return false;
    return QDesktopServices::openUrl(url);
}

bool SystemDesktop::openFolder(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
