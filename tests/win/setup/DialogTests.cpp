// The framework's dialog pieces whose every case the setup dialog cannot show:
// the rate boxes' number parse at its edges.
#include "framework/DataExchange.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace {

TEST(DialogFloatParse, AcceptsOneNumberThatFitsAFloat)
{
    const float kUnset = -12345.0f;
    const struct { const char* text; bool ok; float value; } cases[] = {
        { "0.8", true, 0.8f }, { " 1.5\t", true, 1.5f }, { "-2", true, -2.0f }, { "7e-1", true, 0.7f },
        // Too small for a float, or even a double: still a number.
        // (Too small for a double, 1e-400: e2e.setup types it.)
        { "1e-40", true, 1e-40f }, { "-1e-40", true, -1e-40f }, { "1e-46", true, 0.0f },
        { "3.4028234663852886e38", true, FLT_MAX }, { "-3.4028234663852886e38", true, -FLT_MAX },
        { "", false, kUnset }, { "   ", false, kUnset }, { "abc", false, kUnset },
        { "1.5x", false, kUnset }, { "1 2", false, kUnset }, { "inf", false, kUnset },
        { "-infinity", false, kUnset }, { "nan", false, kUnset },
        { "3.5e38", false, kUnset }, { "-1e39", false, kUnset }, { "1e400", false, kUnset },
    };
    for (const auto& c : cases) {
        float value = kUnset;
        EXPECT_EQ(c.ok, ParseDialogFloat(c.text, value)) << '"' << c.text << '"';
        EXPECT_EQ(c.value, value) << '"' << c.text << '"';
    }
}

}  // namespace
