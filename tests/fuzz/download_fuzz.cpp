// The update's download over any answer: status, outcome, Content-Length text and body. A file
// is kept only when the answer is the whole program as announced, and then byte for byte.
//   byte 0: outcome, bytes 1-2: status, then the Content-Length text up to a NUL (none: no
//   header, when byte 0 is odd), then the body.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "platform/trim.h"
#include "update/download.h"
#include "update/frm_auto_update.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    fuzz::Program program;
    platform::HttpResponse r;
    using Outcome = platform::HttpResponse::Outcome;
    const Outcome outcomes[] = {Outcome::Answered, Outcome::Answered, Outcome::Incomplete, Outcome::TimedOut,
                                Outcome::TooLarge, Outcome::Failed};
    r.outcome = outcomes[(data[0] >> 1) % 6];
    r.status = data[1] | (data[2] << 8);
    const std::string rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    const size_t nul = rest.find('\0');
    if (data[0] & 1 || nul == std::string::npos) {
        r.body = rest;
    } else {
        r.contentLength = rest.substr(0, nul);
        r.body = rest.substr(nul + 1);
    }
    const std::string url = "http://127.0.0.1/download/TAVDashboard/TAVDashboardNEW";
    program.os.http.answers[url] = r;
    const std::string target = program.os.files.folder + "\\TAVDashboardNEW";
    program.os.files.files[target] = "left over from an earlier attempt";

    update::frmAutoUpdate& window = ui::app().form<update::frmAutoUpdate>();
    window.Load();
    update::DownloadCounters counters;
    const update::DownloadResult result = update::DownloadFile(window, counters, url, target, "TAVDashboardNEW", "1.0.33");

    const auto kept = program.os.files.files.find(target);
    if (result == update::DownloadResult::Complete) {
        // Complete: a 200 answer whose plain decimal length, from 1 to 64 MB, is the body's, and a program.
        FUZZ_CHECK(r.outcome == Outcome::Answered && r.status == 200 && r.contentLength);
        const std::string length = platform::Trim(*r.contentLength);
        FUZZ_CHECK(!length.empty() && length.find_first_not_of("0123456789") == std::string::npos);
        uint64_t value = 0;
        for (char ch : length) value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(ch - '0'), UINT64_MAX / 20);
        FUZZ_CHECK(value == r.body.size());
        FUZZ_CHECK(!r.body.empty() && r.body.size() <= 64u * 1024 * 1024);
        FUZZ_CHECK(update::IsProgramForThisBuild(r.body));
        FUZZ_CHECK(kept != program.os.files.files.end() && kept->second == r.body);
    } else {
        // Anything else keeps nothing, neither the answer nor what an earlier attempt left.
        FUZZ_CHECK(result != update::DownloadResult::Aborted);  // nobody pressed Cancel
        FUZZ_CHECK(kept == program.os.files.files.end() || kept->second == "left over from an earlier attempt");
        FUZZ_CHECK(program.host.msgBoxes.size() == 1);
    }
    return 0;
}
