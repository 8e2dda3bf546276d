#include "tests/support/TempFolder.h"
#include "ui/IniSettingsStore.h"

#include <QByteArray>
#include <QStringList>
#include <gtest/gtest.h>

#include <fstream>

namespace zanto {
namespace {

class IniSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_home.path())); }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    void writeFile(const std::string& text)
    {
        m_home.makeSubfolder("TOLVA");
        std::ofstream(m_home.pathOf("TOLVA/TOLVA.ini")) << text;
    }
    std::string fileText() const { return test::readFile(m_home.pathOf("TOLVA/TOLVA.ini")); }
    QString read(const QString& name) const { return m_store.read("TOLVA", "TOLVA_DATA", name); }

    test::TempFolder m_home;
    IniSettingsStore m_store;
};

// A missing file reads empty; what is stored reads back whole.
TEST_F(IniSettingsStoreTest, EveryValueReadsBackAsWritten)
{
    EXPECT_EQ(read("V"), QString());
    const QStringList values = {"*.png;*.jpg", "a,b", "/home/旅行/x y", " padded ", "\"q\\", "@at", "two\nlines", ""};
    for (const QString& value : values) {
        EXPECT_TRUE(m_store.store("TOLVA", "TOLVA_DATA", "V", value));
        EXPECT_EQ(read("V"), value);
    }
}

// Lines as a person, or an earlier version through QSettings, wrote them.
TEST_F(IniSettingsStoreTest, HandWrittenLinesReadAsAPersonReadsThem)
{
    writeFile("; comment\n[OTHER]\nVORIS=no\n[TOLVA_DATA]\r\nVORIS=*.png;*.jpg\nKALDEN = /a,b \nMODE=\"1\"\n"
              "Q=\"x\\\"y\\x3042\"\nAT=@@a\n");
    EXPECT_EQ(read("VORIS"), "*.png;*.jpg");
    EXPECT_EQ(read("KALDEN"), "/a,b");
    EXPECT_EQ(read("MODE"), "1");
    EXPECT_EQ(read("Q"), "x\"yあ");
    EXPECT_EQ(read("AT"), "@a");
}

TEST_F(IniSettingsStoreTest, StoringRewritesOneLineAndKeepsTheOthers)
{
    writeFile("; kept\n[TOLVA_DATA]\nVORIS=*.png;*.jpg\nMODE=1\n\n[OTHER]\nMODE=7\n");
    EXPECT_TRUE(m_store.store("TOLVA", "TOLVA_DATA", "MODE", "0"));
    EXPECT_TRUE(m_store.store("TOLVA", "TOLVA_DATA", "KALDEN", "/tmp"));
    EXPECT_EQ(fileText(), "; kept\n[TOLVA_DATA]\nVORIS=*.png;*.jpg\nMODE=0\nKALDEN=/tmp\n\n[OTHER]\nMODE=7\n");
}

// A file where the settings folder belongs: the value is not written, and says so.
TEST_F(IniSettingsStoreTest, AWriteThatFailsIsReported)
{
    std::ofstream(m_home.pathOf("TOLVA")) << "not a folder";
    EXPECT_FALSE(m_store.store("TOLVA", "TOLVA_DATA", "MODE", "0"));
}

} // namespace
} // namespace zanto
