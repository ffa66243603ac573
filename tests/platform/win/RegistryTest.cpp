#include "platform/RegistryDecode.h"
#include "platform/win/WinPlatform.h"
#include "TestSupport.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

using platform::kRegistryBufferSize;
using platform::win::getKeyValue;
using platform::win::kHkeyLocalMachine;
using namespace tavotest;

namespace {

constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;

// Values are set from outside the code under test, with the system's own reg
// tool, under a key of the test's own.
class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        key_ = std::string("Software\\TavoStarterTest\\") + info->name();
        removeKey();
    }
    void TearDown() override { removeKey(); }

    void removeKey() { runToEnd("reg.exe delete \"HKLM\\" + key_ + "\" /f"); }

    void add(const std::string &name, const std::string &type, const std::string &data,
             const std::string &root = "HKLM")
    {
        const std::string line = "reg.exe add \"" + root + "\\" + key_ + "\" /v " + name +
                                 " /t " + type + " /d \"" + data + "\" /f";
        ASSERT_EQ(runToEnd(line), 0) << line;
    }

    // For data that reg add cannot express, such as a string with a NUL inside.
    // The file is in UTF-16, as the system's own export writes it, so that
    // string data in hex is UTF-16 too.
    void import(const std::string &name, const std::string &typedHex)
    {
        const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\" + key_ + "]\r\n\"" + name + "\"=" +
                                 typedHex + "\r\n";
        std::string bytes = "\xff\xfe";
        for (char c : text) {
            bytes += c;
            bytes += '\0';
        }
        const std::string file = scratch_ / "values.reg";
        writeFile(file, bytes);
        ASSERT_EQ(runToEnd("reg.exe import \"" + file + "\""), 0) << typedHex;
    }

    // Reads one value of the test's key, starting from the given text.
    std::pair<bool, std::string> read(const std::string &name, std::string value = "came in")
    {
        const bool ok = getKeyValue(kHkeyLocalMachine, key_, name, value);
        return {ok, value};
    }

    ScratchDirectory scratch_;
    std::string key_;
};

using Result = std::pair<bool, std::string>;

TEST_F(Registry, StringsAreReadWithoutTheirTerminator)
{
    add("PATH", "REG_SZ", "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");
    add("Empty", "REG_SZ", "");
    EXPECT_EQ(read("PATH"),
              Result(true, "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe"));
    EXPECT_EQ(read("Empty"), Result(true, ""));
}

TEST_F(Registry, StringsAreCutAtTheirFirstNul)
{
    import("Inner", "hex(1):61,00,62,00,00,00,63,00,00,00");
    import("Unended", "hex(1):61,00,62,00");
    EXPECT_EQ(read("Inner"), Result(true, "ab"));
    EXPECT_EQ(read("Unended"), Result(true, "ab"));
}

TEST_F(Registry, StringsComeInTheAnsiCodePage)
{
    const auto text = toAnsi(L"C:\\Programme\\Gemeinsame Dateien\\Syst\u00e8me");
    if (!text)
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " cannot hold the text";
    add("PATH", "REG_SZ", *text);
    EXPECT_EQ(read("PATH"), Result(true, *text));
}

TEST_F(Registry, NumbersBecomeTheirDecimalText)
{
    add("Small", "REG_DWORD", "16");
    add("Large", "REG_DWORD", "0x12345678");
    add("Top", "REG_DWORD", "4294967295");
    add("Zero", "REG_DWORD", "0");
    EXPECT_EQ(read("Small"), Result(true, "16"));
    EXPECT_EQ(read("Large"), Result(true, "305419896"));
    EXPECT_EQ(read("Top"), Result(true, "4294967295"));
    EXPECT_EQ(read("Zero"), Result(true, "0"));
}

TEST_F(Registry, OtherTypesLeaveTheValueAsItCameIn)
{
    add("Binary", "REG_BINARY", "433a5c00");
    add("Expand", "REG_EXPAND_SZ", "%SystemRoot%\\system32");
    add("Multi", "REG_MULTI_SZ", "one\\0two");
    EXPECT_EQ(read("Binary"), Result(true, "came in"));
    EXPECT_EQ(read("Expand"), Result(true, "came in"));
    EXPECT_EQ(read("Multi"), Result(true, "came in"));
}

TEST_F(Registry, AValueLongerThanTheBufferIsNotRead)
{
    // The buffer holds the text and its terminating NUL.
    const std::string fits(kRegistryBufferSize - 1, 'f');
    const std::string over(kRegistryBufferSize, 'o');
    add("Fits", "REG_SZ", fits);
    add("Over", "REG_SZ", over);
    add("Long", "REG_SZ", std::string(1500, 'l'));
    add("LongBinary", "REG_BINARY", std::string(2 * (kRegistryBufferSize + 1), '4'));
    EXPECT_EQ(read("Fits"), Result(true, fits));
    EXPECT_EQ(read("Over"), Result(false, ""));
    EXPECT_EQ(read("Long"), Result(false, ""));
    EXPECT_EQ(read("LongBinary"), Result(false, ""));
}

TEST_F(Registry, AMissingKeyOrValueEmptiesTheValue)
{
    add("PATH", "REG_SZ", "here");
    EXPECT_EQ(read("Missing"), Result(false, ""));
    std::string value = "came in";
    EXPECT_FALSE(getKeyValue(kHkeyLocalMachine, key_ + "\\Missing", "PATH", value));
    EXPECT_EQ(value, "");
    value = "came in";
    EXPECT_FALSE(getKeyValue(kHkeyLocalMachine, "", "PATH", value));
    EXPECT_EQ(value, "");
}

TEST_F(Registry, TheRootIsChosenByItsNumber)
{
    // The same key and value under two roots, told apart by their data.
    add("Where", "REG_SZ", "machine");
    add("Where", "REG_SZ", "user", "HKCU");
    std::string machine, user;
    EXPECT_TRUE(getKeyValue(kHkeyLocalMachine, key_, "Where", machine));
    EXPECT_TRUE(getKeyValue(kHkeyCurrentUser, key_, "Where", user));
    EXPECT_EQ(machine, "machine");
    EXPECT_EQ(user, "user");
    runToEnd("reg.exe delete \"HKCU\\" + key_ + "\" /f");
    // Not a root at all.
    std::string none = "came in";
    EXPECT_FALSE(getKeyValue(0x12345u, key_, "Where", none));
    EXPECT_EQ(none, "");
}

} // namespace
