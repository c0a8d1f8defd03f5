#include "core/Kiv.h"
#include "views/ViewTest.h"
#include "views/ink/DrawnIcon.h"
#include "views/ink/PoolStarts.h"

#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

using DrawnIconTest = ViewTest;

// Each size is drawn once, when first asked for, and kept; the icon reports
// the sizes it was made for, and a new appearance is drawn anew.
TEST_F(DrawnIconTest, EachSizeIsDrawnOnceWhenAskedFor)
{
    // The sizes of the pictures drawn (the drawing may be called more than
    // once for one picture, a band at a time).
    QList<QSizeF> drawn;
    QPaintDevice *last = nullptr;
    const QIcon icon = DrawnIcon::make(
        [&drawn, &last](QPainter &p, QSizeF size) {
            if (p.device() != last)
                drawn.append(size);
            last = p.device();
            p.fillRect(QRectF(QPointF(0, 0), size), Kiv::ink());
        },
        {16, 32});
    EXPECT_TRUE(drawn.isEmpty()) << "nothing drawn before it is asked for";
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));

    const QImage small = icon.pixmap(16, 16).toImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    icon.pixmap(16, 16);
    const QIcon copy = icon;
    copy.pixmap(16, 16);
    EXPECT_EQ(drawn, (QList<QSizeF>{QSizeF(16, 16)}));

    const QPixmap sharp = icon.pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64));
    EXPECT_EQ(drawn.size(), 2);
    EXPECT_EQ(drawn.last(), QSizeF(32, 32)) << "drawn at its own size for a screen of twice the pixels";

    const Kiv::Appearance was = Kiv::appearance();
    Kiv::setAppearance(was == Kiv::Appearance::light ? Kiv::Appearance::dark : Kiv::Appearance::light);
    const QImage other = icon.pixmap(16, 16).toImage();
    Kiv::setAppearance(was);
    EXPECT_EQ(drawn.size(), 3);
    EXPECT_NE(other, small);
}

// An antialiased ring in a colour that is not opaque (a tray icon's track)
// gives the raster engine enough spans, even at 16 pixels, to split its
// fill into pieces for Qt's pool, waking or starting pool threads for a
// picture of a few hundred pixels. A drawn icon is drawn on the asking
// thread alone, at each size a tray or a window asks for, with the pixels
// of a drawing in one pass.
TEST_F(DrawnIconTest, AnIconIsDrawnOnTheAskingThreadAloneWithTheSamePixels)
{
    auto ring = [](QPainter &p, QSizeF size) {
        p.setRenderHint(QPainter::Antialiasing);
        const double s = std::min(size.width(), size.height());
        const QRectF box(QPointF(0, 0), size);
        p.setPen(QPen(Kiv::ink(0.25), s * 0.125, Qt::SolidLine, Qt::FlatCap));
        p.drawEllipse(box.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1));
        p.setPen(QPen(Kiv::ink(), s * 0.125, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(box.adjusted(s * 0.1, s * 0.1, -s * 0.1, -s * 0.1), 90 * 16, -200 * 16);
    };
    auto inOnePass = [&ring](int pixels, qreal ratio) {
        QImage image(QSize(pixels, pixels), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter p(&image);
        ring(p, QSizeF(pixels, pixels) / ratio);
        return image;
    };
    // The same drawing in one pass does split: the count below is not blind.
    PoolStarts::reset();
    inOnePass(24, 1.0);
    ASSERT_GT(PoolStarts::count(), 0);

    const QList<int> sides{16, 22, 24, 32, 48, 64};
    const QIcon icon = DrawnIcon::make(ring, sides);
    for (int side : sides) {
        for (qreal ratio : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << side << " at " << ratio << "x");
            const QImage whole = inOnePass(int(side * ratio), ratio);
            PoolStarts::reset();
            const QImage drawn = icon.pixmap(QSize(side, side), ratio).toImage();
            EXPECT_EQ(PoolStarts::count(), 0);
            EXPECT_EQ(drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied), whole);
        }
    }
}
