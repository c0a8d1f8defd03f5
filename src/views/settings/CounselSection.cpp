#include "views/settings/CounselSection.h"

#include "core/L.h"
#include "platform/desktop/Desktop.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/AdvicePrompt.h"
#include "views/settings/SettingsStyle.h"

#include <QVBoxLayout>

CounselSection::CounselSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.counsel"));
    QVBoxLayout *column = addColumn();
    m_copy = SettingsStyle::button(L("頼み文を写す"), QStringLiteral("settings.counsel.copy"));
    connect(m_copy, &InkButton::clicked, this, &CounselSection::copyPrompt);
    column->addLayout(SettingsStyle::buttonRow({m_copy}));
    column->addWidget(SettingsStyle::caption(L("書き出した控えを、この頼み文と一緒に AI に渡すと、\n"
                                               "時間の使い方について話し相手になってもらえます。\n\n"
                                               "控えには、作務の題目や、朝と暮れに書いた一行が入っています。\n"
                                               "人に見せたくないものが混ざっているときは、\n"
                                               "「題目を伏せて書き出す」のほうをお使いください。")));
    m_revert.setSingleShot(true);
    m_revert.setInterval(kCopiedMs);
    connect(&m_revert, &ClockTimer::timeout, this, [this] { setCopied(false); });
}

void CounselSection::copyPrompt()
{
    if (m_copied || m_context.snapshot)
        return;
    m_context.desk().copyText(AdvicePrompt::text());
    setCopied(true);
    m_revert.start();
}

void CounselSection::setCopied(bool copied)
{
    m_copied = copied;
    m_copy->setText(copied ? L("写しました") : L("頼み文を写す"));
    m_copy->setEnabled(!copied);
}
