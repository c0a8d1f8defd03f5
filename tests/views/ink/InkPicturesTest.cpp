// Still pictures of every drawing, in light and dark, at text scale
// 1.0 and 1.6 (and one set at twice the pixel ratio), written to
// <build>/snapshots/ink for looking at; each also checked for the few
// pixels that tell its drawing is right.
#include "views/ViewTest.h"
#include "views/ink/ChipButton.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/EnsoMark.h"
#include "views/ink/InkButton.h"
#include "views/ink/KaresansuiView.h"
#include "views/ink/KivBackground.h"
#include "views/ink/RhythmView.h"
#include "views/ink/SayingView.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/StillPicture.h"
#include "views/ink/SymbolLabel.h"
#include "views/ink/SymbolPainter.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/ink");

QList<StillPicture::Setting> settings()
{
    using A = Kiv::Appearance;
    return {
        {A::light, 1.0, true, 1.0}, {A::dark, 1.0, true, 1.0}, {A::light, 1.6, true, 1.0},
        {A::dark, 1.6, true, 1.0},  {A::light, 1.0, false, 1.0}, {A::dark, 1.0, true, 2.0},
        {A::light, 1.0, true, 2.0},
    };
}

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor at(const QImage &image, QPointF logical)
{
    const double dpr = image.devicePixelRatio();
    return image.pixelColor(int(logical.x() * dpr), int(logical.y() * dpr));
}

struct InkPicturesTest : ViewTest
{
    void save(const QImage &image, const QString &name, const StillPicture::Setting &s)
    {
        ASSERT_TRUE(StillPicture::save(image, kFolder, name + QLatin1Char('-') + s.tag()));
    }
};

TEST_F(InkPicturesTest, PaperIsLitAtTheTopAndShadedAtTheBottom)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        const QImage image = StillPicture::paint(QSize(1000, 600), s.devicePixelRatio, &KivBackground::draw);
        save(image, QStringLiteral("paper"), s);
        const QColor paper = Kiv::paper();
        // At the glow's centre (mid-width, 8 % down) the paper is raised;
        // outside the glow's 420 px and above the middle it is plain paper;
        // the shade grows to 4.5 % ink at the bottom edge.
        EXPECT_TRUE(near(at(image, {500, 48}), Motion::mix(paper, Kiv::paperRaised(), 0.9), 3)) << s.tag().toStdString();
        EXPECT_TRUE(near(at(image, {10, 290}), paper, 1)) << s.tag().toStdString();
        EXPECT_TRUE(near(at(image, {10, 599.5}), Motion::mix(paper, Kiv::ink(), 0.045), 2)) << s.tag().toStdString();
        // Halfway between the middle and the bottom: half the shade.
        EXPECT_TRUE(near(at(image, {10, 450}), Motion::mix(paper, Kiv::ink(), 0.0225), 2)) << s.tag().toStdString();
        // A circle, not stretched: at 425 px below its centre the glow is gone.
        EXPECT_TRUE(near(at(image, {500, 48 + 425}), at(image, {10, 48 + 425}), 1));
    }
}

TEST_F(InkPicturesTest, TheBrushCircleLeavesItsOpeningAtTheLowerLeft)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        const QImage image = StillPicture::paint(QSize(160, 160), s.devicePixelRatio, [](QPainter &p, QSizeF) {
            EnsoMark::draw(p, 160, 1.0, Kiv::vermilion());
        });
        save(image, QStringLiteral("enso"), s);
        const QColor paper = Kiv::paper();
        // The top of the ring is ink; the opening at 111° is paper.
        EXPECT_FALSE(near(at(image, {80, 80 - 68.8 + 5}), paper, 40)) << s.tag().toStdString();
        const double gap = 111 * M_PI / 180;
        EXPECT_TRUE(near(at(image, {80 + 68.8 * std::cos(gap), 80 + 68.8 * std::sin(gap)}), paper, 2));
        // The dot sits just inside the top of the ring.
        EXPECT_TRUE(near(at(image, {80, 80 - 0.3698 * 160}), Kiv::vermilion(), 8)) << s.tag().toStdString();
    }
}

