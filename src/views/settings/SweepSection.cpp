#include "views/settings/SweepSection.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/SweepHint.h"

#include <QVBoxLayout>

SweepSection::SweepSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.sweep"));
    QVBoxLayout *column = addColumn();
    auto *begin = SettingsStyle::button(L("今日、払いに入る"), QStringLiteral("settings.sweep.begin"));
    connect(begin, &InkButton::clicked, this, [this] {
        if (m_context.snapshot)
            return;
        m_context.model->beginSweep();
        window()->close();
    });
    column->addLayout(SettingsStyle::buttonRow({begin}));
    m_hint = SettingsStyle::caption(QString());
    m_hint->setObjectName(QStringLiteral("settings.sweep.hint"));
    column->addWidget(m_hint);
    refresh();
}

void SweepSection::refresh()
{
    m_hint->setText(SweepHint::text(Clock::current().now()));
}

void SweepSection::showEvent(QShowEvent *event)
{
    SettingsSection::showEvent(event);
    refresh();
}
