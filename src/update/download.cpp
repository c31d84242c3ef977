#include "update/download.h"

#include <cmath>
#include <cstring>

#include "platform/services.h"
#include "platform/trim.h"
#include "ui/msgbox.h"
#include "update/signature.h"

namespace update {

namespace {

const int32_t kChunk = 1024;
const int64_t kLargestDownload = 64 * 1024 * 1024;

// A Content-Length the download can be measured against: a whole number from 1 to the limit.
bool PlausibleLength(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const int64_t v = std::stoll(text);
    if (v < 1 || v > kLargestDownload) return false;
    value = static_cast<int32_t>(v);
    return true;
}

uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
    return v;
}

const char* const kDamagedMessage =
    "The update could not be downloaded completely, so it was not installed." "\r\n\r\n"
    "The program goes on with its current version and tries again at its next start.";

}  // namespace

std::string NoResponseMessage() {
    return "Please restore internet connection.\r\n\r\nIt is very important that all clients are using the latest "
           "version.\r\n\r\nIf problem persists, please contact your system administrator.";
}

uint64_t Le64(const std::string& b, size_t at) { return Le(b, at, 4) | static_cast<uint64_t>(Le(b, at + 4, 4)) << 32; }

// A PE file for this processor on Windows, an ELF file for x86-64 on Linux, and whole: the
// tables its header points to (sections, program headers) lie inside it, so a file cut short
// is refused even when its first bytes are right.
bool IsProgramForThisBuild(const std::string& b) {
#ifdef _WIN32
    if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z') return false;
    const uint64_t pe = Le(b, 0x3C, 4);
    if (pe + 24 > b.size() || std::memcmp(b.data() + pe, "PE\0\0", 4) != 0) return false;
#if defined(__x86_64__) || defined(_M_X64)
    if (Le(b, pe + 4, 2) != 0x8664) return false;
#else
    if (Le(b, pe + 4, 2) != 0x014C) return false;
#endif
    const uint64_t sections = Le(b, pe + 6, 2), table = pe + 24 + Le(b, pe + 20, 2);
    if (table + sections * 40 > b.size()) return false;
    for (uint64_t i = 0; i < sections; ++i) {
        const uint64_t at = table + i * 40;
        if (static_cast<uint64_t>(Le(b, at + 20, 4)) + Le(b, at + 16, 4) > b.size()) return false;
    }
    // A symbol table (an unstripped build) and the string table after it end the file.
    const uint64_t symbols = Le(b, pe + 12, 4), strings = symbols + 18 * static_cast<uint64_t>(Le(b, pe + 16, 4));
    if (symbols != 0 && (strings + 4 > b.size() || strings + Le(b, strings, 4) > b.size())) return false;
    return true;
#else
    if (b.size() < 64 || std::memcmp(b.data(), "\x7f" "ELF", 4) != 0 || b[4] != 2 /* 64-bit */ ||
        b[5] != 1 /* little-endian */ || Le(b, 18, 2) != 62 /* x86-64 */) {
        return false;
    }
    const uint64_t programHeaders = Le64(b, 0x20), sectionHeaders = Le64(b, 0x28);
    const uint64_t phEnd = programHeaders + Le(b, 0x36, 2) * static_cast<uint64_t>(Le(b, 0x38, 2));
    const uint64_t shEnd = sectionHeaders + Le(b, 0x3A, 2) * static_cast<uint64_t>(Le(b, 0x3C, 2));
    return programHeaders < b.size() && phEnd <= b.size() && sectionHeaders <= b.size() && shEnd <= b.size();
#endif
}

DownloadResult DownloadFile(frmAutoUpdate& window, DownloadCounters& c, const std::string& address,
                            const std::string& target, const std::string& displayName, const std::string& version) {
    platform::Files& files = *platform::services().files;
    const bool signedUpdates = !StorePublicKey().empty();
    const std::string signature = signedUpdates ? window.Inet1.OpenURL(platform::Trim(address) + ".sig") : std::string();
    // The transfer lets window events run while it waits, so a click on Cancel is seen.
    window.Inet1.Execute(platform::Trim(address), [&window] { return window.Tag == "Cancel"; });
    window.ProgressBar1.setMax(100);

    const platform::HttpResponse& r = window.Inet1.response();
    const std::string length = window.Inet1.GetHeader("Content-Length");
    if (window.Tag != "Cancel") {
        if (length.empty()) {
            ui::MsgBox(NoResponseMessage());
            return DownloadResult::NoResponse;
        }
        // Only the whole program, as the server announced it, may replace the one in use.
        int32_t size = 0;
        if (r.outcome != platform::HttpResponse::Outcome::Answered || r.status != 200 || !PlausibleLength(length, size) ||
            r.body.size() != static_cast<size_t>(size) || !IsProgramForThisBuild(r.body) ||
            (signedUpdates && !VerifyDownload(signature, displayName, version, r.body))) {
            window.Inet1.Cancel();
            ui::MsgBox(kDamagedMessage);
            return DownloadResult::Damaged;
        }
        c.lFileSize = size;
    }
    window.lblFileName.setCaption(displayName);
    window.lblSize.setCaption(std::to_string(c.lFileSize) + " bytes");
    c.lBytesLeft = c.lFileSize;
    c.lBytesDone = 0;
    window.lblAction.setCaption("Downloading update, please wait...");
    // A download left by an interrupted earlier attempt would otherwise keep its bytes past
    // the end of this one.
    files.remove(target);

    do {
        if (window.Tag == "Cancel") {
            window.Inet1.Cancel();
            ui::MsgBox("Update aborted");
            files.remove(target);
            window.Unload();
            return DownloadResult::Aborted;
        }
        if (c.lBytesLeft == 0) break;
        if (c.lBytesLeft > kChunk) {
            c.bytChunk = window.Inet1.GetChunk(kChunk);
            c.lBytesLeft -= kChunk;
        } else {
            c.bytChunk = window.Inet1.GetChunk(c.lBytesLeft);
            c.lBytesLeft = 0;
        }
        c.lBytesDone = c.lFileSize - c.lBytesLeft;
        c.iPercent = static_cast<int16_t>(std::nearbyint(100.0 / c.lFileSize * c.lBytesDone));
        window.ProgressBar1.setValue(c.iPercent);
        window.setCaption(std::to_string(c.iPercent) + "%" + " - Downloaded");
        if (!files.append(target, c.bytChunk)) {
            // A full disk or a folder the program may not write: nothing half-written stays.
            window.Inet1.Cancel();
            files.remove(target);
            ui::MsgBox(kDamagedMessage);
            return DownloadResult::Damaged;
        }
    } while (c.lBytesLeft != 0);
    return DownloadResult::Complete;
}

}  // namespace update
