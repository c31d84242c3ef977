#include "platform/linux/crypto_linux.h"

#include <openssl/bn.h>
#include <openssl/ecdsa.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace platform {

namespace {

// The DER SubjectPublicKeyInfo of a P-256 key, up to its point: the point's 65 bytes follow.
const unsigned char kP256InfoPrefix[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x02, 0x01,
                                         0x06, 0x08, 0x2a, 0x86, 0x48, 0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00};

}  // namespace

std::string CryptoLinux::sha256(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1) return {};
    return std::string(reinterpret_cast<const char*>(digest), size);
}

bool CryptoLinux::verifyP256(const std::string& publicKey, const std::string& message, const std::string& signature) {
    if (publicKey.size() != 65 || signature.size() != 64) return false;
    std::string info(reinterpret_cast<const char*>(kP256InfoPrefix), sizeof kP256InfoPrefix);
    info += publicKey;
    const auto* p = reinterpret_cast<const unsigned char*>(info.data());
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(d2i_PUBKEY(nullptr, &p, static_cast<long>(info.size())),
                                                             EVP_PKEY_free);
    if (!key) return false;
    // OpenSSL takes the signature in DER: r and s as an ECDSA_SIG.
    std::unique_ptr<ECDSA_SIG, decltype(&ECDSA_SIG_free)> sig(ECDSA_SIG_new(), ECDSA_SIG_free);
    BIGNUM* r = BN_bin2bn(reinterpret_cast<const unsigned char*>(signature.data()), 32, nullptr);
    BIGNUM* s = BN_bin2bn(reinterpret_cast<const unsigned char*>(signature.data()) + 32, 32, nullptr);
    if (!sig || !r || !s || ECDSA_SIG_set0(sig.get(), r, s) != 1) {
        BN_free(r);
        BN_free(s);
        return false;
    }
    unsigned char* der = nullptr;
    const int derSize = i2d_ECDSA_SIG(sig.get(), &der);
    if (derSize <= 0) return false;
    std::unique_ptr<unsigned char, void (*)(unsigned char*)> derOwner(der, [](unsigned char* d) { OPENSSL_free(d); });
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1) return false;
    return EVP_DigestVerify(ctx.get(), der, static_cast<size_t>(derSize),
                            reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}

}  // namespace platform
