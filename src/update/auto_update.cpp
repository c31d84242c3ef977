#include "update/auto_update.h"

#include "app/version.h"
#include "platform/services.h"
#include "platform/trim.h"
#include "store_config.h"
#include "ui/application.h"
#include "ui/msgbox.h"
#include "update/batch_files.h"
#include "update/download.h"
#include "update/frm_auto_update.h"
#include "update/signature.h"
#include "update/support_update.h"
#include "update/version_compare.h"

namespace update {

namespace modAutoUpdate {

std::string sNewExeName, sExeName, sServerFolder, sDisabled, sReasonDisabled, sNewVersionText, sNewVersion,
    sCurrentVersion, sUpdateText;

namespace {
DownloadCounters counters;
}

void Reset() {
    for (std::string* s : {&sNewExeName, &sExeName, &sServerFolder, &sDisabled, &sReasonDisabled, &sNewVersionText,
                           &sNewVersion, &sCurrentVersion, &sUpdateText}) {
        s->clear();
    }
    counters = {};
}

std::string CurrentVersionText() {
    return std::to_string(app::kVersionMajor) + std::to_string(app::kVersionMinor) + std::to_string(app::kVersionRevision);
}

void CheckForUpdates() {
    platform::Services& os = platform::services();
    frmAutoUpdate& window = ui::app().form<frmAutoUpdate>();
    const std::string base = store::kUpdateBaseUrl;
    const std::string suffix = store::kProgramSuffix;
    const std::string P = os.files->programFolder();
    const char sep = os.files->separator();

    sNewExeName = "TAVDashboardNEW" + suffix;
    sExeName = "TAVDashboard" + suffix;
    sServerFolder = store::kUpdateFolder;
    window.ProgressBar1.setValue(window.ProgressBar1.max());
    os.files->remove(PathIn(P, "DeleteOLD.bat", sep));

    // The store's switch-off.
    sDisabled = window.Inet1.OpenURL(base + sServerFolder + "/ifDisabled.txt");
    // A server that cannot be reached is not asked a second time: the start goes on at once.
    if (!window.Inet1.reached()) return;
    bool switchedOff = sDisabled.find("disabled") != std::string::npos;
    if (switchedOff) {
        sReasonDisabled = window.Inet1.OpenURL(base + sServerFolder + "/reasonDisabled.txt");
        // With the store's key in the build, only a notice the store signed counts: a forged
        // one neither switches the program off nor shows its reason.
        switchedOff = StorePublicKey().empty() ||
                      VerifyNotice(window.Inet1.OpenURL(base + sServerFolder + "/ifDisabled.txt.sig"), sDisabled,
                                   sReasonDisabled);
    }
    if (switchedOff) {
        ui::MsgBox(std::string(store::kLegalName) + ". has disabled this program.\r\nReason being:\r\n\r\n" +
                   sReasonDisabled);
        ui::app().host().endProcess(0);
    }
    // A program that a package manager installed is updated by it: nothing is downloaded here.
    if (!os.files->updatesItself()) return;

    sCurrentVersion = CurrentVersionText();
    sNewVersionText = window.Inet1.OpenURL(base + sServerFolder + "/newVersion.txt");
    if (!sNewVersionText.empty()) {
        sNewVersion = sNewVersionText;
        for (size_t at; (at = sNewVersion.find('.')) != std::string::npos;) sNewVersion.erase(at, 1);
    }
    // Compared as version numbers, part by part, not as text.
    if (!IsNewerVersion(sNewVersionText, app::kVersionMajor, app::kVersionMinor, app::kVersionRevision)) return;

    const auto support = modAutoUpdateSuppFile::UpdateSupportFile(store::kRemoteSupportName,
                                                                   "TAV-Remote-SupportNEW" + suffix,
                                                                   store::kSupportUpdateFolder);
    if (support == modAutoUpdateSuppFile::Outcome::Aborted) return;  // the user said no to updating now
    window.Show();
    sUpdateText = window.Inet1.OpenURL(base + sServerFolder + "/updateText.txt");
    const DownloadResult result =
        DownloadFile(window, counters, base + sServerFolder + "/" + sNewExeName, PathIn(P, sNewExeName, sep), sNewExeName,
                     platform::Trim(sNewVersionText));
    if (result != DownloadResult::Complete) return;
    ui::MsgBox("The update is complete. Press ok to open the new version.", ui::MsgBoxButtons::OK,
               ui::MsgBoxIcon::Information, "Update Complete");
    WriteUpdateBatch();
}

void WriteUpdateBatch() {
    platform::Services& os = platform::services();
    const std::string P = os.files->programFolder();
    const char sep = os.files->separator();
    const std::string download = PathIn(P, sNewExeName, sep);
#ifdef _WIN32
    const std::string batch = PathIn(P, "DeleteOLD.bat", sep);
    if (os.files->replace(batch, DeleteOldBatch(P, ui::app().title, sNewExeName, sExeName)) &&
        StartBatchHidden(batch)) {
        ui::app().host().endProcess(0);
    }
    os.files->remove(batch);
#else
    // A running program's file may be replaced here: the download takes its name in one
    // step, and the new program starts in this one's place.
    const std::string program = PathIn(P, sExeName, sep);
    os.files->makeExecutable(download);
    if (os.files->rename(download, program)) {
        os.instance->release();
        if (os.processes->startProgram(program, platform::WindowMode::Normal)) ui::app().host().endProcess(0);
        return;  // the new version is in place for the next start; this one goes on
    }
#endif
    // The swap could not be set going: this version goes on, and the next start tries again.
    os.files->remove(download);
}

}  // namespace modAutoUpdate

void RunStartupUpdateCheck() {
    modAutoUpdate::Reset();
    ui::app().form<frmAutoUpdate>().Load();
}

}  // namespace update
