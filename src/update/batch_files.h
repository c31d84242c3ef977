// The batch files that swap a downloaded program for the one in use on Windows, where a
// running program's file cannot be replaced. Each waits for the file to come free, trying about
// once a second for about two minutes, and deletes itself at the end.
#pragma once
#include <string>

namespace update {

// Folder + separator + name, with no second separator when the folder is a root ("C:\", "/").
std::string PathIn(const std::string& folder, const std::string& name, char separator = '\\');

// DeleteOLD.bat: deletes the program file once the ending program has let go of it, renames the
// download to the program's name and starts it. On giving up it removes the download and
// starts the old program again. Every line ends with CR LF.
std::string DeleteOldBatch(const std::string& programFolder, const std::string& title, const std::string& newExeName,
                           const std::string& exeName);

// DeleteOLDSuppFile.bat: the same for the remote-support program in PROGRAMS, which it does
// not start. While that program runs for longer than the batch file waits, the old one stays.
std::string DeleteOldSupportBatch(const std::string& programFolder, const std::string& exeName,
                                  const std::string& newExeName);

// Starts a batch file through the command interpreter, hidden, without waiting for it. The
// doubled quotes survive cmd's rule of stripping the outer pair from a path with blanks.
bool StartBatchHidden(const std::string& batchPath);

}  // namespace update
