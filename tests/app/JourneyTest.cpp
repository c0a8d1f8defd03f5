// A new user's first day, driven through the main window's own widgets:
// the introduction, a task written in the composer, a quick round begun from
// its card on that task and run to its end, the round in the history window
// and on the day page, the progress line in the task's notes, every screen
// in English at the next start, and the history reaching a second machine
// through the Drive.
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "app/RootWorkspace.h"
#include "app/TopTabs.h"
#include "app/FooterBar.h"
#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "platform/net/Http.h"
#include "platform/files/DataFile.h"
#include "sources/LocalTaskSource.h"
#include "support/FakeDrive.h"
#include "support/JapaneseText.h"
#include "support/KeptInJapanese.h"
#include "sync/SyncService.h"
#include "views/ViewTest.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/TextBlock.h"
#include "views/ink/Saying.h"
#include "views/reading/HistoryList.h"
#include "views/reading/Intro.h"
#include "views/settings/ToggleRow.h"
#include "views/ink/ToggleSwitch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSet>
#include <QTest>
#include <memory>

namespace {

using namespace ModelRigs;

const QString kTask = QStringLiteral("Mend the gate");

// The texts the interface keeps in Japanese in either language.
bool keptInJapanese(const QString &text)
{
    for (const QString &key : KeptInJapanese::keys())
        if (text.contains(key))
            return true;
    // A saying's phrase stays as written; its reading and gloss are translated.
    for (const Saying &saying : Saying::all())
        if (text.startsWith(saying.phrase) && !hasJapanese(text.mid(saying.phrase.size())))
            return true;
    // The how-to sheet's bullet reads the same in both languages.
    if (text == QStringLiteral("・"))
        return true;
    // The caption under the copy-the-prompt button: the prompt is Japanese too.
    return text.startsWith(QStringLiteral("最後は")) || text.startsWith(QStringLiteral("書き出した控えを"));
}

struct JourneyTest : ViewTest
{
    FakeDrive drive;
    std::unique_ptr<Rig> rig;
    std::unique_ptr<Rig> other; // the second machine
    FakeDesktop desk;
    std::unique_ptr<QuillmereApp> app;

    void SetUp() override
    {
        ViewTest::SetUp();
        rig = std::make_unique<Rig>();
        other = std::make_unique<Rig>(rig->clock);
        Rig::connectGoogle();
        for (Rig *r : {rig.get(), other.get()}) {
            r->authConfig.tokenUrl = drive.url(QStringLiteral("/token"));
            r->authConfig.revokeUrl = drive.url(QStringLiteral("/revoke"));
            r->drive.host = drive.url();
        }
        rig->settings.setHasSeenIntro(false);
        rig->build();
        other->settings.setHasSeenIntro(true);
        other->build();
    }
    void TearDown() override
    {
        app.reset();
        other.reset();
        rig.reset();
        ViewTest::TearDown();
    }

