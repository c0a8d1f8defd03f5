#include "app/PaperWindow.h"

#include "app/AppIcon.h"
#include "views/ink/KivBackground.h"
#include "views/ink/ThemeBinding.h"

#include <QVBoxLayout>

PaperWindow::PaperWindow(const QString &id, const QString &title, QWidget *content, Paper paper, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_content(content)
{
    setObjectName(id);
    setWindowTitle(title);
    setWindowIcon(AppIcon::icon());
    if (paper == Paper::behindPage)
        m_paper = new KivBackground(this);
    else
        setAttribute(Qt::WA_OpaquePaintEvent);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    content->setParent(this);
    layout->addWidget(content);
    ThemeBinding::applyTo(this);
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