TEST_F(InkPicturesTest, TheGardenFadesAtItsEndsAndCarriesItsSeal)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        const QSize size(480, 68);
        const QImage image = StillPicture::paint(size, s.devicePixelRatio, [](QPainter &p, QSizeF area) {
            KaresansuiView::draw(p, area, true);
        });
        save(image, QStringLiteral("garden"), s);
        const QColor paper = Kiv::paper();
        for (int y = 0; y < 68; ++y)
            ASSERT_TRUE(near(at(image, {0.5, y + 0.5}), paper, 5)) << "faded out at the left edge, row " << y;
        // The first stone's centre is solid stone.
        EXPECT_FALSE(near(at(image, {0.33 * 480, 0.58 * 68}), paper, 60));
        // The seal: vermilion, 6 from the right and 2 from the bottom.
        EXPECT_TRUE(near(at(image, {480 - 6 - 15, 68 - 2 - 8}), Kiv::vermilion(), 6)) << s.tag().toStdString();
        EXPECT_TRUE(near(at(image, {480 - 3, 68 - 2 - 8}), paper, 12)) << "beyond the seal's right edge";
    }
}

TEST_F(InkPicturesTest, RhythmStripsOfEveryMode)
{
    struct Strip
    {
        Mode mode;
        std::optional<int> current;
    };
    const Strip strips[] = {{Mode::open, 0}, {Mode::chore, std::nullopt}, {Mode::quick, 1}, {Mode::hour, 1},
                            {Mode::clock, 1}, {Mode::clock, 3}, {Mode::rounds, 1}, {Mode::rounds, 3}};
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        const QImage image = StillPicture::paint(QSize(160, 28 * int(std::size(strips))), s.devicePixelRatio,
                                                 [&](QPainter &p, QSizeF area) {
                                                     for (const Strip &strip : strips) {
                                                         const bool endless = strip.mode == Mode::clock
                                                                              || strip.mode == Mode::rounds;
                                                         RhythmView::draw(
                                                             p, QSizeF(area.width(), 28), {},
                                                             Rhythm::marks(ModeInfo::rhythm(strip.mode, 4), strip.current,
                                                                           strip.mode == Mode::open),
                                                             1.0, endless, 7);
                                                         p.translate(0, 28);
                                                     }
                                                 });
        save(image, QStringLiteral("rhythm"), s);
        // The open mode's current long capsule is vermilion at its middle.
        EXPECT_TRUE(near(at(image, {80, 14}), Kiv::vermilion(), 6)) << s.tag().toStdString();
        // Nothing vermilion in a strip without a current step.
        for (int x = 0; x < 160; ++x)
            EXPECT_FALSE(near(at(image, {x + 0.5, 28 + 14}), Kiv::vermilion(), 30)) << x;
    }
}

