// Widget tests run with the program's own style, as the program does.
#include "views/ink/InkStyle.h"

#include <gtest/gtest.h>

namespace {

struct StyleEnvironment : ::testing::Environment
{
    void SetUp() override { InkStyle::install(); }
};

const auto *const g_style = ::testing::AddGlobalTestEnvironment(new StyleEnvironment);

} // namespace
