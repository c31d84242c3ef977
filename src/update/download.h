// The download loop of the self-update: one file from the store's server into the program
// folder, with its progress in the update window.
#pragma once
#include <cstdint>
#include <string>

#include "update/frm_auto_update.h"

namespace update {

// The counters of one module's download.
struct DownloadCounters {
    int32_t lFileSize = 0;
    int32_t lBytesLeft = 0;
    int32_t lBytesDone = 0;
    int16_t iPercent = 0;
    std::string bytChunk;
};

enum class DownloadResult {
    Complete,    // every byte written to the target
    NoResponse,  // no answer or no size: the connection message was shown, nothing written
    Damaged,     // an answer that is not the whole program: its message was shown, nothing kept
    Aborted,     // the user pressed Cancel: "Update aborted", nothing kept, the window unloaded
};

// The program file kinds a download must be to replace one of this build's programs.
bool IsProgramForThisBuild(const std::string& bytes);

// Downloads the address to the target path; displayName goes in the window. With the store's
// key in the build, the file must come with a signature (its address with ".sig", asked
// first) for that name and the announced version, or it is refused as damaged.
DownloadResult DownloadFile(frmAutoUpdate& window, DownloadCounters& c, const std::string& address,
                            const std::string& target, const std::string& displayName, const std::string& version);

// The connection message of a download without an answer.
std::string NoResponseMessage();

}  // namespace update
