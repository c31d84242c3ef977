#include <gtest/gtest.h>

#include "app/global_state.h"
#include "support/dashboard_fixture.h"
#include "visits/settings_file.h"

namespace {

using platform::Date;

std::string Crlf(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) s += std::string(l) + "\r\n";
    return s;
}

// The canonical file for the given values.
std::string Canonical(const char* last, const char* remind, int in, int sww, int mos) {
    return "[SETTINGS]\r\nLast Store Visit = " + std::string(last) + "\r\nRemind Me Date = " + remind +
           "\r\nRemind Me In = " + std::to_string(in) + "\r\nStart With Windows = " + std::to_string(sww) +
           "\r\nMinimize on Startup = " + std::to_string(mos) + "\r\n\r\n[COMPANY INFO]\r\n\r\n";
}

struct Fields {
    Date last, remind;
    int16_t in, sww, mos;
};

struct LoadCase {
    const char* name;
    std::optional<std::string> file;       // empty: no file
    Fields expected;
    std::optional<std::string> afterward;  // the file after loading; empty: left as it was
    const char* lastLabel;                 // lblLastStoreVisit, lblNextStoreVisit afterwards
    const char* nextLabel;
};

const Date kZero{};
const Date kJul19 = Date::fromYmd(2017, 7, 19);  // the fake clock's today
const Date kJan17 = Date::fromYmd(2018, 1, 17);  // today + 182

const char* const kExample = "[SETTINGS]\r\nLast Store Visit = 7/19/2017\r\nRemind Me Date = 1/17/2018\r\n"
                             "Remind Me In = 0\r\nStart With Windows = 1\r\nMinimize on Startup = 0\r\n\r\n"
                             "[COMPANY INFO]\r\n\r\n";

