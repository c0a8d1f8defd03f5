#include "views/timer/ChoosingFixture.h"

#include "core/PomodoroEngine.h"
#include "views/ManualMotion.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/PoolStarts.h"
#include "views/ink/TextBlock.h"
#include "views/timer/BreathMark.h"
#include "views/timer/PreparationText.h"
#include "views/timer/PreparationView.h"
#include "views/timer/StepMark.h"

#include <QPainter>
#include <QTest>

namespace {

TEST(PreparationTextTest, WordsReadingsAndLengthsByLanguage)
{
    struct Case
    {
        bool japanese;
        Preparation step;
        QString word, reading;
        double seconds;
    };
    const QList<Case> cases = {
        {true, Preparation::body, "調身", "ちょうしん", 4},
        {true, Preparation::breath, "調息", "ちょうそく", 6},
        {true, Preparation::mind, "調心", "ちょうしん", 4},
        {false, Preparation::body, "Chōshin", "調身", 4},
        {false, Preparation::breath, "Chōsoku", "調息", 6},
        {false, Preparation::mind, "Chōshin", "調心", 4},
    };
    for (const Case &c : cases) {
        Lang::setForTesting(c.japanese);
        const PreparationText text = PreparationText::of(c.step);
        EXPECT_EQ(text.word, c.word);
        EXPECT_EQ(text.reading, c.reading);
        EXPECT_EQ(text.seconds, c.seconds);
    }
    Lang::setForTesting(false);
    EXPECT_EQ(PreparationText::of(Preparation::breath).instruction,
              QStringLiteral("Take one deep breath in, and let it out slowly"));
    Lang::setForTesting(std::nullopt);
    EXPECT_FALSE(PreparationText::titleLine(QString()));
    EXPECT_FALSE(PreparationText::titleLine(QStringLiteral("  ")));
    Lang::setForTesting(true);
    EXPECT_EQ(PreparationText::titleLine(QStringLiteral("Draft")), QStringLiteral("「Draft」"));
    Lang::setForTesting(std::nullopt);
}

struct PreparationViewTest : ChoosingFixture
{
    std::unique_ptr<PreparationView> view;

