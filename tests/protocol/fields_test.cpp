#include "protocol/fields.h"

#include <gtest/gtest.h>

namespace kalvero {
namespace {

struct TRealCase {
    double value;
    const char* text;
};

class FormatRealTest : public testing::TestWithParam<TRealCase> {};

TEST_P(FormatRealTest, OneDecimalWithCommaHalvesAwayFromZero) {
    EXPECT_EQ(FormatReal(GetParam().value), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatRealTest,
    testing::Values(TRealCase{12.25, "12,3"}, TRealCase{12.5, "12,5"}, TRealCase{0.0, "0,0"},
                    TRealCase{5.0, "5,0"}, TRealCase{0.15, "0,2"}, TRealCase{0.05, "0,1"},
                    TRealCase{20.75, "20,8"}, TRealCase{-12.25, "-12,3"}, TRealCase{9.96, "10,0"},
                    TRealCase{99.95, "100,0"}, TRealCase{-0.04, "0,0"}, TRealCase{1e-9, "0,0"},
                    TRealCase{1234567.0, "1234567,0"}, TRealCase{58.54999, "58,5"}));

struct TFloatCase {
    const char* text;
    double value;
};

class FieldFloatTest : public testing::TestWithParam<TFloatCase> {};

TEST_P(FieldFloatTest, ReadsPointOrCommaAndFallsBackToZero) {
    EXPECT_DOUBLE_EQ(FieldFloat(QString::fromUtf8(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldFloatTest,
                         testing::Values(TFloatCase{"12.5", 12.5}, TFloatCase{"12,5", 12.5},
                                         TFloatCase{" 12,5\t", 12.5}, TFloatCase{"-3,0", -3.0},
                                         TFloatCase{"7", 7.0}, TFloatCase{"", 0.0},
                                         TFloatCase{"abc", 0.0}, TFloatCase{"1,2,3", 0.0},
                                         TFloatCase{"inf", 0.0}, TFloatCase{"nan", 0.0}));

TEST(FieldInt, TrimsAndFallsBack) {
    EXPECT_EQ(FieldInt(" 12 ", 0), 12);
    EXPECT_EQ(FieldInt("\t-3\r", 0), -3);
    EXPECT_EQ(FieldInt("", -1), -1);
    EXPECT_EQ(FieldInt("4x", 9), 9);
    EXPECT_EQ(FieldInt("3,5", 9), 9);
    EXPECT_EQ(FieldInt("99999999999", 7), 7);
}

struct TDateCase {
    const char* date;
    const char* time;
    bool ok;
    const char* expected; // ISO form of the result
};

class ParseDateTimeTest : public testing::TestWithParam<TDateCase> {};

TEST_P(ParseDateTimeTest, AcceptsOnlyRealDatesAndTimes) {
    QDateTime result;
    const bool ok = ParseDateTime(QString::fromUtf8(GetParam().date),
                                  QString::fromUtf8(GetParam().time), result);
    ASSERT_EQ(ok, GetParam().ok);
    if (ok) {
        EXPECT_EQ(result.toString(Qt::ISODate), QString::fromUtf8(GetParam().expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDateTimeTest,
    testing::Values(TDateCase{"07.03.2025", "09:05:30", true, "2025-03-07T09:05:30"},
                    TDateCase{"07.03.2025", "09:05", true, "2025-03-07T09:05:00"},
                    TDateCase{"29.02.2024", "23:59:59", true, "2024-02-29T23:59:59"},
                    TDateCase{"01.01.2000", "00:00:00", true, "2000-01-01T00:00:00"},
                    TDateCase{"07-03-2025", "09.05.30", true, "2025-03-07T09:05:30"},
                    TDateCase{"31.12.1999", "09:05:30", false, ""},
                    TDateCase{"07.03.2025", "25:00:00", false, ""},
                    TDateCase{"31.04.2024", "09:05:30", false, ""},
                    TDateCase{"29.02.2023", "09:05:30", false, ""},
                    TDateCase{"30.02.2024", "09:05:30", false, ""},
                    TDateCase{"07.13.2025", "09:05:30", false, ""},
                    TDateCase{"00.03.2025", "09:05:30", false, ""},
                    TDateCase{"07.03.2025", "09:60:00", false, ""},
                    TDateCase{"07.03.2025", "09:05:60", false, ""},
                    TDateCase{"07.03.2025", "", false, ""},
                    TDateCase{"07.03.2025", "9:05:30", false, ""},
                    TDateCase{"Datum", "Beginn", false, ""}, TDateCase{"", "", false, ""}));

TEST(CsvField, ReplacesSeparatorAndLineBreaks) {
    EXPECT_EQ(CsvField("Plan; Teil\r\n2"), QStringLiteral("Plan, Teil  2"));
    EXPECT_EQ(CsvField(QString()), QString());
}

TEST(SplitFields, KeepsEmptyFieldsAndBlanks) {
    EXPECT_EQ(SplitFields("a;;b ;"), (QStringList{"a", "", "b ", ""}));
    EXPECT_EQ(SplitFields(""), QStringList{""});
}

TEST(FormatValues, IntegersDatesAndYesNo) {
    const QDateTime start(QDate(2025, 3, 7), QTime(9, 5, 30));
    EXPECT_EQ(FormatDate(start), QStringLiteral("07.03.2025"));
    EXPECT_EQ(FormatTime(start), QStringLiteral("09:05:30"));
    EXPECT_EQ(FormatInt(-3), QStringLiteral("-3"));
    EXPECT_EQ(FormatOptionalInt(-1), QString());
    EXPECT_EQ(FormatOptionalInt(0), QStringLiteral("0"));
    EXPECT_EQ(FormatYesNo(true), QStringLiteral("ja"));
    EXPECT_EQ(FormatYesNo(false), QStringLiteral("nein"));
    EXPECT_TRUE(ReadYesNo("JA"));
    EXPECT_FALSE(ReadYesNo("ja "));
    EXPECT_FALSE(ReadYesNo("nein"));
}

} // namespace
} // namespace kalvero