const LoadCase kLoadCases[] = {
    {"NoFileCreatesDefaults", std::nullopt, {kJul19, kJan17, 0, 1, 0}, Canonical("7/19/2017", "1/17/2018", 0, 1, 0),
     "7/19/2017", "1/17/2018"},
    {"EmptyFileSwitchesBothOn", "", {kZero, kZero, 0, 1, 1}, Canonical("12/30/1899", "12/30/1899", 0, 1, 1),
     "5/31/1977", "5/31/1977"},
    {"CanonicalFileIsKept", kExample, {kJul19, kJan17, 0, 1, 0}, kExample, "7/19/2017", "1/17/2018"},
    {"LastVisitShownAsWritten", Crlf({"Last Store Visit = 07/04/2016", "Start With Windows = 0"}),
     {Date::fromYmd(2016, 7, 4), kZero, 0, 0, 0}, Canonical("7/4/2016", "12/30/1899", 0, 0, 0), "07/04/2016",
     "1/2/2017"},
    {"NoBlanksAroundEqualsIgnoresKey", Crlf({"Last Store Visit=7/19/2017", "Start With Windows = 0"}),
     {kZero, kZero, 0, 0, 0}, Canonical("12/30/1899", "12/30/1899", 0, 0, 0), "5/31/1977", "5/31/1977"},
    {"TwoBlanksAroundEqualsIgnoresKey", Crlf({"Last Store Visit  =  7/19/2017", "Start With Windows = 0"}),
     {kZero, kZero, 0, 0, 0}, Canonical("12/30/1899", "12/30/1899", 0, 0, 0), "5/31/1977", "5/31/1977"},
    {"MissingStartWithWindowsTurnsMinimizeOn", Crlf({"[SETTINGS]", "Minimize on Startup = 0"}), {kZero, kZero, 0, 1, 1},
     Canonical("12/30/1899", "12/30/1899", 0, 1, 1), "5/31/1977", "5/31/1977"},
    {"RemindMeInNotANumberStopsReading",
     Crlf({"Last Store Visit = 7/19/2017", "Remind Me In = soon", "Start With Windows = 0", "Minimize on Startup = 1"}),
     {kJul19, kZero, 0, 0, 0}, std::nullopt, "7/19/2017", "1/17/2018"},
    {"ExtraKeysDisappear",
     Crlf({"[SETTINGS]", "Last Store Visit = 7/19/2017", "Remind Me Date = 1/17/2018", "Remind Me In = 7",
           "Start With Windows = 1", "Minimize on Startup = 1", "", "[COMPANY INFO]", "Phone = 555", "; comment"}),
     {kJul19, kJan17, 7, 1, 1}, Canonical("7/19/2017", "1/17/2018", 7, 1, 1), "7/19/2017", "1/17/2018"},
    {"LaterKeyWins", Crlf({"Remind Me In = 1", "Start With Windows = 1", "Remind Me In = 30", "Start With Windows = 0"}),
     {kZero, kZero, 30, 0, 0}, Canonical("12/30/1899", "12/30/1899", 30, 0, 0), "5/31/1977", "5/31/1977"},
    {"LineStartingWithEqualsStopsReading", Crlf({"Remind Me In = 7", "= 5", "Start With Windows = 0"}),
     {kZero, kZero, 7, 0, 0}, std::nullopt, "5/31/1977", "5/31/1977"},
    {"NumberBeyondSixteenBitsStopsReading", Crlf({"Start With Windows = 0", "Remind Me In = 40000"}),
     {kZero, kZero, 0, 0, 0}, std::nullopt, "5/31/1977", "5/31/1977"},
    {"ImpossibleDateStopsReading", Crlf({"Remind Me In = 7", "Remind Me Date = 2/30/2017", "Start With Windows = 0"}),
     {kZero, kZero, 7, 0, 0}, std::nullopt, "5/31/1977", "5/31/1977"},
    {"SignsAndBlanksAroundNumbers",
     Crlf({"Remind Me In =  -5 ", "Start With Windows = +1", "Minimize on Startup = -32768"}), {kZero, kZero, -5, 1, -32768},
     Canonical("12/30/1899", "12/30/1899", -5, 1, -32768), "5/31/1977", "5/31/1977"},
    {"KeysAreCaseSensitive", Crlf({"start with windows = 0", "Remind me in = 7"}), {kZero, kZero, 0, 1, 1},
     Canonical("12/30/1899", "12/30/1899", 0, 1, 1), "5/31/1977", "5/31/1977"},
    {"EmptyKeyIgnored", Crlf({"x= 5", "Start With Windows = 0"}), {kZero, kZero, 0, 0, 0},
     Canonical("12/30/1899", "12/30/1899", 0, 0, 0), "5/31/1977", "5/31/1977"},
    {"LineFeedsAndNoFinalLineEnd", "Remind Me In = 7\nStart With Windows = 0\nMinimize on Startup = 1",
     {kZero, kZero, 7, 0, 1}, Canonical("12/30/1899", "12/30/1899", 7, 0, 1), "5/31/1977", "5/31/1977"},
};

class SettingsFileLoad : public fakes::DashboardTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SettingsFileLoad, Case) {
    const LoadCase& c = GetParam();
    if (c.file) os.files.files[settingsPath()] = *c.file;

    modINI::LoadSettings();

