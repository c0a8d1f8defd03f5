#include "views/ink/SoftShadow.h"

#include <QImage>
#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The blur as it is defined, one pixel at a time: three rounds of a box
// along the rows, then down the columns, each pixel the mean (rounded down)
// of the 2·r + 1 pixels around it, pixels beyond the edge uncovered.
QImage referenceBlur(const QImage &mask, double sigma)
{
    const int r = std::max(1, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    const int w = mask.width(), h = mask.height(), window = 2 * r + 1;
    std::vector<int> pixels(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[size_t(y * w + x)] = mask.constScanLine(y)[x];
    auto at = [&](const std::vector<int> &from, int x, int y) {
        return x < 0 || y < 0 || x >= w || y >= h ? 0 : from[size_t(y * w + x)];
    };
    for (int pass = 0; pass < 6; ++pass) {
        const bool rows = pass % 2 == 0;
        std::vector<int> next(pixels.size());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                for (int d = -r; d <= r; ++d)
                    sum += rows ? at(pixels, x + d, y) : at(pixels, x, y + d);
                next[size_t(y * w + x)] = sum / window;
            }
        pixels = std::move(next);
    }
    QImage out(mask.size(), QImage::Format_Alpha8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.scanLine(y)[x] = uchar(pixels[size_t(y * w + x)]);
    return out;
}

// The fast passes give the defined blur to the last level, whatever the
// shape of the mask: widths whose rows are padded in memory, windows wider
// or taller than the mask, and windows of 256 pixels and more, whose mean
// is not taken by the multiplication.
TEST(SoftShadowTest, TheBlurIsTheMeanOfThreeBoxesEachWay)
{
    struct Case
    {
        QSize size;
        double sigma;
    };
    const Case cases[] = {
        {{37, 23}, 1.5},   // a window of 3 over rows padded to 40 bytes
        {{64, 9}, 4.0},    // taller than the mask's height
        {{5, 80}, 6.0},    // wider than the mask
        {{300, 12}, 80.0}, // a window of 161, its mean by the multiplication
        {{301, 7}, 130.0}, // a window of 261: the mean by division
    };
    QRandomGenerator random(46);
    for (const Case &c : cases) {
        QImage mask(c.size, QImage::Format_Alpha8);
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                // Full coverage in places, nothing in others, ramps between.
                mask.scanLine(y)[x] = uchar(random.bounded(3) == 0 ? 255 : random.bounded(256));
        const QImage expected = referenceBlur(mask, c.sigma);
        QImage blurred = mask.copy();
        SoftShadow::blur(blurred, c.sigma);
        ASSERT_EQ(blurred.size(), c.size);
        int wrong = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                wrong += blurred.constScanLine(y)[x] != expected.constScanLine(y)[x];
        EXPECT_EQ(wrong, 0) << c.size.width() << "x" << c.size.height() << " sigma " << c.sigma;
    }
}

// Full coverage stays full in the middle of a shape far wider than the
// window, and the blur leaves a mask of another format as it is.
TEST(SoftShadowTest, FullCoverageStaysFullAndOtherFormatsAreLeftAlone)
{
    QImage mask(120, 120, QImage::Format_Alpha8);
    mask.fill(0);
    for (int y = 20; y < 100; ++y)
        for (int x = 20; x < 100; ++x)
            mask.scanLine(y)[x] = 255;
    SoftShadow::blur(mask, 3.0);
    EXPECT_EQ(mask.constScanLine(60)[60], 255);
    EXPECT_EQ(mask.constScanLine(2)[2], 0);
    EXPECT_GT(mask.constScanLine(20)[60], 0);
    EXPECT_LT(mask.constScanLine(20)[60], 255);

    QImage colour(10, 10, QImage::Format_ARGB32_Premultiplied);
    colour.fill(Qt::red);
    const QImage before = colour.copy();
    SoftShadow::blur(colour, 3.0);
    EXPECT_EQ(colour, before);
}

} // namespace