    // Begins a mode with the preparation on and shows the screen, as the
    // shell does while the model prepares.
    void prepare(Mode mode = Mode::quick, const QString &title = QString())
    {
        rig->settings.setPrepares(true);
        rig->engine().setTaskTitle(title);
        model->begin(mode);
        ASSERT_TRUE(model->preparing());
        view = std::make_unique<PreparationView>(context());
        view->resize(420, 640);
        view->show();
        view->activateWindow();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        view.reset();
        ChoosingFixture::TearDown();
    }
    QString word() const { return view->findChild<QWidget *>(QStringLiteral("timer.preparation.word"))->accessibleName(); }
    StepMark *mark(Preparation step) const
    {
        return view->findChild<StepMark *>(QStringLiteral("timer.preparation.mark.") + rawValue(step));
    }
    BreathMark *breath() const { return view->findChild<BreathMark *>(QStringLiteral("timer.preparation.breath")); }
};

TEST_F(PreparationViewTest, StepsFollowTheModelOnTheClock)
{
    prepare(Mode::quick, QStringLiteral("Draft"));
    EXPECT_EQ(view->step(), Preparation::body);
    EXPECT_EQ(word(), QStringLiteral("調身"));
    EXPECT_TRUE(mark(Preparation::body)->isActive());
    EXPECT_FALSE(breath()->isActive());
    EXPECT_DOUBLE_EQ(mark(Preparation::body)->trackWidth(), 34);
    EXPECT_DOUBLE_EQ(mark(Preparation::breath)->trackWidth(), 5);
    EXPECT_DOUBLE_EQ(mark(Preparation::breath)->fillWidth(), 0);
    auto *title = view->findChild<ElidedLabel *>(QStringLiteral("timer.preparation.title"));
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(title->text(), QStringLiteral("「Draft」"));

    rig->clock.advance(3900);
    EXPECT_EQ(view->step(), Preparation::body);
    rig->clock.advance(100);
    EXPECT_EQ(view->step(), Preparation::breath);
    EXPECT_EQ(word(), QStringLiteral("調息"));
    EXPECT_TRUE(breath()->isActive());
    EXPECT_TRUE(mark(Preparation::breath)->isActive());
    EXPECT_DOUBLE_EQ(mark(Preparation::body)->trackWidth(), 5); // back to a dot
    EXPECT_DOUBLE_EQ(mark(Preparation::body)->fillWidth(), 0);

    rig->clock.advance(5900);
    EXPECT_EQ(view->step(), Preparation::breath);
    rig->clock.advance(100);
    EXPECT_EQ(view->step(), Preparation::mind);
    EXPECT_FALSE(breath()->isActive());
    EXPECT_DOUBLE_EQ(breath()->opacity(), 0);

    EXPECT_FALSE(rig->engine().mode());
    rig->clock.advance(4000);
    EXPECT_FALSE(model->preparing());
    EXPECT_EQ(rig->engine().mode(), Mode::quick);
}

// The breath step's circle grows and shrinks at the screen's frame rate
// for its six seconds. Stroked in a faint ink that is not opaque, the raster
// engine split each frame's stroke into pieces for Qt's pool, which woke
// eight threads some 400 times a second: it is drawn on the screen's thread
// alone, at 1x and 2x, with the faint stroke's pixels, and a frame repaints
// the circle's own square, not the paper across the window.
TEST_F(PreparationViewTest, TheBreathingCircleWakesNoOtherThread)
{
    ManualMotion motion;
    prepare();
    rig->clock.advance(4000);
    ASSERT_EQ(view->step(), Preparation::breath);
    BreathMark *mark = breath();
    ManualMotion::advance(2000); // well into the in-breath
    ASSERT_GT(mark->swell(), 0.8);
    ASSERT_GT(mark->opacity(), 0.99);

    // The same circle in one stroke does split: the count below is not blind.
    const double side = 96 * Kiv::scale() * mark->swell();
    QImage whole(mark->size(), QImage::Format_RGB32);
    whole.fill(Kiv::paper());
    PoolStarts::reset();
    {
        QPainter p(&whole);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Kiv::inkFaint(0.55), 1.2));
        p.drawEllipse(QRectF(whole.rect()).center(), side / 2, side / 2);
    }
    ASSERT_GT(PoolStarts::count(), 0);

    for (qreal dpr : {1.0, 2.0}) {
        SCOPED_TRACE(dpr);
        QImage image(mark->size() * dpr, QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        image.fill(Kiv::paper());
        PoolStarts::reset();
        mark->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        EXPECT_EQ(PoolStarts::count(), 0);
        if (dpr != 1.0)
            continue;
        // On even paper, the pixels of the faint stroke, to two levels of 255.
        EXPECT_LE(worstDifference(image, whole), 2);
    }

    // A frame of the breath repaints a square round the circle only.
    QRegion painted;
    struct Spy : QObject
    {
        QRegion *seen;
        explicit Spy(QRegion *r) : seen(r) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                *seen += static_cast<QPaintEvent *>(e)->region();
            return false;
        }
    } spy(&painted);
    mark->installEventFilter(&spy);
    ManualMotion::advance(AnimationDriver::frameMs);
    QCoreApplication::processEvents();
    mark->removeEventFilter(&spy);
    ASSERT_FALSE(painted.isEmpty());
    const QRect box = painted.boundingRect();
    EXPECT_LE(box.width(), int(std::ceil(96 * Kiv::scale())) + 6);
    EXPECT_LT(box.width(), mark->width());
}

