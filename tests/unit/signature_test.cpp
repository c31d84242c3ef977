#include <gtest/gtest.h>

#include "support/signed_files.h"
#include "update/signature.h"

namespace {

using update::FromHex;
using update::ParseSignatureFile;
using update::RawP256Signature;

TEST(SignatureHex, BothWaysAndRefusals) {
    EXPECT_EQ(FromHex("00ff7Fa0"), std::string("\x00\xff\x7f\xa0", 4));
    EXPECT_EQ(update::ToHex(std::string("\x00\xff\x7f\xa0", 4)), "00ff7fa0");
    EXPECT_EQ(FromHex(""), "");
    for (const char* bad : {"0", "0g", "zz", " 00", "00 "}) EXPECT_EQ(FromHex(bad), std::nullopt) << bad;
}

TEST(SignatureDer, OnlyTwoPositiveIntegersOfAtMost32Bytes) {
    const std::string r(32, '\x11'), s(32, '\x22'), high(32, '\x81');
    EXPECT_EQ(RawP256Signature(fakes::DerSignature(r + s)), r + s);
    EXPECT_EQ(RawP256Signature(fakes::DerSignature(high + high)), high + high);  // a zero byte keeps them positive
    const std::string small = std::string(31, '\0') + "\x05";
    EXPECT_EQ(RawP256Signature(fakes::DerSignature(small + s)), small + s);  // short integers are padded
    const std::string good = fakes::DerSignature(r + s);
    struct Case {
        const char* name;
        std::string der;
    } bad[] = {
        {"empty", ""},
        {"trailing byte", good + "x"},
        {"cut short", good.substr(0, good.size() - 1)},
        {"not a sequence", "\x31" + good.substr(1)},
        {"one integer", std::string("\x30\x03\x02\x01\x05", 5)},
        {"three integers", std::string("\x30\x09\x02\x01\x05\x02\x01\x05\x02\x01\x05", 11)},
        {"negative", std::string("\x30\x06\x02\x01\x85\x02\x01\x05", 8)},
        {"needless zero", std::string("\x30\x07\x02\x02\x00\x05\x02\x01\x05", 9)},
        {"33 significant bytes", "\x30\x46\x02\x21\x01" + std::string(32, '\x01') + "\x02\x21\x01" + std::string(32, '\x01')},
        {"indefinite length", std::string("\x30\x80\x02\x01\x05\x02\x01\x05\x00\x00", 10)},
        {"empty integer", std::string("\x30\x05\x02\x00\x02\x01\x05", 7)},
    };
    for (const Case& c : bad) EXPECT_EQ(RawP256Signature(c.der), std::nullopt) << c.name;
}

TEST(SignatureFile, ParsesOnlyItsOwnForm) {
    const std::string key = fakes::TestKey('k');
    const std::string good = fakes::SignedDownload(key, "TAVDashboardNEW.exe", "1.0.33", "program");
    const auto f = ParseSignatureFile(good);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->fields.at("name"), "TAVDashboardNEW.exe");
    EXPECT_EQ(f->fields.at("version"), "1.0.33");
    EXPECT_EQ(f->signedText, good.substr(0, good.find("signature: ")));
    const std::string withoutLastLf = good.substr(0, good.size() - 1);
    EXPECT_TRUE(ParseSignatureFile(withoutLastLf));
    const std::string sigLine = good.substr(good.find("signature: "));
    struct Case {
        const char* name;
        std::string text;
    } bad[] = {
        {"no header", good.substr(good.find('\n') + 1)},
        {"another header", "TAV Dashboard signature 2\n" + good.substr(good.find('\n') + 1)},
        {"unknown field", "TAV Dashboard signature\nowner: me\n" + sigLine},
        {"twice the same field", "TAV Dashboard signature\nname: a\nname: b\n" + sigLine},
        {"no signature", good.substr(0, good.find("signature: "))},
        {"something after the signature", good + "name: x\n"},
        {"a line without its colon", "TAV Dashboard signature\nname a\n" + sigLine},
        {"CR LF line ends", "TAV Dashboard signature\r\nname: a\r\n" + sigLine},
        {"signature not hex", "TAV Dashboard signature\nname: a\nsignature: zz\n"},
        {"empty", ""},
    };
    for (const Case& c : bad) EXPECT_EQ(ParseSignatureFile(c.text), std::nullopt) << c.name;
}

}  // namespace
