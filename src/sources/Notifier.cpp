#include "sources/Notifier.h"

#include "core/AppSettings.h"
#include "core/DayQuestion.h"
#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/notify/NotificationCenter.h"

#include "stores/DayNote.h"

#include <QUuid>
#include <algorithm>

namespace {

NotificationRequest request(const QString &identifier, const QString &title, const QString &body,
                            NotificationRequest::Sound sound, const NotificationTrigger &trigger,
                            const QVariantMap &userInfo = {})
{
    NotificationRequest r;
    r.identifier = identifier;
    r.title = title;
    r.body = body;
    r.sound = sound;
    r.trigger = trigger;
    r.userInfo = userInfo;
    return r;
}

} // namespace

Notifier::Notifier(NotificationCenter *center, QObject *parent)
    : QObject(parent)
    , m_center(center)
{
}

Notifier &Notifier::shared()
{
    static Notifier instance;
    return instance;
}

void Notifier::setCenter(NotificationCenter *center)
{
    m_center = center;
}

bool Notifier::active() const
{
    return m_center && m_center->isAvailable();
}

void Notifier::requestAuthorizationIfNeeded()
{
    if (!active() || m_asked)
        return;
    m_asked = true;
    QPointer<Notifier> self(this);
    m_center->requestAuthorization([self](bool granted) {
        if (self)
            self->m_authorized = granted;
    });
}

void Notifier::schedule(double after, const QString &title, const QString &body)
{
    if (!active())
        return;
    m_center->removePendingRequests(QStringList{kPhaseEnd});
    if (after > 0.5)
        m_center->add(request(kPhaseEnd, title, body, NotificationRequest::Sound::Default,
                              NotificationTrigger::interval(after)));
}

void Notifier::withdrawPendingPlanNotices()
{
    // Withdraw by listing, so exactly the requests pending at this moment go:
    // a request added later under the same identifier is never touched.
    QList<PendingNotification> planNotices = m_center->pendingRequests();
    planNotices.removeIf(
        [](const PendingNotification &p) { return !p.request.identifier.startsWith(kPlanPrefix); });
    if (!planNotices.isEmpty())
        m_center->removePendingRequests(planNotices);
}

void Notifier::schedulePlanNotices(const QList<PlanNotice::Item> &advance, const QList<PlanNotice::Item> &arrivals,
                                   const QDateTime &day, const QDateTime &now)
{
    if (!active())
        return;
    withdrawPendingPlanNotices();
    const QString key = dayKey(day);
    auto addAll = [&](const QList<PlanNotice::Item> &items, const QString &prefix, const char *titleKey,
                      NotificationRequest::Sound sound) {
        for (const PlanNotice::Item &item : items) {
            const double delay = now.msecsTo(item.at) / 1000.0;
            if (delay <= 0.5)
                continue;
            const QString id = KivJSON::uuidString(item.planID);
            m_center->add(request(prefix + id, L(QString::fromUtf8(titleKey), clockText(item.start)), item.title,
                                  sound, NotificationTrigger::interval(delay),
                                  QVariantMap{{QStringLiteral("planID"), id}, {QStringLiteral("day"), key}}));
        }
    };
    addAll(advance, kPlanPrefix, "まもなく {0}", NotificationRequest::Sound::None);
    addAll(arrivals, kArrivalPrefix, "{0}　始める時刻です", NotificationRequest::Sound::Default);
}

void Notifier::cancelPlanNotices()
{
    if (!active())
        return;
    withdrawPendingPlanNotices();
}

void Notifier::scheduleDayPrompts(int morningHour, int eveningHour, bool enabled)
{
    if (!active())
        return;
    m_center->removePendingRequests(QStringList{kMorning, kEvening});
    if (!enabled)
        return;
    m_center->add(request(kMorning, L("朝"), DayQuestion::morning(), NotificationRequest::Sound::Default,
                          NotificationTrigger::timeOfDay(std::clamp(morningHour, 0, 23), 0, true)));
    m_center->add(request(kEvening, L("暮"), DayQuestion::evening(), NotificationRequest::Sound::Default,
                          NotificationTrigger::timeOfDay(std::clamp(eveningHour, 0, 23), 0, true)));
}

void Notifier::scheduleDayPrompts(const AppSettings &settings)
{
    scheduleDayPrompts(settings.morningHour(), settings.eveningHour(), settings.dayPrompts());
}

void Notifier::post(const QString &title, const QString &body)
{
    if (!active() || !m_authorized)
        return;
    m_center->add(request(KivJSON::uuidString(QUuid::createUuid()), title, body, NotificationRequest::Sound::None,
                          NotificationTrigger::immediate()));
}

void Notifier::postEnding(const QString &title, const QString &body)
{
    if (!active() || !m_authorized)
        return;
    m_center->add(request(kPhaseEnd, title, body, NotificationRequest::Sound::None, NotificationTrigger::immediate()));
}

QString Notifier::dayKey(const QDateTime &date)
{
    return DayNote::key(date);
}

QString Notifier::clockText(const QDateTime &time)
{
    const QTime t = time.toLocalTime().time();
    return QStringLiteral("%1:%2").arg(t.hour()).arg(t.minute(), 2, 10, QLatin1Char('0'));
}
