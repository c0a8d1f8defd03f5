#include "app/TimerCommands.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "model/RunControls.h"

namespace TimerCommands {

QList<MenuEntry> entries(AppModel &model)
{
    PomodoroEngine &engine = model.engine();
    AppSettings &settings = model.settings();
    QList<MenuEntry> out;

    for (const Mode mode : allModes())
        out << MenuEntry::action(QStringLiteral("commands.begin.") + rawValue(mode),
                                 L(QStringLiteral("{0}ではじめる"), ModeInfo::title(mode)),
                                 [&model, mode] {
                                     RunControls::beginAtOnce(model, mode);
                                     // The window shows the round it began.
                                     model.setTab(RootTab::pomodoro);
                                 });
    out << MenuEntry::divider();

    const bool hasMode = engine.mode().has_value();
    MenuEntry startPause = MenuEntry::action(
        QStringLiteral("commands.startPause"),
        engine.state() == RunState::running ? L(QStringLiteral("とめる")) : L(QStringLiteral("はじめる")),
        [&engine] { RunControls::startOrPause(engine); });
    startPause.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Return);
    MenuEntry next = MenuEntry::action(QStringLiteral("commands.next"), L(QStringLiteral("次へ")),
                                       [&engine] { RunControls::next(engine); });
    next.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Right);
    MenuEntry reset =
        MenuEntry::action(QStringLiteral("commands.reset"), L(QStringLiteral("戻す")), [&engine] { engine.reset(); });
    reset.shortcut = QKeySequence(Qt::CTRL | Qt::Key_R);
    MenuEntry chooseAgain = MenuEntry::action(QStringLiteral("commands.chooseAgain"), L(QStringLiteral("選び直す")),
                                              [&engine] { engine.stop(); });
    for (MenuEntry *e : {&startPause, &next, &reset, &chooseAgain}) {
        e->enabled = hasMode;
        out << *e;
    }
    out << MenuEntry::divider();

    MenuEntry onTop = MenuEntry::action(QStringLiteral("commands.alwaysOnTop"),
                                        settings.alwaysOnTop() ? L(QStringLiteral("最前面の固定を外す"))
                                                               : L(QStringLiteral("常に最前面に表示")),
                                        [&settings] { settings.setAlwaysOnTop(!settings.alwaysOnTop()); });
    onTop.shortcut = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T);
    out << onTop << MenuEntry::divider();
    return out;
}

} // namespace TimerCommands
