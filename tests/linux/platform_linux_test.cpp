#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <sys/wait.h>

#include "platform/linux/clock_linux.h"
#include "platform/linux/crypto_linux.h"
#include "platform/linux/files_linux.h"
#include "platform/linux/instance_windows_linux.h"
#include "platform/linux/local_line_server.h"
#include "platform/linux/processes_linux.h"
#include "platform/linux/session_start_linux.h"
#include "platform/temporary_name.h"
#include "support/crypto_checks.h"
#include "update/download.h"

namespace fs = std::filesystem;
using platform::ShortDateFormat;
using Order = ShortDateFormat::Order;

namespace {

// A temporary folder, removed with its contents.
struct TempFolder {
    TempFolder() {
        char pattern[] = "/tmp/tav-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() {
        chmod(path.c_str(), 0700);
        fs::remove_all(path);
    }
    std::string path;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(LinuxShortDate, UsStyleForUsEnglishAndC) {
    const ShortDateFormat us{};
    EXPECT_EQ(platform::ShortDateFormatFor("en_US.UTF-8", "%m/%d/%Y"), us);
    EXPECT_EQ(platform::ShortDateFormatFor("C", "%m/%d/%y"), us);
    EXPECT_EQ(platform::ShortDateFormatFor("C.UTF-8", "%m/%d/%y"), us);
    EXPECT_EQ(platform::ShortDateFormatFor("POSIX", "%m/%d/%y"), us);
    EXPECT_EQ(platform::ShortDateFormatFor("de_DE.UTF-8", "%d.%m.%Y"), (ShortDateFormat{Order::DayMonthYear, ".", true, true, "", "", ""}));
    EXPECT_EQ(platform::ShortDateFormatFor("en_GB.UTF-8", "%d/%m/%y"), (ShortDateFormat{Order::DayMonthYear, "/", true, true, "", "", ""}));
}

TEST(LinuxFiles, ReplaceWritesBytesExactlyAndLeavesNoTemporaryFile) {
    TempFolder dir;
    platform::FilesLinux files;
    const std::string path = dir.path + "/settings.ini";
    ASSERT_TRUE(files.replace(path, "old\r\n"));
    ASSERT_TRUE(files.replace(path, std::string("new\r\n\0x", 7)));
    EXPECT_EQ(files.read(path), std::string("new\r\n\0x", 7));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(LinuxFiles, FailedReplaceKeepsTheOldEntryAndNoTemporaryFile) {
    TempFolder dir;
    platform::FilesLinux files;
    // A folder where the file should be: the final rename fails.
    const std::string path = dir.path + "/settings.ini";
    fs::create_directory(path);
    std::ofstream(path + "/keep") << "x";
    EXPECT_FALSE(files.replace(path, "new"));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

// A process killed in the middle of a replace leaves its temporary file; the next replace of
// the same file removes it, but never one whose writer still runs, nor another file's.
TEST(LinuxFiles, ReplaceRemovesTemporariesOfEndedWriters) {
    TempFolder dir;
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);  // an ended process
    const std::string path = dir.path + "/settings.ini";
    const std::string ended = dir.path + "/" + platform::TemporaryName("settings.ini", static_cast<uint32_t>(child), 0);
    const std::string running = dir.path + "/" + platform::TemporaryName("settings.ini", 1, 0);  // init always runs
    const std::string other = dir.path + "/" + platform::TemporaryName("other.ini", static_cast<uint32_t>(child), 0);
    for (const std::string& f : {ended, running, other}) std::ofstream(f) << "half";
    platform::FilesLinux files;
    ASSERT_TRUE(files.replace(path, "new"));
    EXPECT_FALSE(fs::exists(ended));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(ReadAll(path), "new");
}

TEST(LinuxFiles, ReplaceIntoMissingFolderFails) {
    platform::FilesLinux files;
    EXPECT_FALSE(files.replace("/nonexistent-folder-of-tav/settings.ini", "x"));
    EXPECT_FALSE(files.exists("/nonexistent-folder-of-tav/settings.ini"));
    EXPECT_EQ(files.read("/nonexistent-folder-of-tav/settings.ini"), std::nullopt);
}

TEST(LinuxFiles, ProgramFolderHoldsTheExecutable) {
    platform::FilesLinux files;
    const std::string folder = files.programFolder();
    EXPECT_TRUE(fs::exists(folder + "/tav_linux_unit_tests"));
    EXPECT_NE(folder.back(), '/');
}

// Beside its executable in a writable folder everything stays there; installed by the package
// (the executable in the package's folder) it uses the user's XDG folders, made when missing.
TEST(LinuxFiles, WhereTheProgramKeepsItsFiles) {
    TempFolder dir;
    platform::FilesLinux beside("/usr/bin");
    const std::string program = beside.programFolder();
    EXPECT_EQ(beside.settingsFolder(), program);
    EXPECT_EQ(beside.supportFolder(), program);
    EXPECT_TRUE(beside.updatesItself());

    setenv("XDG_CONFIG_HOME", (dir.path + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir.path + "/data/share").c_str(), 1);
    platform::FilesLinux installed(program);
    EXPECT_FALSE(installed.updatesItself());
    EXPECT_EQ(installed.settingsFolder(), dir.path + "/config/TAVDashboard");
    EXPECT_EQ(installed.supportFolder(), dir.path + "/data/share/TAVDashboard");
    EXPECT_TRUE(fs::is_directory(dir.path + "/config/TAVDashboard"));
    EXPECT_TRUE(fs::is_directory(dir.path + "/data/share/TAVDashboard"));

    // Unset or relative XDG variables fall back to the home folder's defaults.
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", dir.path.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(installed.settingsFolder(), dir.path + "/.config/TAVDashboard");
    EXPECT_EQ(installed.supportFolder(), dir.path + "/.local/share/TAVDashboard");
    EXPECT_TRUE(fs::is_directory(dir.path + "/.local/share/TAVDashboard"));
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}

TEST(LinuxProcesses, CommandLineWords) {
    using V = std::vector<std::string>;
    EXPECT_EQ(platform::SplitCommandLine("cmd.exe /c maketask.vbs"), (V{"cmd.exe", "/c", "maketask.vbs"}));
    EXPECT_EQ(platform::SplitCommandLine("\"/opt/my tools/run\"  -x \"\""), (V{"/opt/my tools/run", "-x", ""}));
    EXPECT_EQ(platform::SplitCommandLine("   "), V{});
}

TEST(LinuxProcesses, StartsWithoutWaiting) {
    TempFolder dir;
    platform::ProcessesLinux processes;
    const std::string marker = dir.path + "/started";
    ASSERT_TRUE(processes.start("touch " + marker, platform::WindowMode::Minimized));
    for (int i = 0; i < 200 && !fs::exists(marker); ++i) usleep(10000);
    EXPECT_TRUE(fs::exists(marker));
    EXPECT_FALSE(processes.start("/nonexistent/program", platform::WindowMode::Normal));
}

TEST(LinuxSessionStart, WritesTheAutostartEntryAgainAtEveryStart) {
    TempFolder dir;
    setenv("XDG_CONFIG_HOME", (dir.path + "/config").c_str(), 1);
    platform::FilesLinux files;
    platform::SessionStartLinux session(files);
    session.registerAtLogon();
    const std::string entry = dir.path + "/config/autostart/TAVDashboard.desktop";
    ASSERT_TRUE(fs::exists(entry));
    std::ofstream(entry) << "stale";
    session.registerAtLogon();
    const std::string text = ReadAll(entry);
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("Exec=\"" + files.programFolder() + "/TAVDashboard\"\n"), std::string::npos);
    unsetenv("XDG_CONFIG_HOME");
}

TEST(LinuxSessionStart, ExecQuoting) {
    EXPECT_NE(platform::AutostartEntry("/home/a b/TAVDashboard").find("Exec=\"/home/a b/TAVDashboard\"\n"), std::string::npos);
    EXPECT_NE(platform::AutostartEntry("/x/$HOME\\\"q/T").find("Exec=\"/x/\\\\$HOME\\\\\\\\\\\\\"q/T\"\n"), std::string::npos);
}

// The first instance holds the lock and listens; a second one finds it and asks it to come forward.
TEST(LinuxSingleInstance, SecondInstanceBringsTheFirstForward) {
    TempFolder dir;
    setenv("XDG_RUNTIME_DIR", dir.path.c_str(), 1);
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication qapp(argc, argv);

    std::vector<bool> requests;
    platform::InstanceWindowsLinux first("TAVDashboard", [&](bool restore) { requests.push_back(restore); });
    ASSERT_FALSE(first.earlierInstanceRunning());

    platform::InstanceWindowsLinux second("TAVDashboard", [](bool) { FAIL() << "the second instance does not listen"; });
    ASSERT_TRUE(second.earlierInstanceRunning());
    second.setApplicationTitle("unwanted instance");
    EXPECT_EQ(second.findWindow("ThunderRTMain", "TAVDashboard"), 0u);
    EXPECT_EQ(second.findWindow("ThunderRT6Main", "unwanted instance"), 0u);
    const platform::WindowHandle found = second.findWindow("ThunderRT6Main", "TAVDashboard");
    ASSERT_NE(found, 0u);
    const platform::WindowHandle above = second.windowAbove(found);
    second.openIcon(above);
    second.setForeground(above);

    QElapsedTimer waited;
    waited.start();
    while (requests.size() < 2 && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(requests, (std::vector<bool>{true, false}));
    unsetenv("XDG_RUNTIME_DIR");
}

// What peers write reaches the listener as whole lines, however the writes split them.
TEST(LinuxSingleInstance, TheListenerHandsOnWholeLines) {
    TempFolder dir;
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication qapp(argc, argv);
    const std::string path = dir.path + "/lines.sock";
    struct Case {
        const char* what;
        std::vector<std::string> writes;  // one write each, then the peer closes
        std::vector<std::string> lines;
    };
    const std::string huge(5000, 'x');
    const std::vector<Case> cases = {
        {"one line", {"restore\n"}, {"restore"}},
        {"two in one write", {"restore\nforeground\n"}, {"restore", "foreground"}},
        {"a line split across writes", {"rest", "ore\nfore", "ground\n"}, {"restore", "foreground"}},
        {"Windows line ends", {"restore\r\n"}, {"restore"}},
        {"an unended line is dropped with its peer", {"restore\nforegr"}, {"restore"}},
        {"a line too long for memory", {huge + "restore\n"}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        platform::LocalLineServer server([&](const std::string& line) { got.push_back(line); });
        ASSERT_TRUE(server.listen(path)) << c.what;
        struct stat st{};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << "only the user may connect";
        const int peer = platform::ConnectLocalLineServer(path, 2000);
        ASSERT_GE(peer, 0) << c.what;
        for (const std::string& w : c.writes) {
            // Each write arrives on its own before the next is sent.
            ASSERT_EQ(send(peer, w.data(), w.size(), MSG_NOSIGNAL), static_cast<ssize_t>(w.size())) << c.what;
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        close(peer);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(got, c.lines) << c.what;
    }
    // Closing removes the socket file; nothing listens there any more.
    {
        platform::LocalLineServer server([](const std::string&) {});
        ASSERT_TRUE(server.listen(path));
    }
    struct stat st{};
    EXPECT_NE(stat(path.c_str(), &st), 0);
    EXPECT_EQ(platform::ConnectLocalLineServer(path, 2000), -1);
    EXPECT_FALSE(platform::LocalLineServer([](const std::string&) {}).listen(dir.path + "/" + std::string(120, 's')))
        << "longer than a socket address holds";
}

}  // namespace

// The download check takes this build's real programs, and refuses them cut short.
TEST(LinuxUpdateCheck, RealProgramsOfThisBuildAreWhole) {
    for (const char* path : {"/proc/self/exe", "/usr/bin/true"}) {
        const std::string bytes = ReadAll(path);
        ASSERT_GT(bytes.size(), 4096u) << path;
        EXPECT_TRUE(update::IsProgramForThisBuild(bytes)) << path;
        EXPECT_FALSE(update::IsProgramForThisBuild(bytes.substr(0, bytes.size() - 1000))) << path;
    }
}

namespace {

TEST(LinuxCrypto, DigestsAndTheStoresSignatures) {
    platform::CryptoLinux crypto;
    fakes::CheckPlatformCrypto(crypto);
}

}  // namespace
