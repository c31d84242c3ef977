// The settings reader over any file: it never writes a file that it could not read back to the
// same fields. The first byte picks the user's date format, the rest is settings.ini.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "visits/settings_file.h"

namespace {

struct Fields {
    platform::Date last, remind;
    int16_t in, sww, mos;
    bool operator==(const Fields&) const = default;
};

Fields Read() {
    return {modGlobal::dLastStoreVisit, modGlobal::dRemindMeDate, modGlobal::iRemindMeIn, modGlobal::iStartWithWindows,
            modGlobal::iMinimizeOnStartup};
}

platform::ShortDateFormat Format(uint8_t pick) {
    static const char* const pictures[] = {"M/d/yyyy", "dd.MM.yyyy", "yyyy-MM-dd", "d/M/yyyy", "yyyy. MM. dd.", "dd-MM-yyyy"};
    return platform::ShortDateFormat::fromPicture(pictures[pick % (sizeof pictures / sizeof *pictures)]);
}

// Loads the file with the format; the fields and the file afterwards (empty when none).
std::pair<Fields, std::optional<std::string>> Load(const std::optional<std::string>& file, uint8_t format) {
    fuzz::Program program;
    program.os.clock.format = Format(format);
    const std::string path = modINI::SettingsPath();
    if (file) program.os.files.files[path] = *file;
    modINI::LoadSettings();
    const auto it = program.os.files.files.find(path);
    return {Read(), it == program.os.files.files.end() ? std::nullopt : std::optional<std::string>(it->second)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t format = data[0];
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto [fields, written] = Load(input, format);
    FUZZ_CHECK(written.has_value());  // the file was there and stays there
    if (*written != input) {
        // It rewrote the file: read back, the rewrite gives the same fields and the same file.
        const auto [again, rewritten] = Load(*written, format);
        FUZZ_CHECK(again == fields);
        FUZZ_CHECK(rewritten == written);
    }
    return 0;
}
