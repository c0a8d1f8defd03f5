#pragma once

#include <QObject>
#include <QString>
#include <QUuid>
#include <QVariantMap>
#include <functional>
#include <optional>

class NotificationCenter;

// Hands taps on plan notices to the application. The last tapped plan is kept
// until a handler is installed and then delivered at once, so a tap that
// arrives before the application has set its handler is not lost. Main
// thread only.
class NoticeRoute : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const QUuid &planID, const QString &day)>;

    struct Tap
    {
        QUuid planID;
        QString day; // day key "yyyy-MM-dd"
        bool operator==(const Tap &) const = default;
    };

    explicit NoticeRoute(QObject *parent = nullptr);

    // The process-wide route.
    static NoticeRoute &shared();

    // Routes the taps of this center (not owned) to this route.
    void listen(NotificationCenter *center);

    // Stores the handler, then delivers a pending tap to it at once. An empty
    // handler keeps later taps pending.
    void setOnPlan(Handler handler);
    std::optional<Tap> pending() const { return m_pending; }

    // A tapped notice's user info: a plan notice ("planID" a UUID text, "day"
    // a text) becomes the pending tap, replacing an earlier one, and is
    // delivered when a handler is set. Returns false for any other notice
    // (phase end, day prompts, notices shown at once), which changes nothing.
    bool route(const QVariantMap &userInfo);

private:
    void deliver();

    std::optional<Tap> m_pending;
    Handler m_onPlan;
};
