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

// A card, Windows and a Mac take these for one name.
TEST(CaseFoldedKey, NamesOneToAFolderThatIgnoresCase)
{
    const struct {
        std::string a, b;
        bool one;
    } rows[] = {
        {"旅行01.JPG", "旅行01.jpg", true},
        {"\xef\xbc\xa1.jpg", "\xef\xbd\x81.jpg", true}, // full-width Ａ, ａ
        {"CAF\xc3\x89.jpg", "cafe\xcc\x81.jpg", true},     // É, and e with a combining acute
        {"a1.jpg", "a2.jpg", false},
    };
    for (const auto& [a, b, one] : rows)
        EXPECT_EQ(caseFoldedKey(a) == caseFoldedKey(b), one) << a << " " << b;
}

} // namespace
} // namespace zanto::test
