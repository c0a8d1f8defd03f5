#pragma once

#include "core/Kiv.h"
#include "core/L.h"
#include "views/ink/Motion.h"

#include <gtest/gtest.h>

// The fixture of widget tests: light appearance, text scale 1, animations
// at their end at once, Japanese; each put back afterwards.
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
        Kiv::setAppearance(Kiv::Appearance::light);
        Kiv::setScale(1.0);
        Motion::setInstant(false);
        Lang::setForTesting(std::nullopt);
    }
};
