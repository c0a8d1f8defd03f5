#include "views/ink/Reveal.h"

#include "views/ink/Motion.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <cmath>

Reveal::Reveal(QWidget *content, QWidget *parent)
    : QWidget(parent)
    , m_content(content)
    , m_curve(Motion::easeInOut())
{
    content->setParent(this);
    content->move(0, 0);
    content->show();
    m_effect = new QGraphicsOpacityEffect(content);
    m_effect->setEnabled(false);
    content->setGraphicsEffect(m_effect);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_move.setValue(1);
}

void Reveal::setMotion(int durationMs, const QEasingCurve &curve)
{
    m_durationMs = durationMs;
    m_curve = curve;
}

int Reveal::naturalHeight(int width) const
{
    if (width <= 0)
        width = m_content->sizeHint().width();
    return m_content->hasHeightForWidth() ? m_content->heightForWidth(width) : m_content->sizeHint().height();
}

double Reveal::opacity() const
{
    return Motion::mix(m_fadeFrom, m_fadeTo, m_move.value());
}

int Reveal::heightForWidth(int width) const
{
    const int target = m_shown ? naturalHeight(width) : 0;
    if (!m_move.isRunning())
        return target;
    return int(std::lround(Motion::mix(m_fromHeight, target, m_move.value())));
}

QSize Reveal::sizeHint() const
{
    const int width = m_content->sizeHint().width();
    return {width, heightForWidth(this->width() > 0 ? this->width() : width)};
}

QSize Reveal::minimumSizeHint() const
{
    return {m_content->minimumSizeHint().width(), sizeHint().height()};
}

void Reveal::setShown(bool shown)
{
    if (shown == m_shown && !m_move.isRunning() && isVisibleTo(parentWidget()) == shown)
        return;
    const bool wasOnScreen = isVisible();
    m_fromHeight = wasOnScreen ? height() : 0;
    const double fadeFrom = wasOnScreen ? opacity() : 0;
    m_shown = shown;
    if (shown)
        show();
    m_fadeFrom = fadeFrom;
    startMove(shown ? 1 : 0);
}

void Reveal::setShownNow(bool shown)
{
    m_shown = shown;
    m_move.setValue(1);
    m_fadeFrom = m_fadeTo = shown ? 1 : 0;
    m_effect->setEnabled(false);
    setVisible(shown);
    updateGeometry();
    placeContent();
}

void Reveal::follow()
{
    if (!m_shown || !isVisible())
        return;
    const int from = height();
    if (from == naturalHeight(width()) && !m_move.isRunning())
        return;
    m_fromHeight = from;
    m_fadeFrom = opacity();
    startMove(1);
}

void Reveal::startMove(double fadeTo)
{
    m_fadeTo = fadeTo;
    m_move.start(this, [this] { onStep(); }, 0, 1, m_durationMs, m_curve);
}

void Reveal::onStep()
{
    const double level = opacity();
    m_effect->setOpacity(level);
    m_effect->setEnabled(m_move.isRunning() && level < 1);
    updateGeometry();
    placeContent();
    if (!m_move.isRunning() && !m_shown)
        hide();
    emit stepped();
}

void Reveal::placeContent()
{
    const int w = width() > 0 ? width() : m_content->sizeHint().width();
    m_content->setGeometry(0, 0, w, naturalHeight(w));
}

void Reveal::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeContent();
}

bool Reveal::event(QEvent *event)
{
    // The content's layout changed: lay it out again at its full height;
    // at rest the box takes the new height at once (follow() moves to it).
    if (event->type() == QEvent::LayoutRequest) {
        placeContent();
        if (!m_move.isRunning())
            updateGeometry();
    }
    return QWidget::event(event);
}
