#include "update/support_update.h"

#include "platform/services.h"
#include "platform/trim.h"
#include "store_config.h"
#include "ui/application.h"
#include "update/auto_update.h"
#include "update/batch_files.h"
#include "update/download.h"
#include "update/frm_auto_update.h"

namespace update {

namespace modAutoUpdateSuppFile {

namespace {
DownloadCounters counters;
}

Outcome UpdateSupportFile(const std::string& exeName, const std::string& newExeName, const std::string& serverFolder) {
    platform::Services& os = platform::services();
    frmAutoUpdate& window = ui::app().form<frmAutoUpdate>();
    const std::string P = os.files->programFolder();
    const char sep = os.files->separator();
    counters = {};

    window.ProgressBar1.setValue(window.ProgressBar1.max());
    os.files->remove(PathIn(P, "DeleteOLDSuppFile.bat", sep));
    window.Show();
    // The folder may be missing on a machine where the support program was never installed.
    const std::string programs = PathIn(os.files->supportFolder(), "PROGRAMS", sep);
    os.files->makeFolder(programs);
    const DownloadResult result = DownloadFile(window, counters, std::string(store::kUpdateBaseUrl) + serverFolder + "/" +
                                                   newExeName, PathIn(programs, newExeName, sep), newExeName,
                                               platform::Trim(modAutoUpdate::sNewVersionText));
    if (result == DownloadResult::Aborted) return Outcome::Aborted;
    if (result != DownloadResult::Complete) return Outcome::NotReplaced;
    WriteSupportUpdateBatch(exeName, newExeName);
    return Outcome::Replaced;
}

void WriteSupportUpdateBatch(const std::string& exeName, const std::string& newExeName) {
    platform::Services& os = platform::services();
#ifdef _WIN32
    const std::string P = os.files->programFolder();
    const std::string batch = PathIn(P, "DeleteOLDSuppFile.bat");
    if (os.files->replace(batch, DeleteOldSupportBatch(P, exeName, newExeName))) StartBatchHidden(batch);
#else
    // A running support program keeps its old file open; the new one takes the name at once.
    const char sep = os.files->separator();
    const std::string programs = PathIn(os.files->supportFolder(), "PROGRAMS", sep);
    const std::string download = PathIn(programs, newExeName, sep);
    os.files->makeExecutable(download);
    if (!os.files->rename(download, PathIn(programs, exeName, sep))) os.files->remove(download);
#endif
}

}  // namespace modAutoUpdateSuppFile

}  // namespace update
