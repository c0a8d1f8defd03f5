#include "views/settings/FeedbackSection.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/reading/Feedback.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/SideBySide.h"

#include <QCoreApplication>
#include <QVBoxLayout>

FeedbackSection::FeedbackSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.feedback"));
    QVBoxLayout *column = addColumn();
    auto *send = SettingsStyle::button(L("ご意見・ご要望を送る…"), QStringLiteral("settings.feedback.send"));
    send->setAccessibleDescription(L("声を届ける"));
    connect(send, &InkButton::clicked, this, &FeedbackSection::openFeedbackMail);
    auto *line = new SideBySide(new TextBlock(L("声を届ける"), SettingsStyle::labelFont(), Tone{Kiv::Colour::ink}), send);
    line->setObjectName(QStringLiteral("settings.feedback.line"));
    column->addWidget(line);
    column->addWidget(SettingsStyle::caption(L("メールのアプリが開きます。")));
}

void FeedbackSection::openFeedbackMail()
{
    if (m_context.snapshot)
        return;
    // An empty version (none given to the program) is written "?".
    const std::optional<QUrl> url = Feedback::address(QCoreApplication::applicationVersion());
    if (!url)
        return;
    if (!m_context.desk().openUrl(*url))
        m_context.model->showNotice(Feedback::noMailProgramNotice());
}
