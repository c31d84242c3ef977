#include "platform/win32/crypto_win32.h"

#include <windows.h>

#include <bcrypt.h>

#include <vector>

namespace platform {

namespace {

bool Ok(NTSTATUS s) { return s >= 0; }

struct Algorithm {
    BCRYPT_ALG_HANDLE h = nullptr;
    explicit Algorithm(LPCWSTR id) {
        if (!Ok(BCryptOpenAlgorithmProvider(&h, id, nullptr, 0))) h = nullptr;
    }
    ~Algorithm() {
        if (h) BCryptCloseAlgorithmProvider(h, 0);
    }
};

}  // namespace

std::string CryptoWin32::sha256(const std::string& bytes) {
    Algorithm sha(BCRYPT_SHA256_ALGORITHM);
    if (!sha.h) return {};
    unsigned char digest[32];
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = Ok(BCryptCreateHash(sha.h, &hash, nullptr, 0, nullptr, 0, 0));
    // BCryptHashData takes at most 4 GB at a time; the downloads are far below that.
    ok = ok && Ok(BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                 static_cast<ULONG>(bytes.size()), 0));
    ok = ok && Ok(BCryptFinishHash(hash, digest, sizeof digest, 0));
    if (hash) BCryptDestroyHash(hash);
    return ok ? std::string(reinterpret_cast<const char*>(digest), sizeof digest) : std::string();
}

bool CryptoWin32::verifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) {
    if (publicKey.size() != 65 || publicKey[0] != 0x04 || signature.size() != 64) return false;
    const std::string digest = sha256(message);
    if (digest.size() != 32) return false;
    Algorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
    if (!ecdsa.h) return false;
    // The public blob: its header, then X and Y.
    std::vector<unsigned char> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
    auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob.data());
    header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
    header->cbKey = 32;
    std::copy(publicKey.begin() + 1, publicKey.end(), blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB));
    BCRYPT_KEY_HANDLE key = nullptr;
    if (!Ok(BCryptImportKeyPair(ecdsa.h, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, blob.data(), static_cast<ULONG>(blob.size()), 0))) {
        return false;
    }
    const bool valid = Ok(BCryptVerifySignature(key, nullptr, reinterpret_cast<PUCHAR>(const_cast<char*>(digest.data())), 32,
                                                reinterpret_cast<PUCHAR>(const_cast<char*>(signature.data())), 64, 0));
    BCryptDestroyKey(key);
    return valid;
}

}  // namespace platform