// The widgets, together on one sheet.
std::unique_ptr<QWidget> gallery()
{
    auto sheet = std::make_unique<QWidget>();
    auto *column = new QVBoxLayout(sheet.get());
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);

    auto *saying = new SayingView;
    saying->setSaying(Saying::all()[1]);
    column->addWidget(saying);

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    const Tone indigo{Kiv::Colour::indigo};
    auto *primary = new InkButton(L("はじめる"),
                                  InkLook::capsule(Kiv::tracked(Kiv::font(14, Kiv::Design::serif), 2, 0.24), indigo, indigo,
                                                   Tone::clear(), {Kiv::Colour::indigo, 0.08}, {Kiv::Colour::indigo, 0.75},
                                                   indigo));
    InkLook fixed = primary->look();
    fixed.fixedSize = QSizeF(128 * Kiv::scale(), 40 * Kiv::scale());
    primary->setLook(fixed);
    row->addWidget(primary);
    auto *hovered = new InkButton(L("はじめる"), fixed);
    row->addWidget(hovered);
    InkLook encore = InkLook::capsule(Kiv::tracked(Kiv::font(12, Kiv::Design::serif), 2, 0.24), indigo,
                                      {Kiv::Colour::ink}, {Kiv::Colour::indigo, 0.08}, {Kiv::Colour::indigo, 0.08},
                                      {Kiv::Colour::indigo, 0.8}, {Kiv::Colour::indigo, 0.8});
    encore.symbol = Symbol::arrowClockwise;
    encore.symbolSize = 9 * Kiv::scale();
    encore.symbolWeight = SymbolWeight::light;
    row->addWidget(new InkButton(L("やめておく"), encore));
    row->addStretch();
    column->addLayout(row);

    auto *chips = new QHBoxLayout;
    chips->setSpacing(5);
    auto *today = new ChipButton(L("今日") + QStringLiteral(" 3/7"));
    today->setLit(true);
    chips->addWidget(today);
    chips->addWidget(new ChipButton(L("明日") + QStringLiteral(" 3/8")));
    auto *calendar = new ChipButton;
    calendar->setSymbol(Symbol::calendar);
    chips->addWidget(calendar);
    chips->addSpacing(12);
    chips->addWidget(new SegmentedControl({L("予定"), L("したこと")}));
    chips->addStretch();
    column->addLayout(chips);

    auto *symbols = new QGridLayout;
    symbols->setSpacing(6);
    int i = 0;
    for (Symbol symbol : SymbolName::all())
        symbols->addWidget(new SymbolLabel(symbol, 13 * Kiv::scale(), {Kiv::Colour::inkSoft}), 0, i++);
    column->addLayout(symbols);

    auto *label = new ElidedLabel(Saying::all()[11].gloss + Saying::all()[12].gloss + Saying::all()[13].gloss,
                                  Kiv::font(12), {Kiv::Colour::inkFaint});
    label->setFixedWidth(220);
    column->addWidget(label);
    column->addWidget(new KaresansuiView(68, true));
    return sheet;
}

TEST_F(InkPicturesTest, TheSharedWidgetsOnOneSheet)
{
    for (const StillPicture::Setting &s : settings()) {
        StillPicture::Applied applied(s);
        auto sheet = gallery();
        sheet->resize(sheet->sizeHint().expandedTo(QSize(560, 0)));
        sheet->setPalette(Kiv::palette(s.appearance));
        sheet->show();
        // The second primary button is shown hovered.
        auto buttons = sheet->findChildren<InkButton *>();
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(buttons[2], &enter);
        QImage image(sheet->size() * s.devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(s.devicePixelRatio);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            KivBackground::draw(p, QSizeF(sheet->size()));
        }
        sheet->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        save(image, QStringLiteral("widgets"), s);
        EXPECT_GT(sheet->height(), 200);
    }
}

TEST_F(InkPicturesTest, EverySymbolLargeAndSmallAtTwiceThePixelRatio)
{
    const QList<Symbol> &all = SymbolName::all();
    for (Kiv::Appearance a : {Kiv::Appearance::light, Kiv::Appearance::dark}) {
        const StillPicture::Setting s{a, 1.0, true, 2.0};
        StillPicture::Applied applied(s);
        const double sizes[] = {9, 11, 16, 32};
        const QImage image = StillPicture::paint(QSize(int(all.size()) * 42 + 8, 120), 2.0, [&](QPainter &p, QSizeF) {
            double y = 6;
            for (double size : sizes) {
                const QSizeF box = SymbolPainter::size(size);
                for (int i = 0; i < all.size(); ++i)
                    SymbolPainter::paint(p, QRectF(QPointF(8 + i * 42, y), box), all[i], Kiv::ink());
                y += box.height() + 6;
            }
        });
        save(image, QStringLiteral("symbols"), s);
    }
}

} // namespace
