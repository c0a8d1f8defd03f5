#include "app/PaperWindow.h"

#include "views/ink/KivBackground.h"
#include "views/ink/ReadingOrder.h"
#include "views/ink/ThemeBinding.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <cmath>

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

void PaperWindow::replaceContent(QWidget *content)
{
    QWidget *old = m_content;
    double down = 0;
    if (auto *area = old->findChild<QAbstractScrollArea *>()) {
        const QScrollBar *bar = area->verticalScrollBar();
        if (bar->maximum() > bar->minimum())
            down = double(bar->value() - bar->minimum()) / (bar->maximum() - bar->minimum());
    }
    QWidget *focus = QApplication::focusWidget();
    const QString focusName = focus && old->isAncestorOf(focus) ? focus->objectName() : QString();

    m_content = content;
    content->setParent(this);
    layout()->replaceWidget(old, content);
    old->hide();
    old->deleteLater();
    content->show();
    // The new page's sizes are settled now, so that its scroll range is
    // known before the position is set.
    layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (auto *area = content->findChild<QAbstractScrollArea *>()) {
        QScrollBar *bar = area->verticalScrollBar();
        bar->setValue(bar->minimum() + int(std::lround(down * (bar->maximum() - bar->minimum()))));
    }
    if (!focusName.isEmpty()) {
        if (auto *again = content->findChild<QWidget *>(focusName); again && again->isVisibleTo(this))
            again->setFocus(Qt::OtherFocusReason);
    }
    if (m_paper)
        m_paper->lower();
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
