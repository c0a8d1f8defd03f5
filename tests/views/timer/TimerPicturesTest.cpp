// Still pictures of the faces at several points of a phase and of the
// endings of a run (completion view, rounds line), in light and dark, at
// text scale 1.0 and 1.6, in Japanese and English, at twice the pixel ratio,
// written to <build>/snapshots/timer for looking at.
#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/StillPicture.h"
#include "views/timer/CompletionView.h"
#include "views/timer/IncenseView.h"
#include "views/timer/KinhinView.h"
#include "views/timer/NextRoundLine.h"
#include "views/timer/RingView.h"
#include "views/timer/StayButton.h"

#include <QCoreApplication>
#include <QPainter>
#include <QVBoxLayout>
#include <functional>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/timer");

QList<StillPicture::Setting> settings()
{
    using A = Kiv::Appearance;
    QList<StillPicture::Setting> all;
    for (A a : {A::light, A::dark})
        for (double scale : {1.0, 1.6})
            for (bool japanese : {true, false})
                all << StillPicture::Setting{a, scale, japanese, 2.0};
    return all;
}

// One panel of a strip of faces: its progress, phase and whether it runs.
struct Panel
{
    double progress;
    Phase phase;
    bool running;
};
const Panel kPanels[] = {
    {0, Phase::focus, true},      {0.3, Phase::focus, true},  {0.7, Phase::focus, true},
    {1, Phase::focus, true},      {0.45, Phase::focus, false}, {0.6, Phase::longBreak, true},
};

using FaceDraw = std::function<void(QPainter &, QSizeF, const Panel &)>;

QImage strip(QSize panel, double dpr, const FaceDraw &draw)
{
    const int n = int(std::size(kPanels));
    return StillPicture::paint(QSize(panel.width() * n, panel.height()), dpr, [&](QPainter &p, QSizeF) {
        for (int i = 0; i < n; ++i) {
            p.save();
            p.translate(i * panel.width(), 0);
            draw(p, QSizeF(panel), kPanels[i]);
            p.restore();
        }
    });
}

struct TimerPicturesTest : ViewTest
{
    void save(const QImage &image, const QString &name, const StillPicture::Setting &s)
    {
        ASSERT_TRUE(StillPicture::save(image, kFolder, name + QLatin1Char('-') + s.tag()));
    }
};

TEST_F(TimerPicturesTest, FacesThroughAPhase)
{
    const double t = 1234.5;
    for (const StillPicture::Setting &s : settings()) {
        if (s.scale != 1.0 || !s.japanese)
            continue; // the faces hold no text
        StillPicture::Applied applied(s);
        save(strip(QSize(IncenseView::kWidth, IncenseView::kHeight), s.devicePixelRatio,
                   [t](QPainter &p, QSizeF size, const Panel &panel) {
                       IncenseView::draw(p, size, t, panel.progress, panel.running);
                   }),
             QStringLiteral("incense"), s);
        const int ringSide = RingView(nullptr).sizeHint().width();
        save(strip(QSize(ringSide, ringSide), s.devicePixelRatio,
                   [](QPainter &p, QSizeF size, const Panel &panel) {
                       RingView::draw(p, size, panel.progress, panel.phase, panel.running);
                   }),
             QStringLiteral("ring"), s);
        save(strip(QSize(KinhinView::kWidth, KinhinView::kHeight), s.devicePixelRatio,
                   [t](QPainter &p, QSizeF size, const Panel &panel) {
                       KinhinView::draw(p, size, t + panel.progress * 3, panel.progress, panel.running);
                   }),
             QStringLiteral("kinhin"), s);
    }
}

// A finished run on a fresh model: a quick run on a linked task, or a rounds
// run with two of its three tasks still open.
struct Ending
{
    const char *name;
    std::function<void(ModelRigs::Rig &, AppModel &)> prepare;
};

void finish(ModelRigs::Rig &rig)
{
    for (int i = 0; i < 20 && rig.engine().state() != RunState::finished; ++i)
        rig.finishPhase();
}

TEST_F(TimerPicturesTest, EndingsOfARun)
{
    const Ending endings[] = {
        {"completion-quick",
         [](ModelRigs::Rig &rig, AppModel &model) {
             model.take(rig.addTask(QStringLiteral("Reply to the letters from the lodge")));
             rig.engine().begin(Mode::quick, false, {});
             finish(rig);
         }},
        {"completion-rounds",
         [](ModelRigs::Rig &rig, AppModel &model) {
             rig.addTask(QStringLiteral("Sweep the porch"));
             rig.addTask(QStringLiteral("返信をひとつ"));
             const TodoItem done = rig.addTask(QStringLiteral("Water the moss"));
             model.beginRounds({QStringLiteral("Sweep the porch"), QStringLiteral("返信をひとつ"),
                                QStringLiteral("Water the moss")});
             rig.hub->complete(done.ref);
             rig.clock.advance(0);
             finish(rig);
         }},
        {"rounds-walk",
         [](ModelRigs::Rig &rig, AppModel &model) {
             rig.addTask(QStringLiteral("Sweep the porch"));
             rig.addTask(QStringLiteral("返信をひとつ"));
             model.beginRounds({QStringLiteral("Sweep the porch"), QStringLiteral("返信をひとつ")});
             rig.finishPhase();
         }},
    };
    for (const Ending &ending : endings) {
        ModelRigs::Rig rig;
        AppModel &model = rig.build();
        ending.prepare(rig, model);
        ViewContext context;
        context.model = &model;
        context.snapshot = true;
        for (const StillPicture::Setting &s : settings()) {
            StillPicture::Applied applied(s);
            QWidget page;
            auto *column = new QVBoxLayout(&page);
            if (QLatin1String(ending.name) == QLatin1String("rounds-walk")) {
                column->addStretch();
                column->addWidget(new NextRoundLine(context));
                column->addWidget(new StayButton(context), 0, Qt::AlignHCenter);
                column->addStretch();
                page.resize(420, 200);
            } else {
                column->setContentsMargins(0, 0, 0, 0);
                column->addWidget(new CompletionView(context));
                page.resize(420, 560);
            }
            page.setAttribute(Qt::WA_DontShowOnScreen);
            page.show();
            QCoreApplication::processEvents();
            save(StillPicture::grab(&page, s.devicePixelRatio), QString::fromLatin1(ending.name), s);
        }
    }
}

} // namespace
