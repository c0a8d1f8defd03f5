#include "views/day/DaySheet.h"

#include "core/Kiv.h"
#include "core/L.h"
#include "views/day/DayStyle.h"
#include "views/ink/InkButton.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

DaySheet::DaySheet(const QString &objectName, int spacing, QWidget *parent)
    : InkDialog(parent)
{
    setObjectName(objectName);
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(int(400 * Kiv::scale()));
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(20, 20, 20, 20);
    m_column->setSpacing(spacing);
}

InkButton *DaySheet::addEditorButtons(const QString &editor, const QString &removeText, std::function<void()> remove)
{
    const QString prefix = QStringLiteral("day.") + editor + QLatin1Char('.');
    auto *buttons = new QHBoxLayout;
    InkButton *removeButton = DayStyle::button(removeText, DayStyle::text(12, Kiv::Colour::vermilion, 0.9),
                                               prefix + QStringLiteral("remove"), this);
    InkButton *cancel = DayStyle::button(L(QStringLiteral("やめる")), DayStyle::text(12, Kiv::Colour::inkSoft),
                                         prefix + QStringLiteral("cancel"), this);
    InkButton *ok = DayStyle::button(L(QStringLiteral("これでよい")), DayStyle::text(14, Kiv::Colour::indigo),
                                     prefix + QStringLiteral("ok"), this);
    buttons->addWidget(removeButton);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addSpacing(8);
    buttons->addWidget(ok);
    m_column->addLayout(buttons);

    connect(removeButton, &InkButton::clicked, this, [this, remove = std::move(remove)] {
        remove();
        reject();
    });
    connect(cancel, &InkButton::clicked, this, &QDialog::reject);
    return ok;
}

void DaySheet::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Kiv::paper());
}
