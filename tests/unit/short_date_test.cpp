#include <gtest/gtest.h>

#include "platform/short_date.h"

using platform::Date;
using platform::ShortDateFormat;
using Order = ShortDateFormat::Order;

namespace {

const ShortDateFormat kUs{};  // M/d/yyyy
const ShortDateFormat kGerman{Order::DayMonthYear, ".", true, true, "", "", ""};
const ShortDateFormat kIso{Order::YearMonthDay, "-", true, true, "", "", ""};
// Pictures whose literals are not all one separator.
const ShortDateFormat kHungarian{Order::YearMonthDay, ". ", true, true, "", "", "."};
const ShortDateFormat kBulgarian{Order::DayMonthYear, ".", false, false, "", "", " \xd0\xb3."};
const ShortDateFormat kKorean{Order::YearMonthDay, "\xeb\x85\x84 ", true, true, "\xec\x9b\x94 ", "", "\xec\x9d\xbc"};

TEST(Date, ZeroDateIsThirtiethOfDecember1899) {
    int y, m, d;
    Date{}.toYmd(y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991230);
    EXPECT_EQ(Date::fromYmd(1900, 1, 1).serial, 2);
    EXPECT_EQ(Date::fromYmd(2017, 7, 19).serial, 42935);
    EXPECT_EQ(Date::fromYmd(2016, 2, 29) + 1, Date::fromYmd(2016, 3, 1));
}

struct FormatCase {
    ShortDateFormat format;
    int y, m, d;
    const char* text;
};

class ShortDateFormatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ShortDateFormatting, WritesAndReadsBack) {
    const FormatCase& c = GetParam();
    const Date date = Date::fromYmd(c.y, c.m, c.d);
    EXPECT_EQ(platform::formatShortDate(c.format, date), c.text);
    EXPECT_EQ(platform::parseShortDate(c.format, c.text), date);
}

INSTANTIATE_TEST_SUITE_P(Formats, ShortDateFormatting,
                         ::testing::Values(FormatCase{kUs, 2017, 7, 19, "7/19/2017"},
                                           FormatCase{kUs, 2018, 1, 17, "1/17/2018"},
                                           FormatCase{kUs, 1899, 12, 30, "12/30/1899"},
                                           FormatCase{kGerman, 2017, 7, 9, "09.07.2017"},
                                           FormatCase{kIso, 2017, 7, 9, "2017-07-09"},
                                           FormatCase{kHungarian, 2017, 7, 9, "2017. 07. 09."},
                                           FormatCase{kBulgarian, 2017, 7, 9, "9.7.2017 \xd0\xb3."},
                                           FormatCase{kKorean, 2017, 7, 9, "2017\xeb\x85\x84 07\xec\x9b\x94 09\xec\x9d\xbc"}));

struct ParseCase {
    const char* text;
    std::optional<Date> expected;
};

class ShortDateParsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ShortDateParsing, UsFormat) {
    EXPECT_EQ(platform::parseShortDate(kUs, GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ShortDateParsing,
    ::testing::Values(ParseCase{"07/04/2017", Date::fromYmd(2017, 7, 4)},   // leading zeros
                      ParseCase{"  7/4/2017 ", Date::fromYmd(2017, 7, 4)},  // blanks around
                      ParseCase{"7/19/17", Date::fromYmd(2017, 7, 19)},     // two-digit years
                      ParseCase{"1/1/30", Date::fromYmd(1930, 1, 1)},
                      ParseCase{"2/29/2016", Date::fromYmd(2016, 2, 29)},
                      ParseCase{"2/29/2017", std::nullopt},  // no such day
                      ParseCase{"13/1/2017", std::nullopt},
                      ParseCase{"7/19", std::nullopt},
                      ParseCase{"7/19/2017/1", std::nullopt},
                      ParseCase{"7-19-2017", std::nullopt},
                      ParseCase{"7/ 19/2017", std::nullopt},
                      ParseCase{"", std::nullopt},
                      ParseCase{"today", std::nullopt}));

struct PictureCase {
    const char* picture;
    bool strftime;
    ShortDateFormat expected;
};

class ShortDatePictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ShortDatePictures, Parsed) {
    const PictureCase& c = GetParam();
    EXPECT_EQ(c.strftime ? ShortDateFormat::fromStrftime(c.picture) : ShortDateFormat::fromPicture(c.picture),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, ShortDatePictures,
    ::testing::Values(PictureCase{"M/d/yyyy", false, kUs}, PictureCase{"dd.MM.yyyy", false, kGerman},
                      PictureCase{"yyyy-MM-dd", false, kIso},
                      PictureCase{"d/M/yy", false, {Order::DayMonthYear, "/", false, false, "", "", ""}},
                      PictureCase{"%m/%d/%Y", true, {Order::MonthDayYear, "/", true, true, "", "", ""}},
                      PictureCase{"%d.%m.%Y", true, kGerman}, PictureCase{"%Y-%m-%d", true, kIso},
                      PictureCase{"%F", true, kIso},
                      PictureCase{"%d/%m/%y", true, {Order::DayMonthYear, "/", true, true, "", "", ""}},
                      PictureCase{"yyyy. MM. dd.", false, kHungarian},
                      PictureCase{"d.M.yyyy '\xd0\xb3.'", false, kBulgarian},
                      PictureCase{"%Y. %m. %d.", true, kHungarian},
                      PictureCase{"%Y\xeb\x85\x84 %m\xec\x9b\x94 %d\xec\x9d\xbc", true, kKorean},
                      PictureCase{"'Day' d/M/yyyy", false, {Order::DayMonthYear, "/", false, false, "", "Day ", ""}}));

TEST(ShortDateParsing, LiteralsAroundTheNumbersMayBeLeftOut) {
    EXPECT_EQ(platform::parseShortDate(kHungarian, "2017. 07. 09"), Date::fromYmd(2017, 7, 9));
    EXPECT_EQ(platform::parseShortDate(kBulgarian, " 9.7.2017 "), Date::fromYmd(2017, 7, 9));
    EXPECT_EQ(platform::parseShortDate(kHungarian, "2017-07-09"), std::nullopt);
}

}  // namespace
