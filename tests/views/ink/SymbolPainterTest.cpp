#include "views/ViewTest.h"
#include "views/ink/SymbolLabel.h"
#include "views/ink/SymbolPainter.h"

#include <QImage>
#include <QPainter>

namespace {

using SymbolPainterTest = ViewTest;

// Every symbol the screens name is drawn.
TEST_F(SymbolPainterTest, EveryNamedSymbolHasAnOutlineInsideItsSquare)
{
    const char *names[] = {"pin", "pin.fill", "list.bullet", "speaker.wave.2", "speaker.slash", "checkmark",
                           "checkmark.circle.fill", "questionmark.circle", "character.book.closed",
                           "slider.horizontal.3", "xmark", "chevron.left", "chevron.right", "chevron.up",
                           "chevron.down", "arrow.clockwise", "arrow.uturn.left.circle", "plus", "note",
                           "note.text", "calendar", "circle", "largecircle.fill.circle", "line.3.horizontal"};
    EXPECT_EQ(std::size(names), size_t(SymbolName::all().size()));
    for (const char *name : names) {
        const auto symbol = SymbolName::parse(QString::fromLatin1(name));
        ASSERT_TRUE(symbol) << name;
        EXPECT_EQ(SymbolName::of(*symbol), QLatin1String(name));
        for (SymbolWeight weight : {SymbolWeight::light, SymbolWeight::regular, SymbolWeight::medium}) {
            const QPainterPath &path = SymbolPainter::path(*symbol, weight);
            ASSERT_FALSE(path.isEmpty()) << name;
            EXPECT_TRUE(QRectF(0, 0, 1, 1).contains(path.boundingRect())) << name;
        }
    }
    EXPECT_FALSE(SymbolName::parse(u"trash"));
}

TEST_F(SymbolPainterTest, FilledAndHeavierSymbolsCoverMoreInk)
{
    auto inkOf = [](Symbol symbol, SymbolWeight weight) {
        QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        SymbolPainter::paint(p, QRectF(0, 0, 64, 64), symbol, Qt::black, weight);
        p.end();
        double sum = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                sum += qAlpha(image.pixel(x, y)) / 255.0;
        return sum;
    };
    EXPECT_GT(inkOf(Symbol::pinFill, SymbolWeight::regular), inkOf(Symbol::pin, SymbolWeight::regular) * 1.3);
    EXPECT_GT(inkOf(Symbol::checkmark, SymbolWeight::medium), inkOf(Symbol::checkmark, SymbolWeight::light));
    // The check is cut out of its disc.
    EXPECT_LT(inkOf(Symbol::checkmarkCircleFill, SymbolWeight::regular), M_PI * 0.44 * 0.44 * 64 * 64);
}

TEST_F(SymbolPainterTest, ATranslucentSymbolIsEvenWhereItsStrokesCross)
{
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    SymbolPainter::paint(p, QRectF(0, 0, 100, 100), Symbol::xmark, QColor(0, 0, 0, 100));
    p.end();
    // The centre, where the two strokes cross, is no darker than one stroke.
    EXPECT_EQ(qAlpha(image.pixel(50, 50)), qAlpha(image.pixel(35, 35)));
}

TEST_F(SymbolPainterTest, SymbolsAreSharpAtTwiceThePixelRatio)
{
    // Drawn at 2×, a symbol covers four times the pixels, not a blown-up 1×.
    auto edgePixels = [](double dpr) {
        QImage image(QSize(int(24 * dpr), int(24 * dpr)), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::transparent);
        QPainter p(&image);
        SymbolPainter::paint(p, QRectF(0, 0, 24, 24), Symbol::chevronRight, Qt::black);
        p.end();
        int partial = 0, solid = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int a = qAlpha(image.pixel(x, y));
                partial += a > 0 && a < 255 ? 1 : 0;
                solid += a == 255 ? 1 : 0;
            }
        return std::pair(partial, solid);
    };
    const auto [partial1, solid1] = edgePixels(1);
    const auto [partial2, solid2] = edgePixels(2);
    EXPECT_GT(solid2, solid1 * 3) << "the solid core grows with the resolution";
    EXPECT_LT(partial2, partial1 * 3) << "the soft edge stays about one pixel wide";
}

TEST_F(SymbolPainterTest, ALabelTakesTheSquareOfItsTextSize)
{
    Kiv::setScale(1.6);
    SymbolLabel label(Symbol::chevronDown, 7 * Kiv::scale(), {Kiv::Colour::inkGhost});
    EXPECT_EQ(label.sizeHint(), QSize(14, 14)) << "7 × 1.6 × 1.2 = 13.44, whole pixels up";
}

} // namespace
