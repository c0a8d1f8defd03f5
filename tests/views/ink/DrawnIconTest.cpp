#include "core/Kiv.h"
#include "views/ViewTest.h"
#include "views/ink/DrawnIcon.h"

#include <QPainter>
#include <gtest/gtest.h>

using DrawnIconTest = ViewTest;

// Each size is drawn once, when first asked for, and kept; the icon reports
// the sizes it was made for, and a new appearance is drawn anew.
TEST_F(DrawnIconTest, EachSizeIsDrawnOnceWhenAskedFor)
{
    QList<QSizeF> drawn;
    const QIcon icon = DrawnIcon::make(
        [&drawn](QPainter &p, QSizeF size) {
            drawn.append(size);
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
