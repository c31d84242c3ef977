// The version check over any server text: trimming, parsing and comparing. Newer-than is a
// strict order on versions, blind to the blanks and line ends around the text.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "update/version_compare.h"

namespace {

// A version's three numbers when it has at most three parts that fit an int.
std::optional<std::array<int, 3>> Triple(const std::string& text) {
    const auto parts = update::VersionParts(text);
    if (!parts || parts->size() > 3) return std::nullopt;
    std::array<int, 3> v{0, 0, 0};
    for (size_t i = 0; i < parts->size(); ++i) {
        if ((*parts)[i] < 0 || (*parts)[i] > 1000000) return std::nullopt;
        v[i] = static_cast<int>((*parts)[i]);
    }
    return v;
}

bool Newer(const std::string& text, const std::array<int, 3>& v) { return update::IsNewerVersion(text, v[0], v[1], v[2]); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // Up to three texts, separated by NUL bytes.
    std::vector<std::string> texts;
    size_t from = 0;
    for (size_t at; texts.size() < 2 && (at = input.find('\0', from)) != std::string::npos; from = at + 1) {
        texts.push_back(input.substr(from, at - from));
    }
    texts.push_back(input.substr(from));

    for (const std::string& t : texts) {
        const auto parts = update::VersionParts(t);
        // A version is made of digits and dots only, once trimmed.
        if (parts) {
            FUZZ_CHECK(!parts->empty());
            for (long p : *parts) FUZZ_CHECK(p >= 0);
        }
        // Blanks, CR and LF around the text change nothing.
        for (const std::array<int, 3>& v : {std::array<int, 3>{1, 0, 32}, std::array<int, 3>{0, 0, 0}}) {
            FUZZ_CHECK(Newer(t, v) == Newer(" \r\n" + t + "\r\n ", v));
            if (!parts) FUZZ_CHECK(!Newer(t, v));  // anything that is not a version means no update
        }
        if (const auto v = Triple(t)) FUZZ_CHECK(!Newer(t, *v));  // irreflexive
    }
    std::vector<std::array<int, 3>> versions;
    std::vector<std::string> named;
    for (const std::string& t : texts) {
        if (const auto v = Triple(t)) {
            versions.push_back(*v);
            named.push_back(t);
        }
    }
    for (size_t a = 0; a < versions.size(); ++a) {
        for (size_t b = 0; b < versions.size(); ++b) {
            // Asymmetric, and the same order as the numbers' own.
            FUZZ_CHECK(!(Newer(named[a], versions[b]) && Newer(named[b], versions[a])));
            FUZZ_CHECK(Newer(named[a], versions[b]) == (versions[a] > versions[b]));
            for (size_t c = 0; c < versions.size(); ++c) {
                if (Newer(named[a], versions[b]) && Newer(named[b], versions[c])) FUZZ_CHECK(Newer(named[a], versions[c]));
            }
        }
    }
    return 0;
}
