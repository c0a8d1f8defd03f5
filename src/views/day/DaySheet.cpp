#include "views/day/DaySheet.h"

#include "core/Kiv.h"

#include <QPainter>
#include <QVBoxLayout>

DaySheet::DaySheet(const QString &objectName, int spacing, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(int(400 * Kiv::scale()));
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(20, 20, 20, 20);
    m_column->setSpacing(spacing);
}

void DaySheet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Kiv::paper());
}
