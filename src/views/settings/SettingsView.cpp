#include "views/settings/SettingsView.h"

#include "core/AppSettings.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "sources/CalendarService.h"
#include "stores/Counsel.h"
#include "views/settings/CalendarChoices.h"
#include "views/settings/SettingsSection.h"

#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// The form's page: plain paper.
class Page : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), Kiv::paper()); }
};

} // namespace

QList<SettingsView::Entry> SettingsView::entries()
{
    using namespace SettingsSections;
    return {
        {QStringLiteral("reading"), L("読みもの"), &reading},
        {QStringLiteral("beginning"), L("始め方"), &beginning},
        {QStringLiteral("sound"), L("音"), &sound},
        {QStringLiteral("appearance"), L("見た目"), &appearance},
        {QStringLiteral("menuBar"), L("トレイ"), &menuBar},
        {QStringLiteral("devices"), L("端末をまたぐ"), &devices},
        {QStringLiteral("dayNotices"), L("一日"), &dayNotices},
        {QStringLiteral("calendar"), L("カレンダー"), &calendar},
        {QStringLiteral("reminders"), L("手がけること"), &reminders},
        {QStringLiteral("sweep"), L("四九日（しくにち）"), &sweep},
        {QStringLiteral("archive"), L("控えを持ち出す"), &archive},
        {QStringLiteral("counsel"), Counsel::title(), &counsel},
        {QStringLiteral("feedback"), QString(), &feedback},
        {QStringLiteral("offering"), QString(), &offering},
        {QStringLiteral("otherDevices"), L("ほかの台でも"), &otherDevices},
        {QStringLiteral("version"), QString(), &version},
    };
}

SettingsView::SettingsView(const ViewContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.view"));
    auto *page = new Page;
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(20, 18, 20, 24);
    column->setSpacing(22);
    for (const Entry &entry : entries()) {
        SettingsSection *section = entry.build(m_context, entry.header, page);
        if (!section)
            continue;
        section->setObjectName(QStringLiteral("settings.") + entry.name);
        column->addWidget(section);
        m_sections << section;
    }
    column->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (m_context.snapshot) {
        // A still picture lays the whole form out in one plain column.
        layout->addWidget(page);
        setFixedWidth(kWidth);
    } else {
        m_scroll = new QScrollArea(this);
        m_scroll->setObjectName(QStringLiteral("settings.scroll"));
        // The page scrolls by keys when focused; it bears the window's name.
        m_scroll->setAccessibleName(L("設定"));
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setWidget(page);
        layout->addWidget(m_scroll);
        setFixedSize(kWidth, kHeight);
    }

    // Writing finished rounds to a calendar needs calendar access.
    AppModel &model = *m_context.model;
    connect(&model.settings(), &AppSettings::calendarEnabledChanged, this, [this] {
        AppModel &m = *m_context.model;
        if (m.settings().calendarEnabled() && !m_context.snapshot)
            m.calendarService().requestAccess();
    });
}

SettingsSection *SettingsView::section(const QString &name) const
{
    for (SettingsSection *s : m_sections)
        if (s->objectName() == name || s->objectName() == QStringLiteral("settings.") + name)
            return s;
    return nullptr;
}

void SettingsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_context.snapshot)
        CalendarChoices::refreshAccess(*m_context.model);
}
