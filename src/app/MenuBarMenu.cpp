#include "app/MenuBarMenu.h"

#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "model/ClockText.h"
#include "model/RunControls.h"

namespace MenuBarMenu {

namespace {

const QChar kIdeographicSpace(0x3000);

std::function<void()> opening(const ShellActions &shell, const QString &window)
{
    return [shell, window] {
        if (shell.activate)
            shell.activate();
        if (shell.openWindow)
            shell.openWindow(window);
    };
}

} // namespace

QString statusLine(const AppModel &model)
{
    const PomodoroEngine &engine = model.engine();
    if (!engine.mode())
        return {};
    return ModeInfo::title(*engine.mode()) + kIdeographicSpace + phaseTitle(engine.phase()) + kIdeographicSpace +
           ClockText::full(engine.remaining());
}

QString toolTip(const AppModel &model)
{
    return model.menuBarTitle();
}

QList<MenuEntry> entries(AppModel &model, const ShellActions &shell)
{
    PomodoroEngine &engine = model.engine();
    QList<MenuEntry> out;
    if (engine.mode()) {
        out << MenuEntry::label(QStringLiteral("tray.status"), statusLine(model));
        MenuEntry startPause = MenuEntry::action(
            QStringLiteral("tray.startPause"),
            engine.state() == RunState::running ? L(QStringLiteral("とめる")) : L(QStringLiteral("はじめる")),
            [&engine] { RunControls::startOrPause(engine); });
        startPause.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Return);
        out << startPause
            << MenuEntry::action(QStringLiteral("tray.next"), L(QStringLiteral("次へ")),
                                 [&engine] { RunControls::next(engine); })
            << MenuEntry::action(QStringLiteral("tray.reset"), L(QStringLiteral("戻す")), [&engine] { engine.reset(); })
            << MenuEntry::action(QStringLiteral("tray.chooseAgain"), L(QStringLiteral("選び直す")),
                                 [&engine] { engine.stop(); });
    } else {
        out << MenuEntry::label(QStringLiteral("tray.heading"), L(QStringLiteral("どう進めますか")));
        const std::function<void()> showTimer = opening(shell, QStringLiteral("timer"));
        for (const Mode mode : allModes())
            out << MenuEntry::action(QStringLiteral("tray.begin.") + rawValue(mode), ModeInfo::title(mode),
                                     [&model, mode, showTimer] {
                                         RunControls::beginAtOnce(model, mode);
                                         // The round just begun is what the window opens on.
                                         model.setTab(RootTab::pomodoro);
                                         showTimer();
                                     });
    }

    out << MenuEntry::divider()
        << MenuEntry::action(QStringLiteral("tray.openTimer"), L(QStringLiteral("タイマーを開く")),
                             opening(shell, QStringLiteral("timer")))
        << MenuEntry::action(QStringLiteral("tray.openHistory"), L(QStringLiteral("記録を開く")),
                             opening(shell, QStringLiteral("history")))
        << MenuEntry::action(QStringLiteral("tray.openGlossary"), L(QStringLiteral("言葉のしおりを開く")),
                             opening(shell, QStringLiteral("glossary")))
        << MenuEntry::divider();
    MenuEntry quit = MenuEntry::action(QStringLiteral("tray.quit"), L(QStringLiteral("終了")), [shell] {
        if (shell.quit)
            shell.quit();
    });
    quit.shortcut = QKeySequence(Qt::CTRL | Qt::Key_Q);
    out << quit;
    return out;
}

} // namespace MenuBarMenu
