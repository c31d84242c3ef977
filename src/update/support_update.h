// The remote-support program's refresh, before the program's own update.
#pragma once
#include <string>

namespace update {

namespace modAutoUpdateSuppFile {

enum class Outcome { Replaced, NotReplaced, Aborted };

// Downloads the support program into PROGRAMS and swaps it in. Aborted when the user pressed
// Cancel, which ends the self-update for this start.
Outcome UpdateSupportFile(const std::string& exeName, const std::string& newExeName, const std::string& serverFolder);

// Swaps the download in: a batch file on Windows (the support program may be running), an
// atomic rename elsewhere.
void WriteSupportUpdateBatch(const std::string& exeName, const std::string& newExeName);

}  // namespace modAutoUpdateSuppFile

}  // namespace update
