#include "views/timer/RoundsChoice.h"

#include "core/L.h"
#include "core/Mode.h"
#include "core/TaskTitle.h"
#include "model/AppModel.h"

#include <algorithm>

namespace {

qsizetype indexOf(const QStringList &chosen, const QString &title)
{
    for (qsizetype i = 0; i < chosen.size(); ++i)
        if (TaskTitle::same(chosen.at(i), title))
            return i;
    return -1;
}

} // namespace

void RoundsChoice::toggle(const QString &title)
{
    const qsizetype at = indexOf(m_chosen, title);
    if (at >= 0)
        m_chosen.removeAt(at);
    else
        m_chosen << title;
}

std::optional<int> RoundsChoice::position(const QString &title) const
{
    const qsizetype at = indexOf(m_chosen, title);
    if (at < 0)
        return std::nullopt;
    return int(at) + 1;
}

int RoundsChoice::minutes(int rounds)
{
    return rounds < 1 ? 0 : kRoundMinutes * rounds + kBreakMinutes * (rounds - 1);
}

QString RoundsChoice::span() const
{
    return spanString(minutes(int(m_chosen.size())) * 60.0);
}

QString RoundsChoice::summary() const
{
    if (m_chosen.isEmpty())
        return L(QStringLiteral("まだ選んでいません"));
    return L(QStringLiteral("{0}つ ・ およそ {1}"), m_chosen.size(), span());
}

bool RoundsChoice::canConfirm() const
{
    return std::any_of(m_chosen.begin(), m_chosen.end(), [](const QString &t) { return !t.trimmed().isEmpty(); });
}

void RoundsChoice::confirm(AppModel &model) const
{
    model.beginRounds(m_chosen);
}

QString RoundsChoice::explanation()
{
    return L(QStringLiteral("選んだ順に、{0}分ずつ。あいだに {1}分。\n早く済んだら「了とする」か「手を離す」で次へ回ります。"),
             kRoundMinutes, kBreakMinutes);
}