    // Starts the windows over the model, as a launch does.
    void launch()
    {
        app.reset();
        ViewContext context;
        context.model = rig->model.get();
        context.desktop = &desk;
        app = std::make_unique<QuillmereApp>(context);
        app->openWindow(QStringLiteral("timer"));
        app->mainWindow()->resize(RootView::kIdealSize);
        settle();
    }
    RootView &root() const { return *app->rootView(); }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCoreApplication::processEvents();
    }
    template<class T = QWidget>
    static T *findIn(QWidget *top, const QString &name)
    {
        return top ? top->findChild<T *>(name) : nullptr;
    }
    template<class T = QWidget>
    T *find(const QString &name) const
    {
        return findIn<T>(app->mainWindow(), name);
    }
    // A visible widget of this name in any window (popovers are windows of their own).
    template<class T = QWidget>
    static T *findShown(const QString &name)
    {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (!top->isVisible())
                continue;
            if (top->objectName() == name && qobject_cast<T *>(top))
                return qobject_cast<T *>(top);
            for (T *w : top->findChildren<T *>(name))
                if (w->isVisible())
                    return w;
        }
        return nullptr;
    }
    static void press(QWidget *button)
    {
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        settle();
    }
    void press(const QString &name) { press(findShown(name)); }
    // Clicks the list's row whose accessible text begins with `text`.
    static bool clickRow(QListView *list, const QString &text)
    {
        QAbstractItemModel *rows = list->model();
        for (int r = 0; r < rows->rowCount(); ++r) {
            const QModelIndex index = rows->index(r, 0);
            if (!index.data(Qt::AccessibleTextRole).toString().startsWith(text))
                continue;
            list->scrollTo(index);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
            settle();
            return true;
        }
        return false;
    }
    std::optional<LocalTask> task() const
    {
        for (const LocalTask &t : rig->local.tasks())
            if (t.title == kTask)
                return t;
        return std::nullopt;
    }

    // Every text the visible widgets of this window show or name.
    static QStringList visibleTexts(QWidget *top)
    {
        QStringList texts;
        QList<QWidget *> widgets = top->findChildren<QWidget *>();
        widgets.prepend(top);
        for (QWidget *w : widgets) {
            if (!w->isVisible())
                continue;
            texts << w->accessibleName() << w->toolTip() << w->accessibleDescription();
            if (auto *label = qobject_cast<QLabel *>(w))
                texts << label->text();
            if (auto *button = qobject_cast<QAbstractButton *>(w))
                texts << button->text();
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                texts << edit->placeholderText();
            if (auto *label = qobject_cast<ElidedLabel *>(w))
                texts << label->text();
            if (auto *block = qobject_cast<TextBlock *>(w))
                texts << block->text();
            if (auto *list = qobject_cast<QAbstractItemView *>(w); list && list->model()) {
                for (int r = 0; r < list->model()->rowCount(); ++r) {
                    const QModelIndex index = list->model()->index(r, 0);
                    texts << index.data(Qt::DisplayRole).toString() << index.data(Qt::AccessibleTextRole).toString();
                }
            }
        }
        texts.removeAll(QString());
        return texts;
    }
    // The texts with Japanese in them, less the user's own, the stored
    // titles of the records (a break's is kept in Japanese as it was
    // written) and those kept in Japanese.
    QStringList japaneseLeft(QWidget *top, const QString &where) const
    {
        QSet<QString> stored;
        for (const SessionRecord &r : rig->store.records())
            stored << r.title;
        QStringList left;
        for (const QString &text : visibleTexts(top))
            if (hasJapanese(text) && !text.contains(kTask) && !stored.contains(text) && !keptInJapanese(text))
                left << where + QStringLiteral(": ") + text;
        left.removeDuplicates();
        return left;
    }
};

