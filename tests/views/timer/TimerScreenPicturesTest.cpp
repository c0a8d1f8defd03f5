// Still pictures of the running-round screen: a running focus on the incense
// and on the ring, a paused round with a linked task, a walking break with
// one more sitting chosen, the walk between two rounds and a finished run;
// light and dark, text scale 1.0 and 1.6, Japanese and English, written to
// <build>/snapshots/timer for looking at.
#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/StillPicture.h"
#include "views/timer/TimerView.h"

#include <QCoreApplication>
#include <functional>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/timer");

struct Scene
{
    const char *name;
    std::function<void(ModelRigs::Rig &, AppModel &)> prepare;
};

struct TimerScreenPicturesTest : ViewTest
{
};

TEST_F(TimerScreenPicturesTest, RunningRoundScreen)
{
    const Scene scenes[] = {
        {"screen-focus-running",
         [](ModelRigs::Rig &rig, AppModel &model) {
             model.take(rig.addTask(QStringLiteral("Reply to the letters from the lodge")));
             rig.engine().begin(Mode::quick, false, {});
             rig.clock.advance(7 * 60 * 1000 + 250);
         }},
        {"screen-ring-paused",
         [](ModelRigs::Rig &rig, AppModel &model) {
             rig.settings.setFocusVisual(FocusVisual::ring);
             model.take(rig.addTask(QStringLiteral("返信をひとつ")));
             rig.engine().begin(Mode::hour, false, {});
             rig.clock.advance(21 * 60 * 1000);
             rig.engine().pause();
         }},
        {"screen-walk-encore",
         [](ModelRigs::Rig &rig, AppModel &) {
             rig.engine().setTaskTitle(QStringLiteral("Sweep the porch"));
             rig.engine().begin(Mode::quick, false, {});
             rig.finishPhase();
             rig.clock.advance(40 * 1000);
             rig.engine().toggleEncore();
         }},
        {"screen-rounds-walk",
         [](ModelRigs::Rig &rig, AppModel &model) {
             rig.addTask(QStringLiteral("Sweep the porch"));
             rig.addTask(QStringLiteral("返信をひとつ"));
             model.beginRounds({QStringLiteral("Sweep the porch"), QStringLiteral("返信をひとつ")});
             rig.finishPhase();
         }},
        {"screen-finished",
         [](ModelRigs::Rig &rig, AppModel &) {
             rig.engine().setTaskTitle(QStringLiteral("Water the moss"));
             rig.engine().begin(Mode::chore, false, {});
             for (int i = 0; i < 20 && rig.engine().state() != RunState::finished; ++i)
                 rig.finishPhase();
         }},
    };
    using A = Kiv::Appearance;
    for (const Scene &scene : scenes) {
        ModelRigs::Rig rig;
        AppModel &model = rig.build();
        scene.prepare(rig, model);
        ViewContext context;
        context.model = &model;
        context.snapshot = true;
        for (A a : {A::light, A::dark})
            for (double scale : {1.0, 1.6})
                for (bool japanese : {true, false}) {
                    const StillPicture::Setting s{a, scale, japanese, 2.0};
                    StillPicture::Applied applied(s);
                    TimerView view(context);
                    view.resize(scale > 1 ? QSize(460, 1040) : QSize(380, 760));
                    view.setAttribute(Qt::WA_DontShowOnScreen);
                    view.show();
                    QCoreApplication::processEvents();
                    ASSERT_TRUE(StillPicture::save(StillPicture::grab(&view, s.devicePixelRatio), kFolder,
                                                   QString::fromLatin1(scene.name) + QLatin1Char('-') + s.tag()));
                }
    }
}

} // namespace
