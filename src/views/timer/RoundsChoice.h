#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class AppModel;

// The rounds picker's choice: the task titles a rounds run will go round,
// in the order they were clicked. A click adds a title at the end or takes
// it out again; titles are held as the tasks write them and matched trimmed,
// so two rows whose titles differ only by blanks at their ends are chosen
// and unchosen together, as the run (which trims its titles) would treat
// them as one.
class RoundsChoice
{
public:
    // The picker's own lengths, the same the engine gives a rounds run.
    static constexpr int kRoundMinutes = 10;
    static constexpr int kBreakMinutes = 1;

    const QStringList &chosen() const { return m_chosen; }

    // Takes the title out when it is chosen, else adds it at the end.
    void toggle(const QString &title);
    // The row's place in the order (1, 2, …), or nothing when not chosen.
    std::optional<int> position(const QString &title) const;

    // About how long the run takes: 10 minutes a round, 1 between two.
    static int minutes(int rounds);
    QString span() const;
    // "Nothing chosen yet", or "{n} · about {span}".
    QString summary() const;
    // Confirm is enabled only when at least one chosen title is not blank:
    // blank titles are dropped when the run begins.
    bool canConfirm() const;
    // Hands the choice to the model, which begins the rounds run (with its
    // bell and, when set, the preparation).
    void confirm(AppModel &model) const;

    // The line under the picker's title.
    static QString explanation();

private:
    QStringList m_chosen;
};
