#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

namespace halvorn {
namespace {

TEST(JsonString, EscapesControlsAndKeepsOnlyWellFormedUtf8) {
    EXPECT_EQ(JsonString("a\"b\\c\r\n\t\x01"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001\"");
    EXPECT_EQ(JsonString("\xC2\xB5m"), "\"\xC2\xB5m\"");                    // micro sign passes
    EXPECT_EQ(JsonString("\xE2\x88\x9E"), "\"\xE2\x88\x9E\"");              // infinity passes
    EXPECT_EQ(JsonString("\xB5"), "\"\xC2\xB5\"");                          // a Latin-1 byte
    EXPECT_EQ(JsonString("\xE0\x95\xA1"), "\"\xC3\xA0\xC2\x95\xC2\xA1\"");  // overlong
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\xC3\xAD\xC2\xA0\xC2\x80\"");  // surrogate
    EXPECT_EQ(JsonString("\xC3"), "\"\xC3\x83\"");                          // cut short
}

TEST(JsonWriter, WritesNestedValuesWithRoundTripNumbers) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("a").Value(0.1);
    json.Key("b").Value(3999.064f);
    json.Key("c").BeginArray();
    json.Value(std::int32_t{-2});
    json.Value(true);
    json.Value(std::numeric_limits<double>::infinity());
    json.EndArray();
    json.Key("d").Value("x");
    json.EndObject();
    EXPECT_EQ(out.str(), "{\"a\":0.1,\"b\":3999.06396484375,\"c\":[-2,true,null],\"d\":\"x\"}");
}

}  // namespace
}  // namespace halvorn
