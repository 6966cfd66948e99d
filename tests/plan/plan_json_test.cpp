#include "plan/plan_json.h"

#include "plan_test_util.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <optional>

using namespace kalvero;

namespace {

struct TIntegerCase {
    const char* Json; // the value of member "v"
    std::optional<std::int32_t> Expected;
};

void PrintTo(const TIntegerCase& c, std::ostream* os) {
    *os << c.Json;
}

class JsonIntegerTest : public testing::TestWithParam<TIntegerCase> {};

TEST_P(JsonIntegerTest, ReadsWholeNumbersWithin32Bits) {
    TJsonDocument doc;
    ASSERT_TRUE(doc.Parse(QByteArray("{\"v\":") + GetParam().Json + "}"));
    EXPECT_EQ(JsonInteger(JsonMember(doc.Root(), "v")), GetParam().Expected) << GetParam().Json;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonIntegerTest,
    testing::Values(TIntegerCase{"60", 60}, TIntegerCase{"60.0", 60}, TIntegerCase{"6e1", 60},
                    TIntegerCase{"\"60\"", 60}, TIntegerCase{"\"60.0\"", 60},
                    TIntegerCase{"\"6e1\"", 60}, TIntegerCase{"-7", -7},
                    TIntegerCase{"2147483647", 2147483647},
                    TIntegerCase{"-2147483648", std::numeric_limits<std::int32_t>::min()},
                    TIntegerCase{"2147483648", std::nullopt},
                    TIntegerCase{"\"2147483648\"", std::nullopt},
                    TIntegerCase{"18446744073709551615", std::nullopt},
                    TIntegerCase{"\"99999999999999999999999\"", std::nullopt},
                    TIntegerCase{"60.5", std::nullopt}, TIntegerCase{"\"60.5\"", std::nullopt},
                    TIntegerCase{"\"1e400\"", std::nullopt}, TIntegerCase{"\"abc\"", std::nullopt},
                    TIntegerCase{"\"\"", std::nullopt}, TIntegerCase{"\" 60\"", std::nullopt},
                    TIntegerCase{"\"0x10\"", std::nullopt}, TIntegerCase{"true", std::nullopt},
                    TIntegerCase{"null", std::nullopt}, TIntegerCase{"[1]", std::nullopt},
                    TIntegerCase{"{}", std::nullopt}));

TEST(JsonString, NumbersGiveTheirTextAsWritten) {
    TJsonDocument doc;
    ASSERT_TRUE(
        doc.Parse(R"({"a":"Frau Berg","b":1.50,"c":12,"d":true,"e":null,"f":[2.50],"g":-0.0})"));
    const TJson& root = doc.Root();
    EXPECT_EQ(JsonString(doc, JsonMember(root, "a")), "Frau Berg");
    EXPECT_EQ(JsonString(doc, JsonMember(root, "b")), "1.50");
    EXPECT_EQ(JsonString(doc, JsonMember(root, "c")), "12");
    EXPECT_EQ(JsonString(doc, JsonMember(root, "d")), "");
    EXPECT_EQ(JsonString(doc, JsonMember(root, "e")), "");
    EXPECT_EQ(JsonString(doc, JsonMember(root, "missing")), "");
    EXPECT_EQ(JsonString(doc, &JsonMember(root, "f")->at(0)), "2.50");
    EXPECT_EQ(JsonString(doc, JsonMember(root, "g")), "-0.0");
}

TEST(JsonString, DuplicateKeyReadsTheLastValue) {
    TJsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"({"a":1.10,"b":{"x":3.0},"a":2.20})"));
    EXPECT_EQ(JsonString(doc, JsonMember(doc.Root(), "a")), "2.20");
}

TEST(JsonTrue, OnlyTheLiteralTrue) {
    TJsonDocument doc;
    ASSERT_TRUE(doc.Parse(R"({"a":true,"b":1,"c":"true","d":false})"));
    EXPECT_TRUE(JsonTrue(JsonMember(doc.Root(), "a")));
    for (const char* key : {"b", "c", "d", "missing"})
        EXPECT_FALSE(JsonTrue(JsonMember(doc.Root(), key))) << key;
}

TEST(JsonDocument, RefusesMalformedAndTooDeepText) {
    for (const QByteArray& text :
         {QByteArray(""), QByteArray("{"), QByteArray("{\"a\":1}x"), QByteArray("{a:1}"),
          QByteArray("{\"a\":1e400}"), QByteArray(100000, '['),
          QByteArray(kMaxJsonDepth + 1, '[') + QByteArray(kMaxJsonDepth + 1, ']')}) {
        TJsonDocument doc;
        EXPECT_FALSE(doc.Parse(text)) << text.left(20).constData();
        EXPECT_TRUE(doc.Root().is_null());
    }
    TJsonDocument deepest;
    EXPECT_TRUE(deepest.Parse(QByteArray(kMaxJsonDepth, '[') + QByteArray(kMaxJsonDepth, ']')));
}

TEST(JsonDocument, ReadsMalformedUtf8AsReplacementCharacters) {
    TJsonDocument doc;
    ASSERT_TRUE(doc.Parse("{\"a\":\"M\xFCller\"}"));
    EXPECT_EQ(JsonString(doc, JsonMember(doc.Root(), "a")), QString("M") + QChar(0xFFFD) + "ller");
}

TEST(JsonDocument, SkipsByteOrderMark) {
    TJsonDocument doc;
    ASSERT_TRUE(doc.Parse("\xEF\xBB\xBF{\"a\":1}"));
    EXPECT_EQ(JsonInteger(JsonMember(doc.Root(), "a")), 1);
}

TEST(CompactObjectText, KeepsOrderAndEscapesEverythingOutsideAscii) {
    EXPECT_EQ(CompactObjectText("{ \"z\" : 1 ,\n \"a\": [true, null, -2, 1.5],"
                                " \"s\": \"M\xC3\xBCller \xF0\x9F\x98\x80 /\\t\\u0001\"}"),
              QStringLiteral(
                  R"({"z":1,"a":[true,null,-2,1.5],"s":"M\u00FCller \uD83D\uDE00 /\t\u0001"})"));
    EXPECT_EQ(CompactObjectText("[1]"), "");
    EXPECT_EQ(CompactObjectText("nope"), "");
    EXPECT_EQ(CompactObjectText("  "), "");
}

} // namespace
