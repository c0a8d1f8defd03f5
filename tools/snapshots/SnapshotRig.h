#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

class AppModel;
class FakeCalendarStore;
class FakeDesktop;
struct ViewContext;

// An application model for still pictures: every collaborator over the
// temporary data and config folders the program was pointed at, the fake
// clock (a fixed morning), fake calendars, notification center, audio
// output and desktop, and a few sample tasks and rounds. Nothing reaches
// the network, the session bus or the user's files.
class SnapshotRig
{
public:
    explicit SnapshotRig(const QDateTime &now = QDateTime(QDate(2025, 3, 5), QTime(9, 30)));
    ~SnapshotRig();

    AppModel &model();
    FakeDesktop &desktop();
    FakeCalendarStore &calendars();
    // The fixed morning the pictures are drawn at.
    QDateTime morning() const;
    // The context of a still picture: the model, the fake desktop, snapshot on.
    ViewContext context();
    // Moves the fake clock (a sweep day, an evening).
    void setNow(const QDateTime &now);
    // Moves the fake clock on, firing what falls due.
    void advance(qint64 ms);

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};
