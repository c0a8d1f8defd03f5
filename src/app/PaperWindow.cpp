#include "app/PaperWindow.h"

#include "views/ink/KivBackground.h"
#include "views/ink/ReadingOrder.h"
#include "views/ink/ThemeBinding.h"

#include <QAction>
#include <QKeyEvent>
#include <QVBoxLayout>

PaperWindow::PaperWindow(const QString &id, const QString &title, QWidget *content, Paper paper, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_content(content)
{
    setObjectName(id);
    setWindowTitle(title);
    // The icon is the program's (QApplication::windowIcon), given once the
    // main window shows.
    if (paper == Paper::behindPage)
        m_paper = new KivBackground(this);
    else
        setAttribute(Qt::WA_OpaquePaintEvent);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(this);
    layout->addWidget(content);
    ThemeBinding::applyTo(this);
    // The main window stays: it is the program. The others close as
    // desktop windows do.
    if (id != QLatin1String("timer")) {
        m_closesOnEscape = true;
        auto *close = new QAction(this);
        close->setObjectName(QStringLiteral("window.close"));
        close->setShortcuts(QKeySequence::Close);
        close->setShortcutContext(Qt::WindowShortcut);
        connect(close, &QAction::triggered, this, &QWidget::close);
        addAction(close);
    }
}

void PaperWindow::keyPressEvent(QKeyEvent *event)
{
    if (m_closesOnEscape && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PaperWindow::focusNextPrevChild(bool next)
{
    return ReadingOrder::focusNext(this, next);
}

void PaperWindow::bringForward()
{
    show();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

void PaperWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_paper) {
        m_paper->setGeometry(rect());
        m_paper->lower();
    }
}
