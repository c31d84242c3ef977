#include <gtest/gtest.h>

#include "app/version.h"
#include "store_config.h"
#include "support/dashboard_fixture.h"
#include "support/signed_files.h"
#include "update/auto_update.h"
#include "update/batch_files.h"
#include "update/download.h"
#include "update/frm_auto_update.h"
#include "update/signature.h"
#include "update/version_compare.h"

namespace {

using fakes::FakeHttp;
using platform::HttpResponse;
using update::frmAutoUpdate;

const std::string kSuffix = store::kProgramSuffix;
std::string Url(const std::string& file) { return std::string(store::kUpdateBaseUrl) + store::kUpdateFolder + "/" + file; }
std::string SupportUrl() {
    return std::string(store::kUpdateBaseUrl) + store::kSupportUpdateFolder + "/TAV-Remote-SupportNEW" + kSuffix;
}

// A file this build takes for one of its programs, of the given size: a header of this build's
// format whose tables lie inside the file.
std::string ProgramBytes(size_t size) {
    std::string b(size, 'x');
#ifdef _WIN32
    b.replace(0, 0x58, std::string(0x58, '\0'));
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = 0x40;
    b.replace(0x40, 4, std::string("PE\0\0", 4));
#if defined(__x86_64__)
    b[0x44] = 0x64;
    b[0x45] = static_cast<char>(0x86);
#else
    b[0x44] = 0x4C;
    b[0x45] = 0x01;
#endif
    // One section, its raw data the last 100 bytes of the file.
    b[0x46] = 1;
    b.replace(0x58, 40, std::string(40, '\0'));
    const uint32_t rawSize = 100, rawAt = static_cast<uint32_t>(size - 100);
    for (int i = 0; i < 4; ++i) {
        b[0x58 + 16 + i] = static_cast<char>(rawSize >> (8 * i));
        b[0x58 + 20 + i] = static_cast<char>(rawAt >> (8 * i));
    }
#else
    b.replace(0, 64, std::string(64, '\0'));
    b.replace(0, 8, std::string("\x7f" "ELF\x02\x01\x01\0", 8));
    b[18] = 0x3e;
    // Program headers at 64, section headers (two of 64 bytes) at the end of the file.
    b[0x20] = 64;
    b[0x36] = 56;
    b[0x38] = 1;
    const uint64_t sh = size - 128;
    for (int i = 0; i < 8; ++i) b[0x28 + i] = static_cast<char>(sh >> (8 * i));
    b[0x3A] = 64;
    b[0x3C] = 2;
#endif
    return b;
}

TEST(ProgramCheck, WholeProgramsOfThisBuildOnly) {
    EXPECT_TRUE(update::IsProgramForThisBuild(ProgramBytes(3000)));
    EXPECT_FALSE(update::IsProgramForThisBuild(ProgramBytes(3000).substr(0, 2000)));  // cut short
    EXPECT_FALSE(update::IsProgramForThisBuild(std::string(3000, 'x')));
    EXPECT_FALSE(update::IsProgramForThisBuild(std::string("#!/bin/sh\n") + std::string(2990, ' ')));
    EXPECT_FALSE(update::IsProgramForThisBuild(""));
}

const std::string kSwitchedOff = "Brantwell, Inc. has disabled this program.\r\nReason being:\r\n\r\n";
const std::string kDamaged =
    "The update could not be downloaded completely, so it was not installed.\r\n\r\n"
    "The program goes on with its current version and tries again at its next start.";
const std::string kNoResponse =
    "Please restore internet connection.\r\n\r\nIt is very important that all clients are using the latest version.\r\n\r\n"
    "If problem persists, please contact your system administrator.";

class Update : public fakes::DashboardTest {
protected:
    Update() { update::modAutoUpdate::Reset(); }
    void serve(const std::string& url, const std::string& body) { os.http.answers[url] = FakeHttp::Ok(body); }
    void serveVersion(const std::string& v) {
        serve(Url("ifDisabled.txt"), "");
        serve(Url("newVersion.txt"), v);
    }
    // Runs the check as start-up does; false when it ended the process.
    bool check() {
        try {
            update::RunStartupUpdateCheck();
            return true;
        } catch (const fakes::ProcessEnded&) {
            return false;
        }
    }
    frmAutoUpdate& window() { return ui::app().form<frmAutoUpdate>(); }
    std::string P() { return os.files.folder; }
    std::string in(const std::string& name) { return P() + "\\" + name; }
    std::vector<std::string> boxes() {
        std::vector<std::string> t;
        for (const auto& b : host.msgBoxes) t.push_back(b.text);
        return t;
    }
    std::vector<std::string> updateCaptions() {
        std::vector<std::string> c;
        for (const std::string& e : host.captions) {
            if (e.rfind("frmAutoUpdate: ", 0) == 0) c.push_back(e.substr(15));
        }
        return c;
    }
};

TEST(VersionCompare, NumbersPartByPart) {
    struct Case {
        const char* text;
        bool newer;
    } cases[] = {{"1.0.32", false},   {"1.0.33", true},  {"1.1.0", true},     {"1.0.100", true},     {"1.0.4", false},
                 {"2", true},         {"1.0.32\r\n", false}, {" 1.0.33 \n", true}, {"", false},           {"1.0", false},
                 {"1.0.32.1", true},  {"garbage", false}, {"1.0.33a", false}, {"<html>404</html>", false}, {"1..2", false},
                 {"-1.0.40", false},  {"1. 0.40", false}, {"99999999999.0", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(update::IsNewerVersion(c.text, 1, 0, 32), c.newer) << c.text;
    }
}

TEST_F(Update, NoNewerVersionAsksTwoQuestionsAndStaysHidden) {
    serveVersion("1.0.32\r\n");
    ASSERT_TRUE(check());
    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt"), Url("newVersion.txt")}));
    EXPECT_EQ(update::modAutoUpdate::sCurrentVersion, "1032");
    EXPECT_EQ(update::modAutoUpdate::sNewVersion, "1032\r\n");
    EXPECT_TRUE(window().loaded());
    EXPECT_FALSE(window().visible());
    EXPECT_EQ(window().ProgressBar1.value(), 100);
    EXPECT_TRUE(host.msgBoxes.empty());
}

TEST_F(Update, UnreachableServerIsAskedOnceAndTheStartGoesOn) {
    ASSERT_TRUE(check());
    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt")}));
    EXPECT_TRUE(host.msgBoxes.empty());
    // Each text request is bounded to a few seconds and 64 KB.
    EXPECT_LE(os.http.lastLimits.totalTimeoutMs, 3000);
    EXPECT_GT(os.http.lastLimits.totalTimeoutMs, 0);
    EXPECT_EQ(os.http.lastLimits.maxBodyBytes, 64u * 1024);
}

TEST_F(Update, ErrorPagesAreNoText) {
    HttpResponse notFound = FakeHttp::Ok("<html>disabled page not found 2.0.0</html>");
    notFound.status = 404;
    os.http.answers[Url("ifDisabled.txt")] = notFound;
    os.http.answers[Url("newVersion.txt")] = notFound;
    ASSERT_TRUE(check());
    EXPECT_EQ(os.http.requests.size(), 2u);
    EXPECT_TRUE(host.msgBoxes.empty());
}

struct SwitchCase {
    const char* name;
    std::string ifDisabled;
    bool off;
};

class SwitchOff : public Update, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SwitchOff, OnlyTheLowerCaseWordSwitchesOff) {
    serve(Url("ifDisabled.txt"), GetParam().ifDisabled);
    serve(Url("reasonDisabled.txt"), "Your service plan has ended.");
    serve(Url("newVersion.txt"), "1.0.32");
    EXPECT_EQ(check(), !GetParam().off);
    if (GetParam().off) {
        EXPECT_EQ(boxes(), (std::vector<std::string>{kSwitchedOff + "Your service plan has ended."}));
        EXPECT_EQ(host.msgBoxes[0].title, "TAVDashboard");
        EXPECT_EQ(host.msgBoxes[0].icon, ui::MsgBoxIcon::None);
        EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt"), Url("reasonDisabled.txt")}));
    } else {
        EXPECT_TRUE(host.msgBoxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SwitchOff,
                         ::testing::Values(SwitchCase{"Word", "disabled", true}, SwitchCase{"InALine", "this copy is disabled now\r\n", true},
                                           SwitchCase{"Capital", "Disabled", false}, SwitchCase{"Capitals", "DISABLED", false},
                                           SwitchCase{"Empty", "", false}, SwitchCase{"Enabled", "enabled", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Update, SwitchedOffWithAnEmptyReasonEndsBeforeTheTrayIcon) {
    serve(Url("ifDisabled.txt"), "disabled");
    serve(Url("reasonDisabled.txt"), "");
    EXPECT_FALSE(startUp());
    EXPECT_EQ(boxes(), (std::vector<std::string>{kSwitchedOff}));
    EXPECT_TRUE(host.trayCalls.empty());
    EXPECT_FALSE(dash().visible());
}

// A program that a package manager installed asks only whether it was switched off: a newer
// version on the server is left to the package manager; the switch-off still counts.
TEST_F(Update, InstalledProgramNeverDownloads) {
    os.files.installed = true;
    serveVersion("1.0.33");
    serve(SupportUrl(), ProgramBytes(3000));
    serve(Url("TAVDashboardNEW" + kSuffix), ProgramBytes(2500));
    ASSERT_TRUE(check());
    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt")}));
    EXPECT_FALSE(window().visible());
    EXPECT_TRUE(host.msgBoxes.empty());
    EXPECT_EQ(os.files.writes, 0);
}

TEST_F(Update, InstalledProgramCanBeSwitchedOff) {
    os.files.installed = true;
    serve(Url("ifDisabled.txt"), "disabled");
    serve(Url("reasonDisabled.txt"), "Your service plan has ended.");
    EXPECT_FALSE(check());
    EXPECT_EQ(boxes(), (std::vector<std::string>{kSwitchedOff + "Your service plan has ended."}));
    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt"), Url("reasonDisabled.txt")}));
}

// The whole update with good files: the support program first, then the program itself.
TEST_F(Update, NewerVersionReplacesTheSupportProgramAndThenItself) {
    serveVersion("1.0.33");
    serve(SupportUrl(), ProgramBytes(3000));
    serve(Url("updateText.txt"), "What is new");
    serve(Url("TAVDashboardNEW" + kSuffix), ProgramBytes(2500));
    os.files.files[in("TAVDashboard" + kSuffix)] = "old program";
    os.files.files[in("TAVDashboardNEW" + kSuffix)] = std::string(9000, 'o');  // left by an interrupted update
    EXPECT_FALSE(check());  // it ends to let the new version start

    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt"), Url("newVersion.txt"), SupportUrl(),
                                                           Url("updateText.txt"), Url("TAVDashboardNEW" + kSuffix)}));
    EXPECT_EQ(update::modAutoUpdate::sUpdateText, "What is new");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"The update is complete. Press ok to open the new version."}));
    EXPECT_EQ(host.msgBoxes[0].title, "Update Complete");
    EXPECT_EQ(host.msgBoxes[0].icon, ui::MsgBoxIcon::Information);
    EXPECT_TRUE(os.files.folders.count(in("PROGRAMS")));
    EXPECT_EQ(updateCaptions(), (std::vector<std::string>{"34% - Downloaded", "68% - Downloaded",
                                                          "100% - Downloaded", "41% - Downloaded", "82% - Downloaded",
                                                          "100% - Downloaded"}));
    EXPECT_EQ(window().lblFileName.caption(), "TAVDashboardNEW" + kSuffix);
    EXPECT_EQ(window().lblSize.caption(), "2500 bytes");
    EXPECT_EQ(window().lblAction.caption(), "Downloading update, please wait...");
