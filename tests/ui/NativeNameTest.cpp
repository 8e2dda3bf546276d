#include "ui/NativeName.h"

#include <gtest/gtest.h>

#include <string>

// A folder stored for the next start comes back byte for byte, and stays
// readable in the settings file wherever it can.

namespace zanto::test {
namespace {

TEST(StorablePath, EveryFolderComesBackByteForByte)
{
    const struct {
        std::string native;
        QString stored; // empty: not checked, only the round trip
    } cases[] = {
        {"/home/u/写真 2026", QStringLiteral("/home/u/写真 2026")},
        {"/mnt/card/\x82\xa0\x82\xa2", {}}, // Shift_JIS あい: shown decoded, stored as bytes
        {"/tmp/\xff%", QStringLiteral("zanto-bytes:/tmp/%FF%25")},
        {"zanto-bytes:x", {}},
    };
    for (const auto& [native, stored] : cases) {
        EXPECT_EQ(pathFromStorable(storablePath(native)), native) << native;
        if (!stored.isEmpty()) {
            EXPECT_EQ(storablePath(native), stored) << native;
        }
    }
}

} // namespace
} // namespace zanto::test
