#include "debugger/number_text.h"

#include <gtest/gtest.h>

namespace orlan {
namespace {

TEST(NumberText, PlaceholderBuilds) { EXPECT_EQ(DigitValue('F'), 15); }

}  // namespace
}  // namespace orlan