TEST_F(PreparationViewTest, SpaceAndReturnSkipEscapeCancels)
{
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        rig->engine().stop();
        rig->clock.advance(AppModel::kPreparationGapSeconds * 1000 + 1000);
        prepare();
        // No click first: the screen has the keyboard from the start.
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(model->preparing());
        EXPECT_EQ(rig->engine().mode(), Mode::quick);
    }
    rig->engine().stop();
    rig->clock.advance(AppModel::kPreparationGapSeconds * 1000 + 1000);
    prepare();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(model->preparing());
    EXPECT_FALSE(rig->engine().mode());
    rig->clock.advance(20000); // the flow does not begin the run later
    EXPECT_FALSE(rig->engine().mode());
}

TEST_F(PreparationViewTest, TheCancelButtonCancelsAndAClickElsewhereSkips)
{
    prepare();
    click(view->findChild<QAbstractButton *>(QStringLiteral("timer.preparation.cancel")));
    EXPECT_FALSE(model->preparing());
    EXPECT_FALSE(rig->engine().mode());

    rig->clock.advance(AppModel::kPreparationGapSeconds * 1000 + 1000);
    prepare();
    QWidget *instruction = view->findChild<QWidget *>(QStringLiteral("timer.preparation.instruction"));
    QTest::mouseClick(instruction, Qt::LeftButton, {}, instruction->rect().center());
    EXPECT_FALSE(model->preparing());
    EXPECT_EQ(rig->engine().mode(), Mode::quick);
}

TEST_F(PreparationViewTest, EnglishWordsAnEmptyTitleAndTheScale)
{
    Lang::setForTesting(false);
    Kiv::setScale(1.6);
    prepare();
    EXPECT_EQ(word(), QStringLiteral("Chōshin"));
    EXPECT_EQ(view->findChild<ElidedLabel *>(QStringLiteral("timer.preparation.reading"))->text(),
              QStringLiteral("調身"));
    EXPECT_FALSE(view->findChild<ElidedLabel *>(QStringLiteral("timer.preparation.title"))->isVisible());
    EXPECT_DOUBLE_EQ(mark(Preparation::body)->trackWidth(), 34 * 1.6);
    EXPECT_DOUBLE_EQ(mark(Preparation::mind)->trackWidth(), 5 * 1.6);
}

// In a window too short for the whole column (the largest text scale, the
// smallest window) the column scrolls: no line is squeezed onto the next, and
// the two flexible gaps (above the word, between the title and the step row)
// keep a little room, so the step row never touches the title's descenders.
TEST_F(PreparationViewTest, AShortWindowScrollsTheColumnAndKeepsItsGaps)
{
    struct Case
    {
        bool japanese;
        double scale;
        int height;
    };
    const QList<Case> cases = {{false, 1.6, 600}, {true, 1.6, 600}, {false, 1.0, 420}, {true, 1.6, 360}};
    const QString title = QStringLiteral("A rather long title that runs on past the edge");
    const QStringList order = {"word", "reading", "breath", "instruction", "title", "mark.body", "hint",
                               "pressHint", "cancel"};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "japanese " << c.japanese << ", scale " << c.scale << ", height "
                                        << c.height);
        Lang::setForTesting(c.japanese);
        Kiv::setScale(c.scale);
        prepare(Mode::quick, title);
        view->resize(380, c.height);
        QCoreApplication::processEvents();
        QWidget *body = view->findChild<QWidget *>(QStringLiteral("timer.preparation.body"));
        QMap<QString, QRect> at;
        int bottom = 0;
        for (const QString &name : order) {
            auto *w = view->findChild<QWidget *>(QStringLiteral("timer.preparation.") + name);
            ASSERT_TRUE(w) << name.toStdString();
            const QRect r(w->mapTo(body, QPoint(0, 0)), w->size());
            EXPECT_GE(r.top(), bottom) << name.toStdString() << " overlaps the line above it";
            bottom = r.bottom() + 1;
            at.insert(name, r);
        }
        EXPECT_GE(at["word"].top(), 8);
        EXPECT_GE(at["mark.body"].top() - (at["title"].bottom() + 1), 8);
        view.reset();
        model->cancelPreparation();
    }
    Kiv::setScale(1.0);
    Lang::setForTesting(std::nullopt);
}

} // namespace
