#include "app/CommandActions.h"

#include "app/TimerCommands.h"
#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"

#include <QAction>
#include <QWidget>

CommandActions::CommandActions(AppModel &model, std::function<void()> quit, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
    for (const MenuEntry &entry : TimerCommands::entries(model)) {
        auto *action = new QAction(this);
        if (entry.kind == MenuEntry::Kind::divider) {
            action->setSeparator(true);
        } else {
            action->setObjectName(entry.id);
            action->setShortcut(entry.shortcut);
            // The entries are worked out afresh on each use, so the action
            // always does what its current title says.
            connect(action, &QAction::triggered, this, [this, id = entry.id] {
                const QList<MenuEntry> now = TimerCommands::entries(m_model);
                if (const MenuEntry *e = MenuEntry::find(now, id); e && e->enabled && e->trigger)
                    e->trigger();
            });
        }
        m_actions << action;
    }

    auto *quitAction = new QAction(L(QStringLiteral("終了")), this);
    quitAction->setObjectName(QStringLiteral("commands.quit"));
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitAction, &QAction::triggered, this, [quit = std::move(quit)] {
        if (quit)
            quit();
    });
    m_actions << quitAction;

    refresh();
    PomodoroEngine &engine = model.engine();
    connect(&engine, &PomodoroEngine::modeChanged, this, &CommandActions::refresh);
    connect(&engine, &PomodoroEngine::stateChanged, this, &CommandActions::refresh);
    connect(&model.settings(), &AppSettings::alwaysOnTopChanged, this, &CommandActions::refresh);
}

void CommandActions::attach(QWidget *window)
{
    window->addActions(m_actions);
    window->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QAction *CommandActions::action(const QString &id) const
{
    for (QAction *action : m_actions)
        if (action->objectName() == id)
            return action;
    return nullptr;
}

void CommandActions::refresh()
{
    for (const MenuEntry &entry : TimerCommands::entries(m_model)) {
        if (entry.kind == MenuEntry::Kind::divider)
            continue;
        if (QAction *a = action(entry.id)) {
            a->setText(entry.text);
            a->setEnabled(entry.enabled);
        }
    }
}
