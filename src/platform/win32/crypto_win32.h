#pragma once
#include "platform/crypto.h"

namespace platform {

// SHA-256 and ECDSA P-256 through CNG (bcrypt.dll, part of Windows; Wine has it too).
class CryptoWin32 : public Crypto {
public:
    std::string sha256(const std::string& bytes) override;
    bool verifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) override;
};

}  // namespace platform
