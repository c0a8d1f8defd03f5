#pragma once

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/Motion.h"

#include <QColor>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

// The fixture of widget tests: light appearance, text scale 1, animations
// at their end at once, Japanese; each put back afterwards, and no mouse
// button left held.
struct ViewTest : ::testing::Test
{
    void SetUp() override
    {
        Kiv::setAppearance(Kiv::Appearance::light);
        Kiv::setScale(1.0);
        Motion::setInstant(true);
        Lang::setForTesting(true);
    }
    void TearDown() override
    {
        // QTest remembers the buttons a test pressed; one left held turns
        // every later test's pointer moves into drags (no enter, no hover).
        EXPECT_EQ(QTestPrivate::qtestMouseButtons, Qt::NoButton) << "a mouse button was pressed and never released";
        QTestPrivate::qtestMouseButtons = Qt::NoButton;
        Kiv::setAppearance(Kiv::Appearance::light);
        Kiv::setScale(1.0);
        Motion::setInstant(false);
        Lang::setForTesting(std::nullopt);
    }
};

// The largest difference of one colour channel between two pictures of one
// size (0: the same picture).
inline int worstDifference(const QImage &a, const QImage &b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            worst = std::max({worst, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                              std::abs(p.blue() - q.blue())});
        }
    return worst;
}
