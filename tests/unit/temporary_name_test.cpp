#include <gtest/gtest.h>

#include "platform/temporary_name.h"

namespace {

TEST(TemporaryName, WriterIsReadBackOnlyFromTheFilesOwnTemporaries) {
    EXPECT_EQ(platform::TemporaryName("settings.ini", 4242, 7), "settings.ini.tmp4242-7");
    struct Case {
        const char* entry;
        std::optional<uint32_t> writer;
    } cases[] = {
        {"settings.ini.tmp4242-7", 4242u},
        {"settings.ini.tmp1-0", 1u},
        {"settings.ini.tmp4294967295-12", 4294967295u},
        {"settings.ini", std::nullopt},
        {"settings.ini.tmp", std::nullopt},
        {"settings.ini.tmp-3", std::nullopt},
        {"settings.ini.tmp42", std::nullopt},
        {"settings.ini.tmp42-", std::nullopt},
        {"settings.ini.tmp42-x", std::nullopt},
        {"settings.ini.tmp4294967296-0", std::nullopt},  // no process id is that large
        {"other.ini.tmp42-0", std::nullopt},
        {"settings.ini.tmpfile", std::nullopt},
        {"settings.ini.bak.tmp42-0", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::TemporaryWriter(c.entry, "settings.ini"), c.writer) << c.entry;
}

}  // namespace
