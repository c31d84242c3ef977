// The check against the store's web server at every start: the store's switch-off, and the
// self-update when the server offers a newer version.
#pragma once
#include <string>

namespace update {

namespace modAutoUpdate {

// Module state, empty at start.
extern std::string sNewExeName, sExeName, sServerFolder, sDisabled, sReasonDisabled, sNewVersionText, sNewVersion,
    sCurrentVersion, sUpdateText;

// Asks the server; may end the process (switched off, or a finished self-update).
void CheckForUpdates();

// Replaces the program with the finished download and starts it, ending the process; returns
// only when the swap could not be set going, with this version still running.
void WriteUpdateBatch();

// The version text of this program: the three numbers' decimals joined ("1032").
std::string CurrentVersionText();

void Reset();  // for the tests: the state of a fresh start

}  // namespace modAutoUpdate

// Start-up: loads the hidden update window, whose load handler runs the check.
void RunStartupUpdateCheck();

}  // namespace update
