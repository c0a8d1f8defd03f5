#include "views/day/DeedEditor.h"

#include "core/L.h"
#include "views/day/DayPageRules.h"
#include "views/day/DayStyle.h"
#include "views/day/TimeAndLength.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The title field's frame: a rounded hairline around the field.
class FieldFrame : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Kiv::hairline(), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};

} // namespace

DeedEditor::DeedEditor(const DayDeed &deed, Save save, std::function<void()> remove, QWidget *parent)
    : DaySheet(QStringLiteral("day.deedEditor"), 14, parent)
    , m_save(std::move(save))
{
    setWindowTitle(L(QStringLiteral("したことを直す")));
    column()->addWidget(
        new ElidedLabel(L(QStringLiteral("したことを直す")), Kiv::font(10), Tone{Kiv::Colour::actual}, this));

    auto *frame = new FieldFrame(this);
    auto *frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(8, 6, 8, 6);
    m_title = new PlainLineEdit(frame);
    m_title->setObjectName(QStringLiteral("day.deedEditor.title"));
    m_title->setFont(Kiv::font(16, Kiv::Design::serif));
    m_title->setPlaceholderText(L(QStringLiteral("何をしたか")));
    m_title->setAccessibleName(L(QStringLiteral("何をしたか")));
    m_title->setText(deed.title);
    frameLayout->addWidget(m_title);
    column()->addWidget(frame);

    m_chooser = new TimeAndLength(QStringLiteral("deedEditor"), this);
    m_chooser->set(deed.startMinutes, deed.minutes, 1440);
    column()->addWidget(m_chooser);

    InkButton *ok = addEditorButtons(QStringLiteral("deedEditor"), L(QStringLiteral("取り消す")), remove);
    connect(ok, &InkButton::clicked, this, &DeedEditor::confirm);
    connect(m_title, &QLineEdit::returnPressed, this, &DeedEditor::confirm);
}

void DeedEditor::confirm()
{
    m_save(DayPageRules::oneLine(m_title->text()), m_chooser->start(), m_chooser->minutes());
    accept();
}
