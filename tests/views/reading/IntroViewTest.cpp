#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/InkButton.h"
#include "views/reading/IntroPageBody.h"
#include "views/reading/IntroView.h"

#include <QLayout>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace ModelRigs;

struct IntroViewTest : ViewTest
{
    static InkButton *button(QWidget &view, const char *name)
    {
        auto *b = view.findChild<InkButton *>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    static IntroPageBody *body(QWidget &view) { return view.findChild<IntroPageBody *>(QStringLiteral("intro.page")); }

    static void drag(QWidget &view, int dx, int dy = 0)
    {
        IntroPageBody *page = body(view);
        const QPoint from = page->rect().center();
        QTest::mousePress(page, Qt::LeftButton, {}, from);
        QTest::mouseMove(page, from + QPoint(dx / 2, dy / 2));
        QTest::mouseRelease(page, Qt::LeftButton, {}, from + QPoint(dx, dy));
    }
};

// Where the introduction stands after real clicks, drags and keys, and how
// often it finished: the pages run 0 → 2 and never past either end, only
// Begin and Skip finish, and the page takes no key but the two arrows.
TEST_F(IntroViewTest, PagesFollowTheInputsWithinTheirBounds)
{
    enum Input { next, back, skip, dragLeft, dragRight, dragExactly40, dragSteep, left, right, enter, escape, space };
    const struct
    {
        const char *name;
        std::vector<Input> inputs;
        int page;
        int finished;
    } cases[] = {
        {"fresh", {}, 0, 0},
        {"next, next", {next, next}, 2, 0},
        {"begin on the last page", {next, next, next}, 2, 1},
        {"begin pressed twice", {next, next, next, next}, 2, 2},
        {"back from the middle", {next, back}, 0, 0},
        {"skip at once from the first page", {skip}, 0, 1},
        {"skip from the middle", {next, skip}, 1, 1},
        {"drags walk both ways", {dragLeft, dragLeft, dragRight}, 1, 0},
        {"no drag past the last page", {dragLeft, dragLeft, dragLeft}, 2, 0},
        {"no drag before the first page", {dragRight}, 0, 0},
        {"exactly 40 either way is no drag", {dragExactly40}, 0, 0},
        {"a steep drag still counts its sideways travel", {dragSteep}, 1, 0},
        {"arrows walk and stop at the ends", {right, right, right, left}, 1, 0},
        {"arrows never finish", {left, right, right, right, right}, 2, 0},
        {"return, escape and space do nothing on the page", {enter, escape, space, next, next, enter}, 2, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        IntroView view(ViewContext{});
        view.resize(380, 740);
        view.show();
        QSignalSpy finished(&view, &IntroView::finished);
        for (Input input : c.inputs) {
            switch (input) {
            case next: QTest::mouseClick(button(view, "intro.main"), Qt::LeftButton); break;
            case back: QTest::mouseClick(button(view, "intro.back"), Qt::LeftButton); break;
            case skip: QTest::mouseClick(button(view, "intro.skip"), Qt::LeftButton); break;
            case dragLeft: drag(view, -60); break;
            case dragRight: drag(view, 60); break;
            case dragExactly40: drag(view, -40), drag(view, 40); break;
            case dragSteep: drag(view, -45, 200); break;
            case left: QTest::keyClick(body(view), Qt::Key_Left); break;
            case right: QTest::keyClick(body(view), Qt::Key_Right); break;
            case enter: QTest::keyClick(body(view), Qt::Key_Return); break;
            case escape: QTest::keyClick(body(view), Qt::Key_Escape); break;
            case space: QTest::keyClick(body(view), Qt::Key_Space); break;
            }
        }
        EXPECT_EQ(view.currentPage(), c.page);
        EXPECT_EQ(body(view)->page(), Intro::pages().at(c.page)) << "the page drawn is the current one";
        EXPECT_EQ(finished.size(), c.finished);
    }
}

// Back shows from the second page on, Skip up to the last but one, and the
// main button says Begin on the last page; hidden buttons keep their room,
// so the main button does not move.
TEST_F(IntroViewTest, ButtonsFollowThePage)
{
    Lang::setForTesting(false);
    const struct
    {
        int page;
        bool back;
        const char *main;
        bool skip;
    } cases[] = {{0, false, "Next", true}, {1, true, "Next", true}, {2, true, "Begin", false}};
    IntroView view(ViewContext{}, Intro::build());
    view.resize(380, 740);
    view.show();
    InkButton *main = button(view, "intro.main");
    const int middle = main->geometry().center().x();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.page);
        ASSERT_EQ(view.currentPage(), c.page);
        EXPECT_EQ(button(view, "intro.back")->isVisible(), c.back);
        EXPECT_EQ(button(view, "intro.back")->isEnabled(), c.back);
        EXPECT_EQ(button(view, "intro.skip")->isVisible(), c.skip);
        EXPECT_EQ(main->text(), QString::fromLatin1(c.main));
        EXPECT_EQ(main->accessibleName(), QString::fromLatin1(c.main));
        EXPECT_NEAR(main->geometry().center().x(), middle, 1);
        EXPECT_NEAR(main->geometry().center().x(), view.width() / 2, 1);
        QTest::keyClick(body(view), Qt::Key_Right);
    }
    EXPECT_EQ(button(view, "intro.back")->accessibleName(), QStringLiteral("Back"));
    EXPECT_EQ(button(view, "intro.skip")->accessibleName(), QStringLiteral("Skip"));
}

