#include "views/ink/Crossfade.h"

#include "views/ink/Motion.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

// The picture of the old look, over the whole target.
class Crossfade::Cover : public QWidget
{
public:
    Cover(Crossfade *owner, QWidget *target)
        : QWidget(target)
        , m_owner(owner)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const double level = m_owner->level();
        if (level <= 0 || m_owner->m_picture.isNull())
            return;
        QPainter painter(this);
        painter.setOpacity(level);
        // The widgets this fades centre what they hold: a change of width
        // (a scroll bar coming) keeps the old look over the new.
        const QPixmap &picture = m_owner->m_picture;
        const double width = picture.width() / picture.devicePixelRatio();
        painter.drawPixmap(QPointF((this->width() - width) / 2, 0), picture);
    }

private:
    Crossfade *m_owner;
};

Crossfade::Crossfade(QWidget *target)
    : QObject(target)
    , m_target(target)
{
    target->installEventFilter(this);
}

Crossfade::~Crossfade()
{
    delete m_cover.data();
}

bool Crossfade::capture()
{
    m_picture = QPixmap();
    if (Motion::isInstant() || !m_target->isVisible() || m_target->width() <= 0 || m_target->height() <= 0)
        return false;
    // The window draws the paper; taking the picture from it keeps the
    // paper under the old look, so fading it out reveals the new one.
    QWidget *window = m_target->window();
    const QRect area(m_target->mapTo(window, QPoint(0, 0)), m_target->size());
    m_picture = window->grab(area);
    return !m_picture.isNull();
}

void Crossfade::play(int durationMs, const QEasingCurve &curve)
{
    if (m_picture.isNull())
        return;
    if (!m_cover)
        m_cover = new Cover(this, m_target);
    m_cover->setGeometry(m_target->rect());
    m_cover->raise();
    m_cover->show();
    m_fade.start(
        m_cover,
        [this] {
            if (m_fade.isRunning()) {
                if (m_cover)
                    m_cover->update();
                return;
            }
            // The last step: the picture goes and the cover with it.
            m_picture = QPixmap();
            if (m_cover)
                m_cover->hide();
        },
        1, 0, durationMs, curve);
}

void Crossfade::stop()
{
    if (m_fade.isRunning())
        m_fade.finish();
}

bool Crossfade::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target && m_cover) {
        if (event->type() == QEvent::Resize)
            m_cover->setGeometry(m_target->rect());
        else if (event->type() == QEvent::ChildAdded && m_cover->isVisible())
            m_cover->raise(); // stays over children added during the fade
    }
    return QObject::eventFilter(watched, event);
}
