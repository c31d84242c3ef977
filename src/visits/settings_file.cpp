#include "visits/settings_file.h"

#include <cctype>
#include <cstdint>

#include "app/global_state.h"
#include "platform/services.h"
#include "store_config.h"
#include "visits/visit_schedule.h"

namespace modINI {

namespace {

// Splits on CR LF, and on a lone CR or LF as well so that a file edited elsewhere still reads.
template <class Fn>
void ForEachLine(const std::string& text, Fn&& fn) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            if (!fn(text.substr(start))) return;
            break;
        }
        if (!fn(text.substr(start, end - start))) return;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
}

enum class Read { Complete, Failed, Missing };

// One pass over the file. Stops at the first line it cannot take.
Read ReadFile(const std::string& path) {
    using namespace modGlobal;
    platform::Files& fs = *platform::services().files;
    if (!fs.exists(path)) return Read::Missing;
    std::optional<std::string> text = fs.read(path);
    if (!text) return Read::Failed;

    bool ok = true;
    ForEachLine(*text, [&](const std::string& line) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return true;
        // The key ends two characters before "=" and the value starts two after it, so
        // exactly one character must stand on each side.
        if (eq == 0) return ok = false;
        const std::string key = line.substr(0, eq - 1);
        const std::string value = eq + 2 <= line.size() ? line.substr(eq + 2) : std::string();

        if (key == "Last Store Visit") {
            auto d = platform::parseDateText(value);
            if (!d) return ok = false;
            dLastStoreVisit = *d;
            visits::ShowVisitDates(value);
        } else if (key == "Remind Me Date") {
            auto d = platform::parseDateText(value);
            if (!d) return ok = false;
            dRemindMeDate = *d;
        } else if (key == "Remind Me In" || key == "Start With Windows" || key == "Minimize on Startup") {
            auto n = ParseSettingNumber(value);
            if (!n) return ok = false;
            if (key == "Remind Me In") {
                iRemindMeIn = *n;
            } else if (key == "Start With Windows") {
                iStartWithWindows = *n;
                bStartWithWindowsRead = kTrue;
            } else {
                iMinimizeOnStartup = *n;
            }
        }
        return true;
    });
    return ok ? Read::Complete : Read::Failed;
}

}  // namespace

std::string SettingsPath() {
    platform::Files& fs = *platform::services().files;
    return fs.settingsFolder() + fs.separator() + "settings.ini";
}

std::string NotSavedMessage() {
    return "The settings could not be saved, because this file cannot be written:\n" + SettingsPath() +
           "\n\nThe change holds only until TAV Dashboard is closed. Please call " + store::kName + " at " +
           store::kPhone + " to have this put right.";
}

std::optional<int16_t> ParseSettingNumber(const std::string& text) {
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    if (b == std::string::npos) return std::nullopt;
    size_t i = b;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
    if (i > e) return std::nullopt;
    int32_t v = 0;
    for (; i <= e; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        v = v * 10 + (text[i] - '0');
        if (v > 32768) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < INT16_MIN || v > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(v);
}

std::string SettingsFileText() {
    using namespace modGlobal;
    const char* crlf = "\r\n";
    std::string s;
    s += std::string("[SETTINGS]") + crlf;
    s += "Last Store Visit = " + platform::shortDateText(dLastStoreVisit) + crlf;
    s += "Remind Me Date = " + platform::shortDateText(dRemindMeDate) + crlf;
    s += "Remind Me In = " + std::to_string(iRemindMeIn) + crlf;
    s += "Start With Windows = " + std::to_string(iStartWithWindows) + crlf;
    s += "Minimize on Startup = " + std::to_string(iMinimizeOnStartup) + crlf;
    s += crlf;
    s += std::string("[COMPANY INFO]") + crlf;
    s += crlf;
    return s;
}

bool SaveSettings() { return platform::services().files->replace(SettingsPath(), SettingsFileText()); }

void LoadSettings() {
    using namespace modGlobal;
    const std::string path = SettingsPath();
    // The second pass reads the file that the defaults procedure has just written.
    for (int pass = 0; pass < 2; ++pass) {
        switch (ReadFile(path)) {
            case Read::Failed:
                return;
            case Read::Complete:
                if (bStartWithWindowsRead == kFalse) iStartWithWindows = iMinimizeOnStartup = 1;
                SaveSettings();
                return;
            case Read::Missing:
                break;
        }
        const platform::Date today = platform::today();
        dLastStoreVisit = today;
        dRemindMeDate = today + visits::kVisitCycleDays;
        iRemindMeIn = 0;
        iStartWithWindows = 1;
        iMinimizeOnStartup = 0;
        if (!SaveSettings()) break;
    }
    // The folder cannot be written: the defaults hold for this run, and the dashboard shows them.
    visits::ShowVisitDates(platform::shortDateText(dLastStoreVisit));
}

}  // namespace modINI
