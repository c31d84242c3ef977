// The platform's own cryptography, for the signed updates: a SHA-256 digest and the check of
// an ECDSA P-256 signature. No cryptography of our own: CNG (bcrypt) on Windows, OpenSSL's
// libcrypto on Linux.
#pragma once
#include <string>

namespace platform {

class Crypto {
public:
    virtual ~Crypto() = default;
    // The 32-byte SHA-256 digest of the bytes; empty when it cannot be computed.
    virtual std::string sha256(const std::string& bytes) = 0;
    // Whether signature (r and s, 32 bytes each, big-endian) is a valid ECDSA P-256 signature
    // with SHA-256 of message under the public key (the uncompressed point: 0x04, X, Y).
    virtual bool verifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) = 0;
};

}  // namespace platform