#ifdef _WIN32
    // The swap is left to the two batch files, started hidden.
    EXPECT_EQ(os.files.files[in("TAVDashboardNEW.exe")], ProgramBytes(2500));
    EXPECT_EQ(os.files.files[in("PROGRAMS\\TAV-Remote-SupportNEW.exe")], ProgramBytes(3000));
    ASSERT_EQ(os.processes.started.size(), 2u);
    EXPECT_EQ(os.processes.started[0].commandLine, "cmd.exe /c \"\"" + in("DeleteOLDSuppFile.bat") + "\"\"");
    EXPECT_EQ(os.processes.started[1].commandLine, "cmd.exe /c \"\"" + in("DeleteOLD.bat") + "\"\"");
    EXPECT_EQ(os.processes.started[1].mode, platform::WindowMode::Hidden);
    EXPECT_TRUE(os.files.exists(in("DeleteOLD.bat")));
#else
    // Renamed over the old files at once; the new program starts in this one's place.
    EXPECT_EQ(os.files.files[in("TAVDashboard")], ProgramBytes(2500));
    EXPECT_FALSE(os.files.exists(in("TAVDashboardNEW")));
    EXPECT_EQ(os.files.files[in("PROGRAMS\\TAV-Remote-Support")], ProgramBytes(3000));
    EXPECT_FALSE(os.files.exists(in("PROGRAMS\\TAV-Remote-SupportNEW")));
    EXPECT_TRUE(os.files.executables.count(in("TAVDashboardNEW")));
    ASSERT_EQ(os.processes.programs.size(), 1u);
    EXPECT_EQ(os.processes.programs[0].commandLine, in("TAVDashboard"));
    EXPECT_EQ(os.instance.calls.back(), "release");