// Tab reaches the page (so the arrows work) and every shown button.
TEST_F(IntroViewTest, KeyboardReachesThePageAndTheButtons)
{
    IntroView view(ViewContext{});
    view.resize(380, 740);
    view.show();
    QTest::keyClick(body(view), Qt::Key_Right);
    QStringList chain;
    QWidget *w = body(view);
    do {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != body(view));
    EXPECT_EQ(chain, (QStringList{"intro.page", "intro.back", "intro.main", "intro.skip"}));
}

// Finishing marks the introduction as seen in the settings (kept in the
// preferences) and tells the owner once; a still picture writes nothing.
TEST_F(IntroViewTest, FinishingMarksTheIntroductionAsSeen)
{
    for (const char *how : {"begin", "skip"}) {
        SCOPED_TRACE(how);
        Rig rig;
        AppModel &model = rig.build();
        ASSERT_FALSE(model.settings().hasSeenIntro());
        IntroView view(ViewContext{&model, false, std::nullopt});
        view.show();
        QSignalSpy finished(&view, &IntroView::finished);
        bool seenWhenTold = false;
        QObject::connect(&view, &IntroView::finished, [&] { seenWhenTold = model.settings().hasSeenIntro(); });
        if (QByteArray(how) == "begin") {
            QTest::mouseClick(button(view, "intro.main"), Qt::LeftButton);
            QTest::mouseClick(button(view, "intro.main"), Qt::LeftButton);
            EXPECT_FALSE(model.settings().hasSeenIntro()) << "walking the pages finishes nothing";
            QTest::mouseClick(button(view, "intro.main"), Qt::LeftButton);
        } else {
            QTest::mouseClick(button(view, "intro.skip"), Qt::LeftButton);
        }
        EXPECT_TRUE(model.settings().hasSeenIntro());
        EXPECT_TRUE(AppSettings(rig.prefs).hasSeenIntro()) << "stored in the preferences";
        EXPECT_EQ(finished.size(), 1);
        EXPECT_TRUE(seenWhenTold) << "the flag is set before the owner hears of it";
    }

    Rig rig;
    AppModel &model = rig.build();
    IntroView still(ViewContext{&model, true, std::nullopt});
    QTest::mouseClick(button(still, "intro.skip"), Qt::LeftButton);
    EXPECT_FALSE(model.settings().hasSeenIntro()) << "a still picture has no side effects";
}

