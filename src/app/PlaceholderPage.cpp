#include "app/PlaceholderPage.h"

#include "core/Kiv.h"

#include <QPainter>

PlaceholderPage::PlaceholderPage(const QString &objectName, const QString &label, QWidget *parent)
    : QWidget(parent)
    , m_label(label)
{
    setObjectName(objectName);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize PlaceholderPage::sizeHint() const
{
    return {200, 200};
}

void PlaceholderPage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(24, 16, -24, -16);
    QPen dashed(Kiv::hairline(), 1, Qt::DashLine);
    painter.setPen(dashed);
    painter.drawRoundedRect(frame, 8, 8);
    painter.setFont(Kiv::font(12, Kiv::Design::serif));
    painter.setPen(Kiv::inkGhost());
    painter.drawText(frame, Qt::AlignCenter | Qt::TextWordWrap, m_label);
}
