#include "update/signature.h"

#include <vector>

#include "platform/services.h"
#include "store_config.h"

namespace update {

namespace {

const char kHeader[] = "TAV Dashboard signature\n";

std::string& Key() {
    static std::string key = FromHex(store::kUpdatePublicKey).value_or("");
    return key;
}

// One DER element at b[at]: its tag, and the span of its contents; false when it does not fit.
bool Element(const std::string& b, size_t& at, unsigned char tag, size_t& contentAt, size_t& contentSize) {
    if (at + 2 > b.size() || static_cast<unsigned char>(b[at]) != tag) return false;
    size_t size = static_cast<unsigned char>(b[at + 1]);
    size_t header = 2;
    if (size == 0x81) {  // a long form with one length byte; larger ones never occur here
        if (at + 3 > b.size() || static_cast<unsigned char>(b[at + 2]) < 0x80) return false;
        size = static_cast<unsigned char>(b[at + 2]);
        header = 3;
    } else if (size > 0x80) {
        return false;
    }
    if (size == 0x80 || b.size() - at - header < size) return false;
    contentAt = at + header;
    contentSize = size;
    at = contentAt + size;
    return true;
}

// A positive INTEGER of at most 32 significant bytes, left-padded to 32.
bool Integer(const std::string& b, size_t& at, std::string& out) {
    size_t from = 0, size = 0;
    if (!Element(b, at, 0x02, from, size) || size == 0) return false;
    if (static_cast<unsigned char>(b[from]) & 0x80) return false;  // negative
    // One leading zero only where the next byte would read as negative.
    if (size > 1 && b[from] == 0 && !(static_cast<unsigned char>(b[from + 1]) & 0x80)) return false;
    while (size > 1 && b[from] == 0) {
        ++from;
        --size;
    }
    if (size > 32) return false;
    out += std::string(32 - size, '\0') + b.substr(from, size);
    return true;
}

bool HasExactly(const SignatureFile& f, std::initializer_list<const char*> keys) {
    if (f.fields.size() != keys.size()) return false;
    for (const char* k : keys) {
        if (f.fields.count(k) == 0) return false;
    }
    return true;
}

bool Verify(const SignatureFile& f) {
    platform::Crypto* crypto = platform::services().crypto;
    return crypto && crypto->verifyP256(StorePublicKey(), f.signedText, f.signature);
}

// Whether a field holds the SHA-256 of the bytes, in lower-case hex.
bool IsDigestOf(const std::string& field, const std::string& bytes) {
    platform::Crypto* crypto = platform::services().crypto;
    const std::string digest = crypto ? crypto->sha256(bytes) : std::string();
    return digest.size() == 32 && field == ToHex(digest);
}

}  // namespace

const std::string& StorePublicKey() { return Key(); }
void SetStorePublicKey(const std::string& point) { Key() = point; }

std::optional<std::string> FromHex(const std::string& hex) {
    if (hex.size() % 2) return std::nullopt;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

std::string ToHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::optional<std::string> RawP256Signature(const std::string& der) {
    size_t at = 0, from = 0, size = 0;
    if (!Element(der, at, 0x30, from, size) || at != der.size()) return std::nullopt;
    std::string raw;
    size_t inner = from;
    if (!Integer(der, inner, raw) || !Integer(der, inner, raw) || inner != from + size) return std::nullopt;
    return raw;
}

std::optional<SignatureFile> ParseSignatureFile(const std::string& text) {
    if (text.compare(0, sizeof kHeader - 1, kHeader) != 0) return std::nullopt;
    SignatureFile f;
    size_t at = sizeof kHeader - 1;
    for (;;) {
        size_t end = text.find('\n', at);
        const bool last = end == std::string::npos;
        const std::string line = text.substr(at, last ? std::string::npos : end - at);
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) return std::nullopt;
        const std::string key = line.substr(0, colon), value = line.substr(colon + 2);
        if (key == "signature") {
            // The last line: nothing but an optional line end may follow.
            if (!last && end + 1 != text.size()) return std::nullopt;
            const std::optional<std::string> der = FromHex(value);
            const std::optional<std::string> raw = der ? RawP256Signature(*der) : std::nullopt;
            if (!raw) return std::nullopt;
            f.signedText = text.substr(0, at);
            f.signature = *raw;
            return f;
        }
        if (last || (key != "name" && key != "version" && key != "sha256" && key != "reason-sha256") ||
            !f.fields.emplace(key, value).second) {
            return std::nullopt;
        }
        at = end + 1;
    }
}

bool VerifyDownload(const std::string& signatureFile, const std::string& name, const std::string& version,
                    const std::string& bytes) {
    const std::optional<SignatureFile> f = ParseSignatureFile(signatureFile);
    if (!f || !HasExactly(*f, {"name", "version", "sha256"})) return false;
    return f->fields.at("name") == name && f->fields.at("version") == version && IsDigestOf(f->fields.at("sha256"), bytes) &&
           Verify(*f);
}

bool VerifyNotice(const std::string& signatureFile, const std::string& notice, const std::string& reason) {
    const std::optional<SignatureFile> f = ParseSignatureFile(signatureFile);
    if (!f || !HasExactly(*f, {"name", "sha256", "reason-sha256"})) return false;
    return f->fields.at("name") == "ifDisabled.txt" && IsDigestOf(f->fields.at("sha256"), notice) &&
           IsDigestOf(f->fields.at("reason-sha256"), reason) && Verify(*f);
}

}  // namespace update
