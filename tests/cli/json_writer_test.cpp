#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace halvorn {
namespace {

TEST(JsonText, StringsEscapedAndOnlyWellFormedUtf8KeptAsIs) {
    EXPECT_EQ(JsonText("a\"b\\c\r\n\t\x01"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001\"");
    // Backspace, form feed and DEL in the \u form; an escaped backslash
    // before a b or an f stays what it is.
    EXPECT_EQ(JsonText("\b\f\x7F\\b\\f"), "\"\\u0008\\u000c\\u007f\\\\b\\\\f\"");
    EXPECT_EQ(JsonText("\xC2\xB5m"), "\"\xC2\xB5m\"");                    // micro sign passes
    EXPECT_EQ(JsonText("\xE2\x88\x9E"), "\"\xE2\x88\x9E\"");              // infinity passes
    EXPECT_EQ(JsonText("\xB5"), "\"\xC2\xB5\"");                          // a Latin-1 byte
    EXPECT_EQ(JsonText("\xE0\x95\xA1"), "\"\xC3\xA0\xC2\x95\xC2\xA1\"");  // overlong
    EXPECT_EQ(JsonText("\xED\xA0\x80"), "\"\xC3\xAD\xC2\xA0\xC2\x80\"");  // surrogate
    EXPECT_EQ(JsonText("\xC3"), "\"\xC3\x83\"");                          // cut short
    // Keys go the same way.
    Json object = Json::object();
    object["\xB5"] = 1;
    EXPECT_EQ(JsonText(object), "{\"\xC2\xB5\":1}");
}

TEST(JsonText, KeysInTheOrderSetAndNumbersInTheirShortestExactForm) {
    Json json = Json::object();
    json["z"] = 0.1;
    json["b"] = 3999.064f;  // the double the float converts to
    json["c"] = Json::array({std::int32_t{-2}, true, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()});
    json["a"] = "x";
    json["whole"] = Json::array({105.0, -1.0, -0.0, 1e21, 1e-7, 2.5e-5, 123456789012345680.0,
                                 std::int16_t{-32768}, std::int64_t{4294967296}});
    EXPECT_EQ(JsonText(json),
              "{\"z\":0.1,\"b\":3999.06396484375,\"c\":[-2,true,null,null],\"a\":\"x\","
              "\"whole\":[105,-1,-0,1e+21,1e-07,2.5e-05,123456789012345680,-32768,4294967296]}");
    // Every double reads back exactly.
    for (double value :
         {0.1 + 0.2, 1.0 / 3.0, 5e-324, 1.7976931348623157e308, 2501.2506253126565}) {
        EXPECT_EQ(std::strtod(JsonText(value).c_str(), nullptr), value) << JsonText(value);
    }
}

}  // namespace
}  // namespace halvorn