#endif
    EXPECT_EQ(host.log.back(), "end 0");
}

// A swap that cannot be set going leaves this version running, with no download left over.
TEST_F(Update, SwapThatCannotStartLetsThisVersionGoOn) {
    serveVersion("1.0.33");
    serve(SupportUrl(), ProgramBytes(3000));
    serve(Url("TAVDashboardNEW" + kSuffix), ProgramBytes(2500));
    os.files.files[in("TAVDashboard" + kSuffix)] = "old program";
    os.processes.failStart = true;
    EXPECT_TRUE(startUp());
    EXPECT_TRUE(dash().visible());
    EXPECT_FALSE(os.files.exists(in("TAVDashboardNEW" + kSuffix)));
#ifdef _WIN32
    EXPECT_FALSE(os.files.exists(in("DeleteOLD.bat")));
    EXPECT_EQ(os.files.files[in("TAVDashboard.exe")], "old program");
#else
    EXPECT_EQ(os.files.files[in("TAVDashboard")], ProgramBytes(2500));  // in place for the next start
#endif
}

struct ChunkCase {
    const char* name;
    size_t size;
    std::vector<std::string> captions;
};

class DownloadChunks : public Update, public ::testing::WithParamInterface<ChunkCase> {};

TEST_P(DownloadChunks, PercentAfterEachChunk) {
    serve(Url("file"), ProgramBytes(GetParam().size));
    frmAutoUpdate& w = window();
    w.Load();
    host.captions.clear();
    update::DownloadCounters c;
    EXPECT_EQ(update::DownloadFile(w, c, "  " + Url("file") + " ", in("file"), "file", "1.0.33"), update::DownloadResult::Complete);
    EXPECT_EQ(updateCaptions(), GetParam().captions);
    EXPECT_EQ(os.files.files[in("file")], ProgramBytes(GetParam().size));
    EXPECT_EQ(os.http.requests.back(), Url("file"));  // trimmed
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloadChunks,
    ::testing::Values(ChunkCase{"OneChunk", 1024, {"100% - Downloaded"}},
                      // 1024 of 1025 bytes is 99.9 %, shown as 100.
                      ChunkCase{"OneByteMore", 1025, {"100% - Downloaded"}},
                      ChunkCase{"ThreeChunks", 3000, {"34% - Downloaded", "68% - Downloaded", "100% - Downloaded"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every answer that is not the whole program is refused before anything is written.
struct BadAnswer {
    const char* name;
    HttpResponse response;
    std::string message;  // "" : the damaged-download message
};

HttpResponse With(std::string body, long status, std::optional<std::string> length,
                  HttpResponse::Outcome outcome = HttpResponse::Outcome::Answered) {
    HttpResponse r;
    r.outcome = outcome;
    r.status = status;
    r.contentLength = std::move(length);
    r.body = std::move(body);
    return r;
}

class RefusedDownload : public Update, public ::testing::WithParamInterface<BadAnswer> {};

TEST_P(RefusedDownload, NothingIsWrittenAndTheOldFileStays) {
    os.http.answers[Url("file")] = GetParam().response;
    os.files.files[in("file")] = "left from before";
    frmAutoUpdate& w = window();
    w.Load();
    update::DownloadCounters c;
    const auto result = update::DownloadFile(w, c, Url("file"), in("file"), "file", "1.0.33");
    EXPECT_NE(result, update::DownloadResult::Complete);
    ASSERT_EQ(host.msgBoxes.size(), 1u);
    if (GetParam().message == "no response") {
        EXPECT_EQ(host.msgBoxes[0].text, kNoResponse);
    } else {
        EXPECT_EQ(host.msgBoxes[0].text, "The update could not be downloaded completely, so it was not installed.\r\n\r\n"
                                         "The program goes on with its current version and tries again at its next start.");
    }
    EXPECT_EQ(os.files.files[in("file")], "left from before");
    EXPECT_EQ(w.lblAction.caption(), "Authenticating, please wait...");
    EXPECT_TRUE(w.loaded());
}

const std::string kGood = ProgramBytes(3000);

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedDownload,
    ::testing::Values(
        BadAnswer{"NoServer", With("", 0, std::nullopt, HttpResponse::Outcome::CouldNotConnect), "no response"},
        BadAnswer{"NoContentLength", With(kGood, 200, std::nullopt), "no response"},
        BadAnswer{"NotFound", With(kGood, 404, "3000"), ""},
        BadAnswer{"ZeroLength", With("", 200, "0"), ""},
        BadAnswer{"NegativeLength", With(kGood, 200, "-3000"), ""},
        BadAnswer{"LengthNotANumber", With(kGood, 200, "3 kB"), ""},
        BadAnswer{"TooLarge", With("", 200, "67108865", HttpResponse::Outcome::TooLarge), ""},
        BadAnswer{"Truncated", With(kGood.substr(0, 2000), 200, "3000", HttpResponse::Outcome::Incomplete), ""},
        BadAnswer{"ShorterThanItsLength", With(kGood.substr(0, 2000), 200, "3000"), ""},
        BadAnswer{"Stalled", With(kGood.substr(0, 10), 200, "3000", HttpResponse::Outcome::Incomplete), ""},
        BadAnswer{"NotAProgram", With(std::string(3000, 'x'), 200, "3000"), ""},
        BadAnswer{"ProgramForAnotherSystem", With(std::string("#!/bin/sh\n") + std::string(2990, ' '), 200, "3000"), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Update, CancelBeforeTheFirstChunkLeavesNothing) {
    serve(Url("file"), ProgramBytes(3000));
    frmAutoUpdate& w = window();
    w.Load();
    os.http.onGet = [&](const std::string&) { host.click(w.cmdCancel); };  // pressed while the transfer runs
    update::DownloadCounters c;
    EXPECT_EQ(update::DownloadFile(w, c, Url("file"), in("file"), "file", "1.0.33"), update::DownloadResult::Aborted);
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Update aborted"}));
    EXPECT_FALSE(os.files.exists(in("file")));
    EXPECT_FALSE(ui::app().isLoaded<frmAutoUpdate>());
}

// Cancel during the support program's download ends the update for this start.
TEST_F(Update, CancelOfTheSupportDownloadSkipsTheProgramsOwnUpdate) {
    serveVersion("1.0.33");
    serve(SupportUrl(), ProgramBytes(3000));
    serve(Url("TAVDashboardNEW" + kSuffix), ProgramBytes(2500));
    os.http.onGet = [&](const std::string& url) {
        if (url == SupportUrl()) host.click(window().cmdCancel);
    };
    EXPECT_TRUE(startUp());
    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt"), Url("newVersion.txt"), SupportUrl()}));
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Update aborted"}));
    EXPECT_TRUE(dash().visible());
    EXPECT_TRUE(os.processes.started.empty());
}

// Without a connection after the version check, both downloads say so, and the start goes on.
TEST_F(Update, LostConnectionShowsTheMessageForEachDownload) {
    serveVersion("1.0.33");
    EXPECT_TRUE(startUp());
    EXPECT_EQ(boxes(), (std::vector<std::string>{kNoResponse, kNoResponse}));
    EXPECT_TRUE(ui::app().form<frmAutoUpdate>().visible());
    EXPECT_TRUE(dash().visible());
    EXPECT_FALSE(os.files.exists(in("TAVDashboardNEW" + kSuffix)));
}

// Signed updates: the build carries the store's key, so every download and the switch-off
// need the store's signature beside them.
class SignedUpdate : public Update {
protected:
    SignedUpdate() { update::SetStorePublicKey(kKey); }
    ~SignedUpdate() override { update::SetStorePublicKey(""); }
    const std::string kKey = fakes::TestKey('k');
    const std::string kProgram = "TAVDashboardNEW" + kSuffix;
    const std::string kSupport = "TAV-Remote-SupportNEW" + kSuffix;
    // A newer version with good files, each signed for its name and the version.
    void serveSignedUpdate() {
        serveVersion("1.0.33");
        serve(SupportUrl(), ProgramBytes(3000));
        serve(SupportUrl() + ".sig", fakes::SignedDownload(kKey, kSupport, "1.0.33", ProgramBytes(3000)));
        serve(Url("updateText.txt"), "What is new");
        serve(Url(kProgram), ProgramBytes(2500));
        serve(Url(kProgram) + ".sig", fakes::SignedDownload(kKey, kProgram, "1.0.33", ProgramBytes(2500)));
        os.files.files[in("TAVDashboard" + kSuffix)] = "old program";
    }
};

TEST_F(SignedUpdate, SignedFilesReplaceBothProgramsEachAfterItsSignature) {
    serveSignedUpdate();
    EXPECT_FALSE(check());
    EXPECT_EQ(os.http.requests, (std::vector<std::string>{Url("ifDisabled.txt"), Url("newVersion.txt"), SupportUrl() + ".sig",
                                                           SupportUrl(), Url("updateText.txt"), Url(kProgram) + ".sig",
                                                           Url(kProgram)}));
    EXPECT_EQ(boxes(), (std::vector<std::string>{"The update is complete. Press ok to open the new version."}));
}

// Each way a signature can fail refuses its download like a damaged one: the message, nothing
// replaced, no file left.
struct BadSignature {
    const char* name;
    std::function<std::string(const std::string& key, const std::string& name, const std::string& bytes)> sig;
};
class RefusedSignature : public SignedUpdate, public ::testing::WithParamInterface<BadSignature> {};

TEST_P(RefusedSignature, TheDownloadIsRefusedAndNothingIsReplaced) {
    serveSignedUpdate();
    for (const auto& [url, name, bytes] : {std::tuple{SupportUrl(), kSupport, ProgramBytes(3000)},
                                           std::tuple{Url(kProgram), kProgram, ProgramBytes(2500)}}) {
        const std::string sig = GetParam().sig(kKey, name, bytes);
        if (sig.empty()) os.http.answers.erase(url + ".sig");
        else serve(url + ".sig", sig);
    }
    ASSERT_TRUE(check());
    EXPECT_EQ(boxes(), (std::vector<std::string>{kDamaged, kDamaged}));
    EXPECT_EQ(os.files.files.at(in("TAVDashboard" + kSuffix)), "old program");
    EXPECT_EQ(os.files.files.size(), 1u);
    EXPECT_TRUE(os.processes.started.empty());
    EXPECT_TRUE(os.processes.programs.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSignature,
    ::testing::Values(
        BadSignature{"Missing", [](const std::string&, const std::string&, const std::string&) { return std::string(); }},
        BadSignature{"WrongKey",
                     [](const std::string&, const std::string& name, const std::string& bytes) {
                         return fakes::SignedDownload(fakes::TestKey('x'), name, "1.0.33", bytes);
                     }},
        BadSignature{"ChangedByte",
                     [](const std::string& key, const std::string& name, const std::string& bytes) {
                         std::string changed = bytes;
                         changed[100] ^= 1;
                         return fakes::SignedDownload(key, name, "1.0.33", changed);
                     }},
        BadSignature{"ReplayedOldVersion",
                     [](const std::string& key, const std::string& name, const std::string& bytes) {
                         return fakes::SignedDownload(key, name, "1.0.32", bytes);
                     }},
        BadSignature{"AnotherFilesSignature",
                     [](const std::string& key, const std::string& name, const std::string& bytes) {
                         return fakes::SignedDownload(key, name == "TAV-Remote-SupportNEW" + kSuffix ? "TAVDashboardNEW" + kSuffix
                                                                                                         : "TAV-Remote-SupportNEW" + kSuffix,
                                                      "1.0.33", bytes);
                     }},
        BadSignature{"SignatureChanged",
                     [](const std::string& key, const std::string& name, const std::string& bytes) {
                         std::string sig = fakes::SignedDownload(key, name, "1.0.33", bytes);
                         const size_t at = sig.size() - 3;
                         sig[at] = sig[at] == '0' ? '1' : '0';
                         return sig;
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

struct NoticeCase {
    const char* name;
    // The signature file of ifDisabled.txt for the store's key and the true reason; empty: none.
    std::function<std::string(const std::string& key, const std::string& reason)> signature;
    bool off;
};
class SignedNotice : public SignedUpdate, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(SignedNotice, OnlyASignedSwitchOffCounts) {
    const std::string reason = "Your service plan has ended.";
    serve(Url("ifDisabled.txt"), "disabled");
    serve(Url("reasonDisabled.txt"), reason);
    serve(Url("newVersion.txt"), "1.0.32");
    const std::string signature = GetParam().signature(kKey, reason);
    if (!signature.empty()) serve(Url("ifDisabled.txt.sig"), signature);
    EXPECT_EQ(check(), !GetParam().off);
    std::vector<std::string> asked{Url("ifDisabled.txt"), Url("reasonDisabled.txt"), Url("ifDisabled.txt.sig")};
    if (!GetParam().off) asked.push_back(Url("newVersion.txt"));
    EXPECT_EQ(os.http.requests, asked);
    EXPECT_EQ(boxes(), GetParam().off ? std::vector<std::string>{kSwitchedOff + reason} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SignedNotice,
    ::testing::Values(
        NoticeCase{"Signed", [](const std::string& key, const std::string& reason) { return fakes::SignedNotice(key, "disabled", reason); },
                   true},
        NoticeCase{"Unsigned", [](const std::string&, const std::string&) { return std::string(); }, false},
        NoticeCase{"ForgedReason",
                   [](const std::string& key, const std::string&) {
                       return fakes::SignedNotice(key, "disabled", "Call 555-0100 to pay a fine.");
                   },
                   false},
        NoticeCase{"AnotherKey",
                   [](const std::string&, const std::string& reason) {
                       return fakes::SignedNotice(fakes::TestKey('x'), "disabled", reason);
                   },
                   false},
        NoticeCase{"ADownloadsSignature",
                   [](const std::string& key, const std::string&) {
                       return fakes::SignedDownload(key, "ifDisabled.txt", "1.0.33", "disabled");
                   },
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateBatch, DeleteOldWaitsRetriesAndGivesUp) {
    const std::string text = update::DeleteOldBatch("C:\\Program Files\\TAV", "TAVDashboard", "TAVDashboardNEW.exe",
                                                    "TAVDashboard.exe");
    EXPECT_EQ(text,
              "@Echo off\r\nC:\r\ncd \\\r\ncd \"C:\\Program Files\\TAV\"\r\nset /a tries=0\r\n:S\r\n"
              "Del \"TAVDashboard.exe\"\r\nIf Not Exist \"TAVDashboard.exe\" Goto R\r\nset /a tries+=1\r\n"
              "If %tries% GEQ 120 Goto F\r\nping -n 2 127.0.0.1 >nul\r\nGoto S\r\n:R\r\nset /a tries=0\r\n:D\r\n"
              "ren \"TAVDashboardNEW.exe\" \"TAVDashboard.exe\"\r\nIf Not Exist \"TAVDashboardNEW.exe\" Goto N\r\n"
              "set /a tries+=1\r\nIf %tries% GEQ 120 Goto G\r\nping -n 2 127.0.0.1 >nul\r\nGoto D\r\n:N\r\n"
              "\"TAVDashboard.exe\"\r\nDel DeleteOLD.bat\r\nGoto :EOF\r\n:F\r\nDel \"TAVDashboardNEW.exe\"\r\n"
              "\"TAVDashboard.exe\"\r\nDel DeleteOLD.bat\r\nGoto :EOF\r\n:G\r\n\"TAVDashboardNEW.exe\"\r\nDel DeleteOLD.bat\r\n");
}

TEST(UpdateBatch, DriveRootPaths) {
    EXPECT_EQ(update::PathIn("C:\\", "DeleteOLD.bat"), "C:\\DeleteOLD.bat");
    EXPECT_EQ(update::PathIn("C:\\TAV", "DeleteOLD.bat"), "C:\\TAV\\DeleteOLD.bat");
    EXPECT_EQ(update::PathIn("/", "TAVDashboard", '/'), "/TAVDashboard");
    const std::string root = update::DeleteOldBatch("C:\\", "TAVDashboard", "TAVDashboardNEW.exe", "TAVDashboard.exe");
    EXPECT_EQ(root.substr(0, root.find(":S")), "@Echo off\r\nC:\r\ncd \\\r\ncd \"C:\\\"\r\nset /a tries=0\r\n");
    const std::string support = update::DeleteOldSupportBatch("D:\\", "TAV-Remote-Support.exe", "TAV-Remote-SupportNEW.exe");
    EXPECT_EQ(support,
              "@Echo off\r\nD:\r\ncd \\\r\ncd \"D:\\\"\r\nset /a tries=0\r\n:S\r\n"
              "Del \"D:\\PROGRAMS\\TAV-Remote-Support.exe\"\r\nIf Not Exist \"D:\\PROGRAMS\\TAV-Remote-Support.exe\" Goto R\r\n"
              "set /a tries+=1\r\nIf %tries% GEQ 120 Goto F\r\nping -n 2 127.0.0.1 >nul\r\nGoto S\r\n:R\r\nset /a tries=0\r\n"
              ":D\r\nren \"D:\\PROGRAMS\\TAV-Remote-SupportNEW.exe\" \"TAV-Remote-Support.exe\"\r\n"
              "If Not Exist \"D:\\PROGRAMS\\TAV-Remote-SupportNEW.exe\" Goto E\r\nset /a tries+=1\r\n"
              "If %tries% GEQ 120 Goto E\r\nping -n 2 127.0.0.1 >nul\r\nGoto D\r\n:F\r\n"
              "Del \"D:\\PROGRAMS\\TAV-Remote-SupportNEW.exe\"\r\n:E\r\nDel DeleteOLDSuppFile.bat\r\n");
}

}  // namespace