TEST_F(JourneyTest, AFirstDayThroughTheWindows)
{
    Lang::setForTesting(true);
    launch();

    // The introduction, page by page to its end.
    {
        SCOPED_TRACE("introduction");
        ASSERT_NE(root().intro(), nullptr);
        const int pages = int(Intro::pages().size());
        for (int i = 0; i < pages && root().intro(); ++i)
            press(find(QStringLiteral("intro.main")));
        EXPECT_EQ(root().intro(), nullptr);
        EXPECT_TRUE(rig->settings.hasSeenIntro());
        ASSERT_NE(root().workspace(), nullptr);
    }

    // A task written in the composer of the task list.
    {
        SCOPED_TRACE("composer");
        press(find(TopTabs::labelName(RootTab::tasks)));
        auto *composer = find<QLineEdit>(QStringLiteral("tasks.composer"));
        ASSERT_NE(composer, nullptr);
        ASSERT_TRUE(composer->isVisible());
        QTest::mouseClick(composer, Qt::LeftButton, {}, composer->rect().center());
        QTest::keyClicks(composer, kTask);
        QTest::keyClick(composer, Qt::Key_Return);
        settle();
        ASSERT_TRUE(task());
        EXPECT_TRUE(composer->text().isEmpty());
    }

    // A quick round from its card, on that task, run to its end.
    {
        SCOPED_TRACE("round");
        press(find(TopTabs::labelName(RootTab::pomodoro)));
        press(find(QStringLiteral("timer.mode.quick")));
        ASSERT_EQ(rig->engine().mode(), std::optional(Mode::quick));
        ASSERT_EQ(rig->engine().state(), RunState::running);
        press(find(QStringLiteral("timer.titleField.list")));
        auto *list = findShown<QListView>(QStringLiteral("timer.taskPicker.list"));
        ASSERT_NE(list, nullptr);
        if (!clickRow(list, kTask)) {
            // A task without a day waits behind the fold of undated tasks.
            bool opened = false;
            for (int r = 0; r < list->model()->rowCount() && !opened; ++r) {
                const QModelIndex index = list->model()->index(r, 0);
                if (index.flags() & Qt::ItemIsEnabled) {
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
                    settle();
                    opened = true;
                }
            }
            ASSERT_TRUE(clickRow(list, kTask));
        }
        ASSERT_TRUE(rig->model->linkedTask());
        EXPECT_EQ(rig->model->linkedTask()->title, kTask);
        EXPECT_EQ(find<QLineEdit>(QStringLiteral("timer.titleField.edit"))->text(), kTask);

        // Every phase of the quick rhythm, each to its end on the clock.
        for (int phase = 0; phase < 8 && rig->engine().state() != RunState::finished; ++phase) {
            rig->finishPhase();
            settle();
        }
        QList<SessionRecord> focus;
        for (const SessionRecord &r : rig->store.records())
            if (r.phase == Phase::focus)
                focus << r;
        ASSERT_EQ(focus.size(), 1);
        const SessionRecord record = focus.first();
        EXPECT_EQ(record.title, kTask);
        EXPECT_TRUE(record.completed);
        ASSERT_TRUE(record.taskRef);
        EXPECT_EQ(LocalTaskSource::localId(*record.taskRef), std::optional(task()->id));
        EXPECT_EQ(rig->engine().state(), RunState::finished);
        EXPECT_TRUE(findShown(QStringLiteral("timer.completion")));
    }

    // The history window lists it.
    {
        SCOPED_TRACE("history");
        press(find(QStringLiteral("footer.history")));
        PaperWindow *history = app->window(QStringLiteral("history"));
        ASSERT_NE(history, nullptr);
        ASSERT_TRUE(history->isVisible());
        auto *list = findIn<HistoryList>(history, QStringLiteral("history.list"));
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(list->isVisible());
        bool listed = false;
        for (const QString &text : visibleTexts(history))
            listed = listed || text.contains(kTask);
        EXPECT_TRUE(listed);
    }

    // The day page shows it as a deed.
    {
        SCOPED_TRACE("day");
        press(find(TopTabs::labelName(RootTab::day)));
        QWidget *deed = find(QStringLiteral("day.deed"));
        ASSERT_NE(deed, nullptr);
        EXPECT_TRUE(deed->isVisible());
        EXPECT_TRUE(deed->accessibleName().contains(kTask)) << deed->accessibleName().toStdString();
    }

    // The task's notes hold the progress line.
    {
        SCOPED_TRACE("notes");
        ASSERT_TRUE(task());
        const QString notes = task()->notes.value_or(QString());
        EXPECT_TRUE(notes.startsWith(QStringLiteral("⏱ 2025-03-05 "))) << notes.toStdString();
        EXPECT_EQ(notes.count(QStringLiteral("⏱")), 1) << notes.toStdString();
        const QString file = QString::fromUtf8(
            DataFile::read(rig->dirs.dataDir() + QLatin1Char('/') + LocalTaskStore::fileName).bytes);
        EXPECT_TRUE(file.contains(notes.section(QLatin1Char('\n'), 0, 0))) << "the line reached the file";
    }

    // The next start in English: no Japanese left on any screen but the
    // user's own text and the texts kept in Japanese.
    {
        SCOPED_TRACE("english");
        // The same scan finds the Japanese interface before the switch.
        EXPECT_GT(japaneseLeft(app->mainWindow(), QStringLiteral("main")).size(), 10);
        Lang::setForTesting(false);
        launch();
        QStringList left;
        // Every window on show.
        auto scan = [&](const QString &where) {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->isVisible())
                    left << japaneseLeft(top, where + QLatin1Char('/') + top->objectName());
        };
        for (RootTab tab : {RootTab::pomodoro, RootTab::tasks, RootTab::day, RootTab::daily}) {
            press(find(TopTabs::labelName(tab)));
            scan(rawValue(tab));
        }
        // The finished run, left for the choice of modes; a round running
        // with its task picker open.
        press(find(TopTabs::labelName(RootTab::pomodoro)));
        press(find(QStringLiteral("timer.backButton")));
        ASSERT_EQ(rig->engine().mode(), std::nullopt);
        scan(QStringLiteral("modes"));
        press(find(QStringLiteral("timer.mode.hour")));
        ASSERT_EQ(rig->engine().state(), RunState::running);
        press(find(QStringLiteral("timer.titleField.list")));
        ASSERT_NE(findShown(QStringLiteral("timer.taskPicker")), nullptr);
        scan(QStringLiteral("running"));
        QTest::keyClick(findShown(QStringLiteral("timer.taskPicker")), Qt::Key_Escape);
        settle();
        press(find(QStringLiteral("timer.backButton")));
        ASSERT_EQ(rig->engine().mode(), std::nullopt);
        EXPECT_EQ(rig->store.records().size(), 2) << "a round left at once leaves no record";

        press(find(QStringLiteral("footer.howTo")));
        scan(QStringLiteral("howTo"));
        app->rootView()->workspace()->footer()->closeHowTo();
        settle();
        press(find(QStringLiteral("footer.history")));
        press(find(QStringLiteral("footer.glossary")));
        press(find(QStringLiteral("footer.settings")));
        scan(QStringLiteral("windows"));
        left.removeDuplicates();
        EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1Char('\n')).toStdString();
    }

    // A sync from the settings reaches the second machine.
    {
        SCOPED_TRACE("sync");
        PaperWindow *settings = app->window(QStringLiteral("settings"));
        ASSERT_NE(settings, nullptr);
        auto *place = findIn<ToggleRow>(settings, QStringLiteral("settings.devices.syncPlace"));
        ASSERT_NE(place, nullptr);
        if (rig->settings.syncPlace() != SyncPlace::drive)
            press(place->toggle());
        ASSERT_EQ(rig->settings.syncPlace(), SyncPlace::drive);
        settle();
        auto *syncNow = findIn<QAbstractButton>(settings, QStringLiteral("settings.devices.syncNow"));
        ASSERT_NE(syncNow, nullptr);
        ASSERT_TRUE(spinUntil([&] { return Http::inFlight() == 0 && !rig->model->sync().isWorking(); }));
        settle();
        ASSERT_TRUE(syncNow->isEnabled());
        press(syncNow);
        ASSERT_TRUE(spinUntil([&] { return Http::inFlight() == 0 && !rig->model->sync().isWorking(); }));
        EXPECT_EQ(rig->model->sync().stateKind(), SyncService::StateKind::done);
        EXPECT_FALSE(drive.live().isEmpty());

        other->settings.setSyncPlace(SyncPlace::drive);
        std::optional<QString> answer;
        other->model->syncNow(false, [&](const QString &text) { answer = text; });
        ASSERT_TRUE(spinUntil([&] { return answer.has_value(); }));
        ASSERT_EQ(other->model->sync().stateKind(), SyncService::StateKind::done) << answer->toStdString();
        EXPECT_EQ(other->store.records(), rig->store.records());
        bool arrived = false;
        for (const LocalTask &t : other->local.tasks())
            arrived = arrived || t.title == kTask;
        EXPECT_TRUE(arrived);
    }
}

} // namespace
