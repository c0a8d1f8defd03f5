#include "views/ink/Scaled.h"

#include <QEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <cmath>

Scaled::Scaled(double factor, QWidget *content, QWidget *parent)
    : QGraphicsView(parent)
    , m_factor(factor)
    , m_content(content)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setBackgroundBrush(Qt::NoBrush);
    QPalette clear = palette();
    clear.setColor(QPalette::Base, Qt::transparent);
    setPalette(clear);
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto *scene = new QGraphicsScene(this);
    setScene(scene);
    m_proxy = scene->addWidget(content);
    m_proxy->setScale(factor);
    m_proxy->setPos(0, 0);
    content->installEventFilter(this);
    measure();
}

std::optional<QSizeF> Scaled::room(QSizeF natural, double factor)
{
    if (natural.width() <= 0 && natural.height() <= 0)
        return std::nullopt;
    return QSizeF(std::max(0.0, natural.width()) * factor, std::max(0.0, natural.height()) * factor);
}

void Scaled::measure()
{
    if (!m_content)
        return;
    if (m_measuring)
        return;
    m_measuring = true;
    // The control's own size: what its layout asks for, within the limits
    // set on it.
    QSize natural = m_content->sizeHint();
    if (!natural.isValid())
        natural = m_content->size();
    natural = natural.expandedTo(m_content->minimumSize()).boundedTo(m_content->maximumSize());
    m_content->resize(natural);
    m_measuring = false;
    m_natural = QSizeF(natural);
    const auto r = room(m_natural, m_factor);
    const QRectF sceneArea(QPointF(0, 0), r.value_or(QSizeF(0, 0)));
    scene()->setSceneRect(sceneArea);
    if (r)
        setFixedSize(QSize(int(std::ceil(r->width())), int(std::ceil(r->height()))));
    updateGeometry();
}

QSize Scaled::sizeHint() const
{
    const auto r = room(m_natural, m_factor);
    return r ? QSize(int(std::ceil(r->width())), int(std::ceil(r->height()))) : QGraphicsView::sizeHint();
}

bool Scaled::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize))
        measure();
    return QGraphicsView::eventFilter(watched, event);
}