    EXPECT_EQ(modGlobal::dLastStoreVisit, c.expected.last);
    EXPECT_EQ(modGlobal::dRemindMeDate, c.expected.remind);
    EXPECT_EQ(modGlobal::iRemindMeIn, c.expected.in);
    EXPECT_EQ(modGlobal::iStartWithWindows, c.expected.sww);
    EXPECT_EQ(modGlobal::iMinimizeOnStartup, c.expected.mos);
    EXPECT_EQ(os.files.files.at(settingsPath()), c.afterward ? *c.afterward : *c.file);
    if (!c.afterward) {
        EXPECT_EQ(os.files.writes, 0);
    }
    EXPECT_EQ(dash().lblLastStoreVisit.caption(), c.lastLabel);
    EXPECT_EQ(dash().lblNextStoreVisit.caption(), c.nextLabel);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileLoad, ::testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

using SettingsFile = fakes::DashboardTest;

TEST_F(SettingsFile, VisitDisplaySetsProgressMaximum) {
    os.files.files[settingsPath()] = kExample;
    modINI::LoadSettings();
    EXPECT_EQ(dash().pbLastStoreVisit.max(), 182);
}

TEST_F(SettingsFile, UnreadableFileChangesNothing) {
    os.files.files[settingsPath()] = kExample;
    os.files.unreadable.insert(settingsPath());
    modGlobal::iRemindMeIn = 3;
    modINI::LoadSettings();
    EXPECT_EQ(modGlobal::iRemindMeIn, 3);
    EXPECT_EQ(modGlobal::iStartWithWindows, 0);  // the end-of-file rule is not applied
    EXPECT_EQ(os.files.writes, 0);
}

TEST_F(SettingsFile, ReadOnlyFolderWithoutFileKeepsDefaultsInMemory) {
    os.files.readOnlyFolder = true;
    modINI::LoadSettings();
    EXPECT_EQ(modGlobal::dLastStoreVisit, kJul19);
    EXPECT_EQ(modGlobal::dRemindMeDate, kJan17);
    EXPECT_EQ(modGlobal::iStartWithWindows, 1);
    EXPECT_EQ(modGlobal::iMinimizeOnStartup, 0);
    EXPECT_TRUE(os.files.files.empty());
    EXPECT_EQ(dash().lblLastStoreVisit.caption(), "7/19/2017");
    EXPECT_EQ(dash().lblNextStoreVisit.caption(), "1/17/2018");
}

TEST_F(SettingsFile, ReadOnlyFolderWithFileReadsIt) {
    os.files.files[settingsPath()] = Crlf({"Remind Me In = 7"});
    os.files.readOnlyFolder = true;
    modINI::LoadSettings();
    EXPECT_EQ(modGlobal::iRemindMeIn, 7);
    EXPECT_EQ(os.files.files.at(settingsPath()), Crlf({"Remind Me In = 7"}));
}

// A package's installed program keeps the same file in the user's settings folder.
TEST_F(SettingsFile, InstalledProgramKeepsItsFileInTheSettingsFolder) {
    os.files.installed = true;
    os.files.settings = "C:\\Users\\client\\settings folder";
    modINI::LoadSettings();
    EXPECT_EQ(os.files.files.at(os.files.settings + "\\settings.ini"), Canonical("7/19/2017", "1/17/2018", 0, 1, 0));
    EXPECT_EQ(os.files.files.size(), 1u);
}

TEST_F(SettingsFile, SaveWritesNineLinesInTheUsersDateFormat) {
    os.clock.format = platform::ShortDateFormat{platform::ShortDateFormat::Order::DayMonthYear, ".", true, true, "", "", ""};
    modGlobal::dLastStoreVisit = kJul19;
    modGlobal::dRemindMeDate = kJan17;
    modGlobal::iRemindMeIn = 182;
    modGlobal::iStartWithWindows = 0;
    modGlobal::iMinimizeOnStartup = 1;
    ASSERT_TRUE(modINI::SaveSettings());
    EXPECT_EQ(os.files.files.at(settingsPath()), Canonical("19.07.2017", "17.01.2018", 182, 0, 1));

    // Read back with the same settings.
    modGlobal::Reset();
    modINI::LoadSettings();
    EXPECT_EQ(modGlobal::dLastStoreVisit, kJul19);
    EXPECT_EQ(modGlobal::dRemindMeDate, kJan17);
    EXPECT_EQ(modGlobal::iRemindMeIn, 182);
}

TEST(SettingNumber, Parsing) {
    const std::pair<const char*, std::optional<int16_t>> cases[] = {
        {"0", 0},        {"32767", 32767},     {"-32768", -32768}, {"32768", std::nullopt}, {"-32769", std::nullopt},
        {" 12 ", 12},    {"007", 7},           {"", std::nullopt}, {"-", std::nullopt},     {"1.5", std::nullopt},
        {"1 2", std::nullopt}, {"99999999999", std::nullopt}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(modINI::ParseSettingNumber(text), expected) << text;
}

}  // namespace
