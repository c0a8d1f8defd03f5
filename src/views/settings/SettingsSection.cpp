#include "views/settings/SettingsSection.h"

#include "core/Kiv.h"
#include "views/ink/TextBlock.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

// The raised panel: paper lifted off the page, a hairline outline and a
// hairline between two shown rows.
class SettingsSection::Panel : public QWidget
{
public:
    Panel(SettingsSection *section)
        : QWidget(section)
        , m_section(section)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath shape;
        shape.addRoundedRect(frame, 8, 8);
        painter.fillPath(shape, Kiv::paperRaised(0.7));
        painter.strokePath(shape, QPen(Kiv::hairline(), 1));

        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Kiv::hairline(0.8), 1));
        bool first = true;
        for (QWidget *row : m_section->rows()) {
            if (row->isHidden())
                continue;
            if (!first) {
                const int y = row->geometry().top() - kRowInsetY;
                painter.drawLine(QPoint(kRowInsetX, y), QPoint(width() - kRowInsetX, y));
            }
            first = false;
        }
    }
    bool event(QEvent *event) override
    {
        // Rows shown or hidden move the lines.
        if (event->type() == QEvent::LayoutRequest)
            update();
        return QWidget::event(event);
    }

private:
    SettingsSection *m_section;
};

SettingsSection::SettingsSection(const QString &header, QWidget *parent)
    : QWidget(parent)
    , m_header(header)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    if (!header.isEmpty()) {
        m_headerLabel = new TextBlock(header, Kiv::tracked(Kiv::font(12, Kiv::Design::sans, QFont::Medium), 0.6, 0.2),
                                      Tone{Kiv::Colour::inkSoft}, this);
        m_headerLabel->setObjectName(QStringLiteral("settings.sectionHeader"));
        m_headerLabel->setContentsMargins(4, 0, 0, 0);
        layout->addWidget(m_headerLabel);
    }
    m_panel = new Panel(this);
    m_rowsLayout = new QVBoxLayout(m_panel);
    m_rowsLayout->setContentsMargins(kRowInsetX, kRowInsetY, kRowInsetX, kRowInsetY);
    m_rowsLayout->setSpacing(2 * kRowInsetY);
    layout->addWidget(m_panel);
}

QWidget *SettingsSection::addRow(QWidget *row)
{
    row->setParent(m_panel);
    m_rowsLayout->addWidget(row);
    m_rows << row;
    return row;
}

QVBoxLayout *SettingsSection::addColumn()
{
    auto *row = new QWidget(m_panel);
    auto *column = new QVBoxLayout(row);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    addRow(row);
    return column;
}
