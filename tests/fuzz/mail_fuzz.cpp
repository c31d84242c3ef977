// Mail dispatch over any typed address and message text: the address check and the header
// building. No header ever holds a CR or LF from the input, the headers are always the same
// eleven in the same order, and an unsafe address never reaches the envelope.
//   the address up to the first NUL, then the body
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_program.h"
#include "mail/mail_message.h"
#include "mail/send_email.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t nul = input.find('\0');
    const std::string from = nul == std::string::npos ? input : input.substr(0, nul);
    const std::string body = nul == std::string::npos ? "" : input.substr(nul + 1);

    fuzz::Program program;
    mEmail::SendEmail("Tech request from TAV Dashboard", body, from);
    const bool safe = mEmail::IsSafeAddress(from);
    FUZZ_CHECK(program.os.mail.sent.size() == (safe ? 1u : 0u));
    if (!safe) return 0;
    const auto& sent = program.os.mail.sent[0];
    FUZZ_CHECK(sent.from == from && from.find_first_of("\r\n") == std::string::npos);

    const size_t end = sent.bytes.find("\r\n\r\n");
    FUZZ_CHECK(end != std::string::npos);
    const std::string headers = sent.bytes.substr(0, end + 2);
    static const char* const names[] = {"Subject: ", "From: ", "Sender: ", "To: ", "X-MSMail-Priority: ", "Importance: ",
                                        "Date: ", "Message-ID: ", "MIME-Version: ", "Content-Type: ",
                                        "Content-Transfer-Encoding: "};
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t next; (next = headers.find("\r\n", at)) != std::string::npos; at = next + 2) {
        lines.push_back(headers.substr(at, next - at));
    }
    FUZZ_CHECK(at == headers.size());
    FUZZ_CHECK(lines.size() == sizeof names / sizeof *names);
    for (size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(lines[i].rfind(names[i], 0) == 0);
        FUZZ_CHECK(lines[i].find_first_of("\r\n") == std::string::npos);
    }
    FUZZ_CHECK(lines[1] == "From: " + from);
    return 0;
}
