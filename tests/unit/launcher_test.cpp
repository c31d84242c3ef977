#include <gtest/gtest.h>

#include "mail/launcher.h"
#include "support/dashboard_fixture.h"

namespace {

struct ResultCase {
    int32_t code;
    int32_t number;
    const char* message;
};

constexpr int32_t Base(int32_t code) { return static_cast<int32_t>(0x80040418u + static_cast<uint32_t>(code)); }
const char* const kGeneral = "An error occurred occurred whilst trying to open or print the selected file.";

class ShellResultTable : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ShellResultTable, GivesTheNumberAndMessage) {
    const ResultCase& c = GetParam();
    const mShellExecute::LaunchError e = mShellExecute::DescribeShellResult(c.code);
    EXPECT_EQ(e.number, c.number);
    EXPECT_EQ(e.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ShellResultTable,
    ::testing::Values(
        ResultCase{0, 7, "Out of memory"}, ResultCase{2, 53, "File not found"}, ResultCase{3, 76, "Path not found"},
        ResultCase{5, 75, "Path/file access error"}, ResultCase{8, 7, "Out of memory"},
        ResultCase{11, Base(11), "The executable file is invalid or corrupt"},
        ResultCase{26, 75, "A sharing violation occurred."},
        ResultCase{27, Base(27), "This file type does not have a valid file association."},
        ResultCase{28, 286, "The file could not be opened due to time out.  Please try again in a moment."},
        ResultCase{29, 285,
                   "The file could not be opened because the DDE transaction failed.  Please try again in a moment."},
        ResultCase{30, 285,
                   "The file could not be opened because the target application is busy.  Please try again in a moment."},
        ResultCase{31, Base(31), "No application is associated with this file type."},
        ResultCase{32, 48, "The specified dynamic-link library was not found."}, ResultCase{1, Base(1), kGeneral},
        ResultCase{4, Base(4), kGeneral}, ResultCase{6, Base(6), kGeneral}, ResultCase{7, Base(7), kGeneral},
        ResultCase{9, Base(9), kGeneral}, ResultCase{10, Base(10), kGeneral}, ResultCase{12, Base(12), kGeneral},
        ResultCase{25, Base(25), kGeneral}));

TEST(ShellResultTable, BaseNumbersAreNegative) {
    EXPECT_EQ(mShellExecute::DescribeShellResult(31).number, static_cast<int32_t>(0x80040437u));
    EXPECT_LT(mShellExecute::DescribeShellResult(11).number, 0);
}

// What LaunchFile hands the shell, and what it makes of the answer.
struct LaunchCase {
    const char* name;
    const char* file;
    int32_t showMode;
    const char* parameters;
    const char* folder;
    int32_t shellResult;
    int32_t expectedShowMode;
    bool expectedResult;
};

class LaunchFileCases : public fakes::DashboardTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchFileCases, PassesTheRequestAndReportsTheResult) {
    const LaunchCase& c = GetParam();
    os.launcher.result = c.shellResult;
    EXPECT_EQ(mShellExecute::LaunchFile(c.file, c.showMode, c.parameters, c.folder, "open", 77), c.expectedResult);
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    const platform::ShellRequest& r = os.launcher.requests[0];
    EXPECT_EQ(r.file, c.file);
    EXPECT_EQ(r.verb, "open");
    EXPECT_EQ(r.owner, 77u);
    EXPECT_EQ(r.parameters, c.parameters);
    EXPECT_EQ(r.folder, c.folder);
    EXPECT_EQ(r.showMode, c.expectedShowMode);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, LaunchFileCases,
    ::testing::Values(
        // No parameters and no folder: always a normal window, whatever the show mode.
        LaunchCase{"RemoteSupport", "C:\\P F\\PROGRAMS\\TAV-Remote-Support.exe", 10, "", "", 42, 1, true},
        LaunchCase{"DocumentNoArgs", "C:\\notes.txt", 3, "", "", 42, 1, true},
        // With parameters or a folder: an executable in any letter case is started hidden.
        LaunchCase{"ExeWithParameters", "C:\\tool.ExE", 10, "/s", "", 42, 0, true},
        LaunchCase{"ExeInTheMiddle", "C:\\my.exe.d\\run.bat", 10, "", "C:\\", 42, 0, true},
        LaunchCase{"DocumentWithFolder", "notes.txt", 3, "", "C:\\docs", 42, 3, true},
        // Results: above 32 and negative succeed, 0 to 32 fail.
        LaunchCase{"Result33", "a.txt", 1, "", "", 33, 1, true},
        LaunchCase{"NegativeResult", "a.txt", 1, "", "", -1, 1, true},
        LaunchCase{"Result32", "a.txt", 1, "", "", 32, 1, false},
        LaunchCase{"NotFound", "a.txt", 1, "", "", 2, 1, false},
        LaunchCase{"Zero", "a.txt", 1, "", "", 0, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

class Launcher : public fakes::DashboardTest {};

TEST_F(Launcher, LaunchFileRecordsItsFailure) {
    os.launcher.result = 31;
    EXPECT_FALSE(mShellExecute::LaunchFile("x.unknown", 1, "", "", "open", 0));
    const mShellExecute::LaunchError& e = mShellExecute::LastError();
    EXPECT_EQ(e.number, static_cast<int32_t>(0x80040437u));
    EXPECT_EQ(e.message, "No application is associated with this file type.");
    EXPECT_EQ(e.source, "TAVDashboard.GShell");
}

TEST_F(Launcher, OpenWebPageOpensWithCapitalOAndANormalWindow) {
    os.launcher.result = 2;  // ignored
    mShellExecute::OpenWebPage("http://www.example.test/");
    ASSERT_EQ(os.launcher.requests.size(), 1u);
    const platform::ShellRequest& r = os.launcher.requests[0];
    EXPECT_EQ(r.verb, "Open");
    EXPECT_EQ(r.file, "http://www.example.test/");
    EXPECT_EQ(r.parameters, "");
    EXPECT_EQ(r.folder, "");
    EXPECT_EQ(r.showMode, 1);
    EXPECT_EQ(r.owner, 0u);
    EXPECT_TRUE(host.msgBoxes.empty());
}

}  // namespace
