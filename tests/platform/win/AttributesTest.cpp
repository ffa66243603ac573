#include "platform/win/WinPlatform.h"
#include "TestSupport.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

using platform::win::isHiddenOrSystem;
using platform::win::isPlainFile;
using namespace tavotest;

namespace {

class Attributes : public ::testing::Test {
protected:
    std::string file(const std::string &name, DWORD attributes)
    {
        const std::string path = scratch_ / name;
        writeFile(path, "x");
        EXPECT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
        // Wine keeps hidden and system in an extended attribute; make sure it held.
        constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
        EXPECT_EQ(GetFileAttributesA(path.c_str()) & kept, attributes & kept) << path;
        return path;
    }
    std::string directory(const std::string &name, DWORD attributes)
    {
        const std::string path = scratch_ / name;
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        if (attributes) {
            EXPECT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
        }
        return path;
    }

    ScratchDirectory scratch_;
};

TEST_F(Attributes, HiddenOrSystemMarksWhatTheScanLeavesOut)
{
    EXPECT_FALSE(isHiddenOrSystem(directory("plain", 0)));
    EXPECT_TRUE(isHiddenOrSystem(directory("hidden", FILE_ATTRIBUTE_HIDDEN)));
    EXPECT_TRUE(isHiddenOrSystem(directory("system", FILE_ATTRIBUTE_SYSTEM)));
    EXPECT_TRUE(isHiddenOrSystem(directory("both", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
    // Read-only and archive are no reason to leave a directory out.
    EXPECT_FALSE(isHiddenOrSystem(directory("kept", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE)));

    EXPECT_FALSE(isHiddenOrSystem(file("plain.txt", FILE_ATTRIBUTE_NORMAL)));
    EXPECT_TRUE(isHiddenOrSystem(file("hidden.txt", FILE_ATTRIBUTE_HIDDEN)));
    EXPECT_TRUE(isHiddenOrSystem(file("system.txt", FILE_ATTRIBUTE_SYSTEM)));
}

TEST_F(Attributes, HiddenOrSystemIsFalseWhenNothingCanBeRead)
{
    EXPECT_FALSE(isHiddenOrSystem(""));
    EXPECT_FALSE(isHiddenOrSystem(scratch_ / "missing"));
    EXPECT_FALSE(isHiddenOrSystem(scratch_ / "missing\\below"));
}

TEST_F(Attributes, PlainFileIsAnOrdinaryFileOnly)
{
    EXPECT_TRUE(isPlainFile(file("MSINFO32.EXE", FILE_ATTRIBUTE_NORMAL)));
    EXPECT_TRUE(isPlainFile(file("readonly.exe", FILE_ATTRIBUTE_READONLY)));
    EXPECT_TRUE(isPlainFile(file("archive.exe", FILE_ATTRIBUTE_ARCHIVE)));

    EXPECT_FALSE(isPlainFile(file("hidden.exe", FILE_ATTRIBUTE_HIDDEN)));
    EXPECT_FALSE(isPlainFile(file("system.exe", FILE_ATTRIBUTE_SYSTEM)));
    EXPECT_FALSE(isPlainFile(file("both.exe", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
    EXPECT_FALSE(isPlainFile(directory("msinfo", 0)));
    EXPECT_FALSE(isPlainFile(directory("MSINFO32.DIR", FILE_ATTRIBUTE_READONLY)));
}

TEST_F(Attributes, PlainFileNeedsTheExactName)
{
    file("MSINFO32.EXE", FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(isPlainFile(""));
    EXPECT_FALSE(isPlainFile(scratch_ / "missing.exe"));
    // A pattern must not stand for some file that matches it.
    EXPECT_FALSE(isPlainFile(scratch_ / "*.EXE"));
    EXPECT_FALSE(isPlainFile(scratch_ / "MSINFO3?.EXE"));
    // The system's own name rules still hold: case does not count.
    EXPECT_TRUE(isPlainFile(scratch_ / "msinfo32.exe"));
}

TEST_F(Attributes, NamesAreInTheAnsiCodePage)
{
    const std::wstring wideFolder = L"\u00e9t\u00e9";
    const auto folder = toAnsi(wideFolder);
    if (!folder)
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " cannot hold the name";
    // Made through the wide interface, so the layer's ANSI names must match it.
    const std::wstring wideRoot = fromAnsi(scratch_.path()) + L"\\" + wideFolder;
    ASSERT_TRUE(CreateDirectoryW(wideRoot.c_str(), nullptr));
    const std::wstring wideFile = wideRoot + L"\\Gr\u00fc\u00dfe.exe";
    HANDLE handle = CreateFileW(wideFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    CloseHandle(handle);

    const auto file = toAnsi(L"Gr\u00fc\u00dfe.exe");
    ASSERT_TRUE(file);
    const std::string path = scratch_ / *folder + "\\" + *file;
    EXPECT_TRUE(isPlainFile(path));
    EXPECT_FALSE(isHiddenOrSystem(scratch_ / *folder));
    ASSERT_TRUE(SetFileAttributesW(wideRoot.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(isHiddenOrSystem(scratch_ / *folder));
}

} // namespace
