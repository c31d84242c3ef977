// Signature files as scripts/sign_update.sh writes them, made with FakeCrypto's signatures.
#pragma once
#include <string>

#include "support/fake_platform.h"
#include "update/signature.h"

namespace fakes {

// r and s of 32 bytes each as a DER ECDSA signature.
inline std::string DerSignature(const std::string& raw) {
    auto integer = [](std::string v) {
        while (v.size() > 1 && v[0] == 0 && !(static_cast<unsigned char>(v[1]) & 0x80)) v.erase(0, 1);
        if (static_cast<unsigned char>(v[0]) & 0x80) v.insert(0, 1, '\0');
        return std::string{'\x02', static_cast<char>(v.size())} + v;
    };
    const std::string body = integer(raw.substr(0, 32)) + integer(raw.substr(32, 32));
    return std::string{'\x30', static_cast<char>(body.size())} + body;
}

// The signature file of lines "key: value" (each with its LF), signed with the key.
inline std::string SignatureFileText(const std::string& key, const std::string& fields) {
    const std::string text = "TAV Dashboard signature\n" + fields;
    return text + "signature: " + update::ToHex(DerSignature(FakeCrypto::sign(key, text))) + "\n";
}

inline std::string SignedDownload(const std::string& key, const std::string& name, const std::string& version,
                                  const std::string& bytes) {
    return SignatureFileText(key, "name: " + name + "\nversion: " + version + "\nsha256: " +
                                      update::ToHex(FakeCrypto().sha256(bytes)) + "\n");
}

inline std::string SignedNotice(const std::string& key, const std::string& notice, const std::string& reason) {
    return SignatureFileText(key, "name: ifDisabled.txt\nsha256: " + update::ToHex(FakeCrypto().sha256(notice)) +
                                      "\nreason-sha256: " + update::ToHex(FakeCrypto().sha256(reason)) + "\n");
}

// A P-256 point's shape: 0x04 and 64 bytes.
inline std::string TestKey(char fill) { return std::string(1, '\x04') + std::string(64, fill); }

}  // namespace fakes
