#include "model/AppModel.h"

#include "platform/time/Clock.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "stores/Shikunichi.h"
#include "stores/Sweep.h"

#include <algorithm>

namespace {
// Whether any stored task is not deleted, read in place.
bool hasLiveTask(const QList<LocalTask> &tasks)
{
    return std::any_of(tasks.cbegin(), tasks.cend(), [](const LocalTask &t) { return !t.deletedAt; });
}
} // namespace

AppModel::SweepStep AppModel::SweepStep::following(SweepStep step, int targets)
{
    switch (step.kind) {
    case Kind::opening:
        return looking();
    case Kind::looking:
        return targets > 0 ? asking(0) : tidying();
    case Kind::asking:
        return step.index + 1 < targets ? asking(step.index + 1) : tidying();
    case Kind::tidying:
        return resting();
    case Kind::resting:
    case Kind::standing:
        return standing();
    }
    return standing();
}

bool AppModel::needsSweep() const
{
    const QDateTime now = Clock::current().now();
    return Shikunichi::isSweepDay(now) && !m_days->isSwept(now) && hasLiveTask(m_taskHub->local().allTasks());
}

void AppModel::setSweeping(const std::optional<Sweeping> &sweeping)
{
    assign(m_sweeping, sweeping, &AppModel::sweepingChanged);
}

std::optional<int> AppModel::sweepingIndex() const
{
    if (!m_sweeping || m_sweeping->step.kind != SweepStep::Kind::asking)
        return std::nullopt;
    const int i = m_sweeping->step.index;
    if (i < 0 || i >= m_sweeping->targets.size())
        return std::nullopt;
    return i;
}

std::optional<LocalTask> AppModel::sweepingTask() const
{
    if (const std::optional<int> i = sweepingIndex())
        return m_sweeping->targets.at(*i);
    return std::nullopt;
}

void AppModel::beginSweep()
{
    const QList<LocalTask> targets = Sweep::quiet(m_taskHub->local().allTasks(), Clock::current().now(), kSweepLimit);
    setSweeping(Sweeping{SweepStep::opening(), targets});
    setTab(RootTab::tasks);
}

Lookback::Summary AppModel::lookback() const
{
    const QDateTime now = Clock::current().now();
    return Lookback::summary(m_store->records(), m_days->lastSwept(now), now);
}

void AppModel::answerSweep(bool keep)
{
    const std::optional<int> i = sweepingIndex();
    if (!i)
        return;
    const QList<LocalTask> targets = m_sweeping->targets;
    const QDateTime now = Clock::current().now();
    if (keep)
        m_taskHub->local().markReviewed(targets.at(*i).id, now);
    else
        m_taskHub->local().setAside(targets.at(*i).id, now);
    m_taskHub->reload();
    const int next = *i + 1;
    setSweeping(Sweeping{next < targets.size() ? SweepStep::asking(next) : SweepStep::tidying(), targets});
}

void AppModel::endSweep(const std::optional<QString> &guide)
{
    const QDateTime now = Clock::current().now();
    if (guide) {
        const QString trimmed = guide->trimmed();
        if (!trimmed.isEmpty())
            m_days->setGuide(trimmed, now);
    }
    m_days->markSwept(now, now);
    setSweeping(std::nullopt);
}

bool AppModel::invitesShikunichi() const
{
    const QDateTime now = Clock::current().now();
    if (m_days->isSwept(now) || m_sweeping)
        return false;
    if (Shikunichi::isSweepDay(now))
        return true;
    if (m_days->currentGuide(now))
        return false;
    return m_days->lastGuide(now).has_value();
}