// The owner may take the view away the moment the flag changes.
TEST_F(IntroViewTest, TheOwnerMayRemoveTheViewWhenTheFlagChanges)
{
    Rig rig;
    AppModel &model = rig.build();
    QPointer<IntroView> view = new IntroView(ViewContext{&model, false, std::nullopt});
    view->show();
    QObject::connect(&model.settings(), &AppSettings::hasSeenIntroChanged, view, &QObject::deleteLater);
    QTest::mouseClick(button(*view, "intro.skip"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    EXPECT_TRUE(model.settings().hasSeenIntro());
}

// A forced page shows whatever the inputs do.
TEST_F(IntroViewTest, AForcedPageStays)
{
    IntroView view(ViewContext{nullptr, true, 1});
    view.resize(380, 740);
    view.show();
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(button(view, "intro.main"), Qt::LeftButton);
        QTest::keyClick(body(view), Qt::Key_Left);
        drag(view, -80);
    }
    EXPECT_EQ(view.currentPage(), 1);
    EXPECT_EQ(body(view)->page().id, 1);
    EXPECT_TRUE(button(view, "intro.back")->isVisible());
}

// The pages after the first are set once the first has been painted; from
// then on the page area is as tall as the tallest page needs, so turning to
// it cuts no line. A page turned to before that picture is measured as it
// comes.
TEST_F(IntroViewTest, ThePageAreaHoldsTheTallestPageOnceTheFirstIsPainted)
{
    QList<Intro::Page> pages = Intro::build();
    pages[2].body = QStringList(30, QStringLiteral("一行")).join(QLatin1Char('\n'));
    {
        IntroView view(ViewContext{}, pages);
        view.resize(380, 740);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        IntroPageBody *area = body(view);
        const int tallest = int(std::ceil(IntroPageBody::contentHeight(area->width(), pages[2])));
        EXPECT_TRUE(QTest::qWaitFor([&] { return area->minimumHeight() == tallest; }))
            << area->minimumHeight() << " for " << tallest;
        QTest::keyClick(area, Qt::Key_Right);
        QTest::keyClick(area, Qt::Key_Right);
        ASSERT_EQ(view.currentPage(), 2);
        const IntroPageBody::Layout layout = IntroPageBody::layout(area->size(), pages[2]);
        ASSERT_FALSE(layout.runs.isEmpty());
        for (const IntroPageBody::Run &run : layout.runs)
            EXPECT_TRUE(QRectF(area->rect()).contains(run.box)) << run.text.toStdString();
    }
    {
        // Never shown: the tall page is measured when it is turned to.
        IntroView view(ViewContext{}, pages);
        view.resize(380, 740);
        IntroPageBody *area = body(view);
        QTest::keyClick(area, Qt::Key_Right);
        QTest::keyClick(area, Qt::Key_Right);
        ASSERT_EQ(view.currentPage(), 2);
        EXPECT_GE(area->minimumHeight(), int(std::ceil(IntroPageBody::contentHeight(380, pages[2]))));
    }
}

// At the window's smallest width and at the largest text, in both
// languages, the view is never shorter than its pages: every word of every
// page is laid out inside the page area and every button label fits its
// button.
TEST_F(IntroViewTest, EveryPageIsCompleteOnScreenInBothLanguages)
{
    auto squeezed = [](QString text) {
        text.remove(QRegularExpression(QStringLiteral("\\s")));
        return text;
    };
    for (bool japanese : {true, false}) {
        for (double scale : {1.0, 1.6}) {
            SCOPED_TRACE(std::string(japanese ? "ja " : "en ") + std::to_string(scale));
            Lang::setForTesting(japanese);
            Kiv::setScale(scale);
            const QList<Intro::Page> pages = Intro::build();
            for (const Intro::Page &page : pages) {
                SCOPED_TRACE(page.id);
                IntroView view(ViewContext{nullptr, true, page.id}, pages);
                view.resize(340, 300);
                view.show();
                view.layout()->activate();
                // (At the largest text the buttons need a little more than 340.)
                ASSERT_EQ(view.width(), std::max(340, view.minimumSizeHint().width()));
                ASSERT_GE(view.height(), view.minimumSizeHint().height()) << "the view grew to fit the pages";
                view.resize(view.width(), view.minimumSizeHint().height());
                IntroPageBody *area = body(view);
                const IntroPageBody::Layout layout = IntroPageBody::layout(area->size(), page);
                QString shown;
                for (const IntroPageBody::Run &run : layout.runs) {
                    shown += run.text;
                    EXPECT_TRUE(QRectF(area->rect()).contains(run.box)) << run.text.toStdString();
                }
                QString written = page.heading + page.body;
                for (const Intro::Term &t : page.terms)
                    written += t.word + t.reading + t.note;
                EXPECT_EQ(squeezed(shown), squeezed(written));
                EXPECT_TRUE(QRectF(area->rect()).contains(layout.enso));
                for (InkButton *b : view.findChildren<InkButton *>()) {
                    const QFontMetricsF metrics(b->look().font);
                    EXPECT_LE(metrics.horizontalAdvance(b->text()), b->width()) << b->text().toStdString();
                    EXPECT_TRUE(view.rect().contains(b->geometry())) << b->text().toStdString();
                }
            }
        }
    }
}

} // namespace
