// The signature files and signatures of signed updates, over any bytes: a file is taken only in
// its one form, a signature only in strict DER, which re-encodes to the same bytes, and a check
// passes only for what the file signs.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "support/signed_files.h"
#include "update/signature.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    if (const auto raw = update::RawP256Signature(input)) {
        FUZZ_CHECK(raw->size() == 64);
        FUZZ_CHECK(fakes::DerSignature(*raw) == input);
    }
    if (const auto hex = update::FromHex(input)) FUZZ_CHECK(update::ToHex(*hex).size() == input.size());

    if (const auto f = update::ParseSignatureFile(input)) {
        FUZZ_CHECK(f->signature.size() == 64);
        FUZZ_CHECK(input.compare(0, f->signedText.size(), f->signedText) == 0);
        FUZZ_CHECK(f->signedText.rfind("TAV Dashboard signature\n", 0) == 0 && f->signedText.back() == '\n');
        // The signed text is the header and one line for each field, and nothing else.
        size_t lines = 0;
        for (char c : f->signedText) lines += c == '\n';
        FUZZ_CHECK(lines == 1 + f->fields.size());
        for (const auto& [key, value] : f->fields) {
            FUZZ_CHECK(key == "name" || key == "version" || key == "sha256" || key == "reason-sha256");
            FUZZ_CHECK(value.find('\n') == std::string::npos);
        }
    }
    // A file passes the check only for the name, version and digest it signs.
    fuzz::Program program;
    update::SetStorePublicKey(fakes::TestKey('k'));
    if (update::VerifyDownload(input, "TAVDashboardNEW", "1.0.33", "program")) {
        const auto f = update::ParseSignatureFile(input);
        FUZZ_CHECK(f && f->fields.size() == 3 && f->fields.at("name") == "TAVDashboardNEW" &&
                   f->fields.at("version") == "1.0.33" &&
                   f->fields.at("sha256") == update::ToHex(fakes::FakeCrypto().sha256("program")));
        FUZZ_CHECK(!update::VerifyDownload(input, "TAVDashboardNEW", "1.0.34", "program"));
        FUZZ_CHECK(!update::VerifyDownload(input, "TAVDashboardNEW", "1.0.33", "programs"));
    }
    update::SetStorePublicKey("");
    return 0;
}
