#pragma once

#include "core/L.h"

#include <gtest/gtest.h>

// Fixtures that run a test in one interface language and restore the
// language decision afterwards.
struct InEnglish : ::testing::Test
{
    void SetUp() override { Lang::setForTesting(false); }
    void TearDown() override { Lang::setForTesting(std::nullopt); }
};

struct InJapanese : ::testing::Test
{
    void SetUp() override { Lang::setForTesting(true); }
    void TearDown() override { Lang::setForTesting(std::nullopt); }
};
