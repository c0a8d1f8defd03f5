#include "views/daily/FadingText.h"

#include "views/ink/Motion.h"
#include "views/ink/TextBlock.h"

#include <algorithm>

namespace {
constexpr int kFadeMs = 250;
}

FadingText::FadingText(const QFont &font, Tone tone, QWidget *parent)
    : QWidget(parent)
    , m_tone(tone)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    for (TextBlock **block : {&m_old, &m_new}) {
        *block = new TextBlock(QString(), font, tone, this);
        (*block)->setAlignment(Qt::AlignHCenter);
    }
    m_old->hide();
    m_fade.setValue(1);
}

QString FadingText::text() const
{
    return m_new->text();
}

void FadingText::setText(const QString &text, bool fade)
{
    if (text == m_new->text())
        return;
    m_old->setText(m_new->text());
    m_new->setText(text);
    setAccessibleName(text);
    updateGeometry();
    if (fade && !m_old->text().isEmpty()) {
        m_old->show();
        m_fade.start(this, [this] { applyLevel(); }, 0, 1, kFadeMs, Motion::easeInOut());
    } else {
        m_fade.setValue(1);
    }
    applyLevel();
}

void FadingText::applyLevel()
{
    const double v = m_fade.value();
    m_new->setTone({m_tone.colour, m_tone.opacity * v});
    m_old->setTone({m_tone.colour, m_tone.opacity * (1 - v)});
    m_old->setVisible(v < 1);
}

QSize FadingText::sizeHint() const
{
    const QSize a = m_new->sizeHint();
    const QSize b = m_old->isVisible() ? m_old->sizeHint() : QSize();
    return a.expandedTo(b);
}

QSize FadingText::minimumSizeHint() const
{
    return m_new->minimumSizeHint();
}

int FadingText::heightForWidth(int width) const
{
    const QMargins m = contentsMargins();
    const int inner = width - m.left() - m.right();
    int h = m_new->heightForWidth(inner);
    if (m_old->isVisible())
        h = std::max(h, m_old->heightForWidth(inner));
    return h + m.top() + m.bottom();
}

void FadingText::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_old->setGeometry(contentsRect());
    m_new->setGeometry(contentsRect());
    setMinimumHeight(heightForWidth(width()));
}
