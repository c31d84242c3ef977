// Signed updates. With the store's public key in the build, every download and the store's
// switch-off need a signature file beside them (their address with ".sig"):
//
//   TAV Dashboard signature
//   name: TAVDashboardNEW.exe
//   version: 1.0.33
//   sha256: <the file's SHA-256, 64 hex digits>
//   signature: <ECDSA P-256 signature of every line above, with their line ends, in DER, hex>
//
// The name and the announced version are signed with the digest, so that a file signed for one
// name or version cannot be passed off as another. The switch-off's file is named
// ifDisabled.txt, has no version, and signs the reason's digest too (reason-sha256), so that a
// forged reason cannot ride on a true notice. scripts/sign_update.sh writes these files.
#pragma once
#include <map>
#include <optional>
#include <string>

namespace update {

// The store's public key of this build (the uncompressed P-256 point, 65 bytes); empty
// without one, and then nothing needs a signature. Tests put in a key of their own.
const std::string& StorePublicKey();
void SetStorePublicKey(const std::string& point);

// Hex digits (either case) to bytes; empty on anything else, or on an odd count.
std::optional<std::string> FromHex(const std::string& hex);
std::string ToHex(const std::string& bytes);

// A DER ECDSA signature (SEQUENCE of the two INTEGERs r and s) as r and s of 32 bytes each;
// empty when it is not exactly that.
std::optional<std::string> RawP256Signature(const std::string& der);

struct SignatureFile {
    std::map<std::string, std::string> fields;  // name, version, sha256, reason-sha256
    std::string signedText;                     // the bytes the signature covers
    std::string signature;                      // r and s
};
// Parses a signature file; empty unless it has exactly the form above (each field at most
// once, known fields only, the signature last).
std::optional<SignatureFile> ParseSignatureFile(const std::string& text);

// Whether the signature file vouches for a download of this name and version with these bytes.
bool VerifyDownload(const std::string& signatureFile, const std::string& name, const std::string& version,
                    const std::string& bytes);
// Whether the signature file vouches for the switch-off notice and its reason, as received.
bool VerifyNotice(const std::string& signatureFile, const std::string& notice, const std::string& reason);

}  // namespace update
