#include "snapshots/ScreenStage.h"

#include "snapshots/SnapshotRig.h"
#include "core/Kiv.h"
#include "views/ink/Chance.h"
#include "views/ink/StillPicture.h"
#include "views/ink/ViewContext.h"

#include <QApplication>
#include <QPainter>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

QSet<QWidget *> shownWindows()
{
    QSet<QWidget *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            out.insert(w);
    return out;
}

} // namespace

void ScreenStage::settle()
{
    // A page may fill itself a step after it shows (queued refreshes, then
    // its new items showing and laying out, pages deleted later).
    for (int i = 0; i < 8; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

ScreenStage::ScreenStage(const Screen &screen, SnapshotRig &rig, Form form, QSize size)
{
    const QSet<QWidget *> before = shownWindows();
    // The sayings and the day's example lines are drawn at random: the same
    // draw every time, so that the pictures are the same from run to run.
    Chance::seed(1);
    ViewContext context = rig.context();
    context.snapshot = form == Form::still;
    m_widget = screen.build(rig, context);
    m_widget->setAttribute(Qt::WA_DontShowOnScreen);
    m_widget->setPalette(Kiv::palette(Kiv::appearance()));
    if (!size.isValid())
        size = screen.size;
    if (size.isValid()) {
        const QSize least = m_widget->minimumSizeHint();
        // The main window must take its sizes; another window opens at its
        // size or at what its content asks for, if more.
        if (!screen.inMainWindow())
            size = size.expandedTo(least);
        if (form == Form::live && (least.width() > size.width() || least.height() > size.height()))
            m_refused = QStringLiteral("the window cannot be %1×%2: its content asks for at least %3×%4")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(least.width())
                            .arg(least.height());
        m_widget->resize(form == Form::live ? size : size.expandedTo(least));
    }
    m_widget->show();
    settle();
    if (form == Form::still && size.isValid()) {
        // The whole content: grown to what it asks for now, and to the height
        // its wrapped lines need at its width.
        for (int pass = 0; pass < 2; ++pass) {
            QSize grown = m_widget->size().expandedTo(m_widget->minimumSizeHint());
            if (m_widget->hasHeightForWidth())
                grown.setHeight(std::max(grown.height(), m_widget->heightForWidth(grown.width())));
            m_widget->resize(grown);
            settle();
        }
    }
    if (screen.then) {
        screen.then(rig, m_widget);
        settle();
    }
    // (A control drawn in a graphics view is a window of its own to Qt, but
    // shows only through its view.)
    QList<QWidget *> opened;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && !before.contains(w) && w != m_widget && !w->graphicsProxyWidget())
            opened.append(w);
    // Those opened from within others after them (a menu over the popover
    // it came from), the same way every time.
    auto depth = [](const QWidget *w) {
        int n = 0;
        for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
            ++n;
        return n;
    };
    std::sort(opened.begin(), opened.end(), [&depth](const QWidget *a, const QWidget *b) {
        const int da = depth(a), db = depth(b);
        if (da != db)
            return da < db;
        return QString::fromLatin1(a->metaObject()->className()) + a->objectName() <
               QString::fromLatin1(b->metaObject()->className()) + b->objectName();
    });
    for (QWidget *w : opened)
        m_opened.append(w);
}

ScreenStage::~ScreenStage()
{
    for (const QPointer<QWidget> &w : m_opened)
        if (w) {
            w->hide();
            w->deleteLater();
        }
    delete m_widget;
    settle();
}

QList<QWidget *> ScreenStage::openedWindows() const
{
    QList<QWidget *> out;
    for (const QPointer<QWidget> &w : m_opened)
        if (w && w->isVisible())
            out.append(w);
    return out;
}

QImage ScreenStage::picture(double devicePixelRatio) const
{
    const QList<QWidget *> opened = openedWindows();
    if (opened.isEmpty())
        return StillPicture::grab(m_widget, devicePixelRatio);
    // Everything in the coordinates of the screen's own window.
    const QPoint origin = m_widget->mapToGlobal(QPoint(0, 0));
    QRect area = m_widget->rect();
    for (QWidget *w : opened)
        area |= QRect(w->mapToGlobal(QPoint(0, 0)) - origin, w->size());
    QImage image(QSize(int(std::ceil(area.width() * devicePixelRatio)), int(std::ceil(area.height() * devicePixelRatio))),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Kiv::inkFaint(0.25));
    QPainter painter(&image);
    painter.drawImage(-area.topLeft(), StillPicture::grab(m_widget, devicePixelRatio));
    for (QWidget *w : opened)
        painter.drawImage(w->mapToGlobal(QPoint(0, 0)) - origin - area.topLeft(),
                          StillPicture::grab(w, devicePixelRatio));
    return image;
}
