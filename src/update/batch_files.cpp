#include "update/batch_files.h"

#include <vector>

#include "platform/services.h"

namespace update {

namespace {

const char kQ = '"';
// About two minutes of tries, one a second: ping waits a second between its two echoes on
// every Windows, and Wine's cmd runs it too.
const char* const kPause = "ping -n 2 127.0.0.1 >nul";
const char* const kGiveUpAfter = "120";

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

std::string Quoted(const std::string& s) { return kQ + s + kQ; }

}  // namespace

std::string PathIn(const std::string& folder, const std::string& name, char separator) {
    return !folder.empty() && folder.back() == separator ? folder + name : folder + separator + name;
}

std::string DeleteOldBatch(const std::string& P, const std::string& T, const std::string& newExe,
                           const std::string& exe) {
    const std::string old = Quoted(T + ".exe");
    return Lines({
        "@Echo off",
        P.substr(0, 2),
        "cd \\",
        "cd " + Quoted(P),
        "set /a tries=0",
        ":S",
        "Del " + old,
        "If Not Exist " + old + " Goto R",
        "set /a tries+=1",
        std::string("If %tries% GEQ ") + kGiveUpAfter + " Goto F",
        kPause,
        "Goto S",
        ":R",
        "set /a tries=0",
        ":D",
        "ren " + Quoted(newExe) + " " + Quoted(exe),
        "If Not Exist " + Quoted(newExe) + " Goto N",
        "set /a tries+=1",
        std::string("If %tries% GEQ ") + kGiveUpAfter + " Goto G",
        kPause,
        "Goto D",
        ":N",
        Quoted(exe),
        "Del DeleteOLD.bat",
        "Goto :EOF",
        // The old program would not let go: it stays, and runs again.
        ":F",
        "Del " + Quoted(newExe),
        Quoted(exe),
        "Del DeleteOLD.bat",
        "Goto :EOF",
        // The old program is gone but the download kept its name: it runs under that name.
        ":G",
        Quoted(newExe),
        "Del DeleteOLD.bat",
    });
}

std::string DeleteOldSupportBatch(const std::string& P, const std::string& X, const std::string& N) {
    const std::string R = PathIn(P, "PROGRAMS\\");
    return Lines({
        "@Echo off",
        P.substr(0, 2),
        "cd \\",
        "cd " + Quoted(P),
        "set /a tries=0",
        ":S",
        "Del " + Quoted(R + X),
        "If Not Exist " + Quoted(R + X) + " Goto R",
        "set /a tries+=1",
        std::string("If %tries% GEQ ") + kGiveUpAfter + " Goto F",
        kPause,
        "Goto S",
        ":R",
        "set /a tries=0",
        ":D",
        "ren " + Quoted(R + N) + " " + Quoted(X),
        "If Not Exist " + Quoted(R + N) + " Goto E",
        "set /a tries+=1",
        std::string("If %tries% GEQ ") + kGiveUpAfter + " Goto E",
        kPause,
        "Goto D",
        // The support program kept running: the old one stays and the download goes.
        ":F",
        "Del " + Quoted(R + N),
        ":E",
        "Del DeleteOLDSuppFile.bat",
    });
}

bool StartBatchHidden(const std::string& batchPath) {
    return platform::services().processes->start("cmd.exe /c \"\"" + batchPath + "\"\"", platform::WindowMode::Hidden);
}

}  // namespace update
