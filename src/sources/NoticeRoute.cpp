#include "sources/NoticeRoute.h"

#include "core/KivJSON.h"
#include "platform/notify/NotificationCenter.h"

NoticeRoute::NoticeRoute(QObject *parent)
    : QObject(parent)
{
}

NoticeRoute &NoticeRoute::shared()
{
    static NoticeRoute instance;
    return instance;
}

void NoticeRoute::listen(NotificationCenter *center)
{
    connect(center, &NotificationCenter::tapped, this,
            [this](const QString &, const QVariantMap &userInfo) { route(userInfo); });
}

void NoticeRoute::setOnPlan(Handler handler)
{
    m_onPlan = std::move(handler);
    deliver();
}

bool NoticeRoute::route(const QVariantMap &userInfo)
{
    const QVariant planID = userInfo.value(QStringLiteral("planID"));
    const QVariant day = userInfo.value(QStringLiteral("day"));
    if (planID.typeId() != QMetaType::QString || day.typeId() != QMetaType::QString)
        return false;
    const std::optional<QUuid> id = KivJSON::parseUuid(planID.toString());
    if (!id)
        return false;
    m_pending = Tap{*id, day.toString()};
    deliver();
    return true;
}

void NoticeRoute::deliver()
{
    if (!m_pending || !m_onPlan)
        return;
    const Tap tap = *std::exchange(m_pending, std::nullopt);
    m_onPlan(tap.planID, tap.day);
}
