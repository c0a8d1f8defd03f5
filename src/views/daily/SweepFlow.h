#pragma once

#include "model/AppModel.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <optional>

// What the sweep screen shows at each step, and how it moves on: the page
// of a step, the texts that depend on the quiet tasks, the review position,
// the three headings, the look-back bars and the day's suggestion. Plain
// rules, so the screen only draws what they say.
namespace SweepFlow {

using Sweeping = std::optional<AppModel::Sweeping>;

enum class Page { none, opening, looking, asking, tidying, resting, standing };

// The page of the sweep's step; none while no sweep runs.
Page pageOf(const Sweeping &sweeping);

// The sweep one step further, with the same quiet tasks; nothing without a
// sweep.
Sweeping advanced(const Sweeping &sweeping);

// The line under the opening text: how many quiet tasks wait, or that none do.
QString countLine(const Sweeping &sweeping);
// The label of the look-back's button: on to the first review when there
// are quiet tasks, else simply next.
QString lookbackNext(const Sweeping &sweeping);
// "3 / 7" on the third of seven reviews; empty outside a review.
QString position(const Sweeping &sweeping);

// The heading of one of the three things put in order ("一 抱えているもの").
QString heading(int index);

// The width of a look-back bar: the title's share of all minutes of the
// available width, never less than one point (a title without minutes
// still shows a hairline).
double barWidth(int minutes, int total, double available);

// A suggestion page: for one's surroundings or for oneself.
struct Suggestions
{
    int current = 1; // the heading it stresses
    QString title;
    QString lead;
    QStringList items;
    QString note;
    QString next; // the label of the button that goes on
};
Suggestions surroundings();
Suggestions oneself();

// The suggestion shown on the date after `offset` asks for another one: it
// starts from the day of the year and moves on by one per ask, wrapping.
int shownIndex(int count, const QDateTime &on, int offset, const QTimeZone &zone = QTimeZone::systemTimeZone());
// "今日は、{0}。" with that suggestion.
QString suggestionLine(const Suggestions &page, const QDateTime &on, int offset,
                       const QTimeZone &zone = QTimeZone::systemTimeZone());

// The guide as a still picture shows it: an ideographic space when empty,
// so the line keeps its height.
QString guideShown(const QString &guide);

} // namespace SweepFlow
