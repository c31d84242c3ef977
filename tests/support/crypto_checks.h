// Checks of a platform's own cryptography, shared by the Linux and the Windows platform tests:
// the SHA-256 test vectors, and a signature the openssl tool made, which must hold as it is and
// fail with any byte of the message, the signature or the key changed.
#pragma once
#include <gtest/gtest.h>

#include "platform/crypto.h"
#include "support/crypto_vector.h"
#include "update/signature.h"

namespace fakes {

inline void CheckPlatformCrypto(platform::Crypto& crypto) {
    EXPECT_EQ(update::ToHex(crypto.sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(update::ToHex(crypto.sha256("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(update::ToHex(crypto.sha256(std::string(1000000, 'a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    const std::string key = *update::FromHex(kVectorPublicKey);
    const std::string message = *update::FromHex(kVectorMessage);
    const std::string signature = *update::RawP256Signature(*update::FromHex(kVectorSignature));
    EXPECT_TRUE(crypto.verifyP256(key, message, signature));

    std::string changedMessage = message;
    changedMessage[30] ^= 1;
    EXPECT_FALSE(crypto.verifyP256(key, changedMessage, signature));
    EXPECT_FALSE(crypto.verifyP256(key, message + "\n", signature));
    for (size_t at : {size_t{0}, size_t{31}, size_t{32}, size_t{63}}) {
        std::string changed = signature;
        changed[at] ^= 0x10;
        EXPECT_FALSE(crypto.verifyP256(key, message, changed)) << at;
    }
    std::string otherKey = key;
    otherKey[64] ^= 1;  // not a point of the curve any more
    EXPECT_FALSE(crypto.verifyP256(otherKey, message, signature));
    EXPECT_FALSE(crypto.verifyP256(key.substr(1), message, signature));  // not an uncompressed point
    EXPECT_FALSE(crypto.verifyP256(key, message, signature.substr(0, 63)));
    EXPECT_FALSE(crypto.verifyP256(key, message, std::string(64, '\0')));
}

}  // namespace fakes
