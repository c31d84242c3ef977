// A signature made by scripts/sign_update.sh (the openssl tool) for checking the platforms'
// own cryptography against it: the public key, the signed text and its DER signature, in hex.
#pragma once

namespace fakes {

inline constexpr const char* kVectorPublicKey =
    "04ccc8d61436a427fad7cda24b2b7c498982899ec5e2831c5b98bdb687299939672a25df8dbc6df47d07c96e333a9a83069ea4b9db0d46d7f2abbda2c478918f3d";
// "TAV Dashboard signature\nname: TAVDashboardNEW\nversion: 1.0.33\nsha256: ...\n"
inline constexpr const char* kVectorMessage =
    "5441562044617368626f617264207369676e61747572650a6e616d653a2054415644617368626f6172644e45570a76657273696f6e3a20312e302e33330a7368613235363a20643635613366383738626431306561333231343362623331363863663937343762313932376233353862336461353264633464363136656562623430623763630a";
inline constexpr const char* kVectorSignature =
    "3046022100f84e01e2cc14330fedc90bc6a3a3ab86b36fec19d7471bd4e8b93a5d8cfd6516022100eef3f7e4250ce4ed5050f3c049c4b54f2ccc31c243c808cbc31b2b61e5a4b312";

}  // namespace fakes
