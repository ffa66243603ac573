#include "platform/win/WinPlatform.h"
#include "TestSupport.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

using platform::win::startProcess;
using namespace tavotest;

namespace {

const char kChildName[] = "tavo_echo_child.exe";

std::string childProgram() { return programDirectory() + "\\" + kChildName; }

bool runsUnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// What the child wrote back, by key.
std::map<std::string, std::string> parseReport(const std::string &report)
{
    std::map<std::string, std::string> fields;
    std::istringstream lines(report);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

// Runs one start in the given directory and returns the child's report.
class ProcessStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        report_ = scratch_ / "report.txt";
        SetEnvironmentVariableA("TAVO_ECHO_OUT", report_.c_str());
        SetEnvironmentVariableA("TAVO_ECHO_WAIT", nullptr);
        saved_ = currentDirectory();
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved_.c_str());
        SetEnvironmentVariableA("TAVO_ECHO_OUT", nullptr);
        SetEnvironmentVariableA("TAVO_ECHO_WAIT", nullptr);
    }

    std::map<std::string, std::string> startIn(const std::string &directory,
                                               const std::string &line)
    {
        EXPECT_TRUE(SetCurrentDirectoryA(directory.c_str())) << directory;
        EXPECT_TRUE(startProcess(line)) << line;
        EXPECT_TRUE(waitForFile(report_, 60000)) << "the child wrote no report";
        return parseReport(readFile(report_));
    }

    // Places a copy of the child under the given name, below the scratch folder.
    std::string copyChild(const std::string &relativePath)
    {
        const std::string target = scratch_ / relativePath;
        EXPECT_TRUE(CopyFileA(childProgram().c_str(), target.c_str(), FALSE)) << target;
        return target;
    }

    ScratchDirectory scratch_;
    std::string report_;
    std::string saved_;
};

TEST_F(ProcessStart, HandsTheLineOverUnchangedInANormalFocusedWindow)
{
    // Doubled blanks, quotes and shell syntax are the child's own business:
    // no command interpreter stands in between, so no compile.log appears.
    const std::string line =
        childProgram() + " -Xstdout  -classpath \"a b\";c.jar src\\fb\\*.java %1 > .\\compile.log";
    auto report = startIn(scratch_.path(), line);
    EXPECT_EQ(report["line"], line);
    EXPECT_EQ(report["dir"], currentDirectory());
    EXPECT_EQ(report["dir"], scratch_.path());
    EXPECT_EQ(report["show"], std::to_string(SW_SHOWNORMAL));
    EXPECT_EQ(GetFileAttributesA((scratch_ / "compile.log").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProcessStart, FindsAnUnquotedProgramPathWithBlanks)
{
    ASSERT_TRUE(CreateDirectoryA((scratch_ / "my tools").c_str(), nullptr));
    const std::string program = copyChild("my tools\\jikes.exe");
    const std::string line = program + " -d classes";
    auto report = startIn(scratch_.path(), line);
    // Windows hands the line over as it is; Wine puts quotes around a
    // program name with blanks that it had to search for.
    EXPECT_EQ(report["line"], runsUnderWine() ? "\"" + program + "\" -d classes" : line);
}

TEST_F(ProcessStart, KeepsNonAsciiNamesInTheAnsiCodePage)
{
    const auto folder = toAnsi(L"Caf\u00e9-\u00c5rhus");
    const auto argument = toAnsi(L"r\u00e9sum\u00e9.fbt");
    if (!folder || !argument)
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " cannot hold the names";
    ASSERT_NE(*folder, std::string("Caf\xc3\xa9-\xc3\x85rhus")) << "names must not be UTF-8";
    ASSERT_TRUE(CreateDirectoryA((scratch_ / *folder).c_str(), nullptr));
    const std::string program = copyChild(*folder + "\\" + kChildName);
    const std::string line = program + " " + *argument;
    auto report = startIn(scratch_ / *folder, line);
    EXPECT_EQ(report["line"], line);
    EXPECT_EQ(report["dir"], scratch_ / *folder);
}

TEST_F(ProcessStart, ReturnsWithoutWaitingForTheChild)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "TavoEchoRelease");
    ASSERT_NE(release, nullptr);
    SetEnvironmentVariableA("TAVO_ECHO_WAIT", "TavoEchoRelease");
    ASSERT_TRUE(SetCurrentDirectoryA(scratch_.path().c_str()));

    EXPECT_TRUE(startProcess(childProgram()));
    // The child is still held, so a start that waited would not be back yet.
    EXPECT_EQ(GetFileAttributesA(report_.c_str()), INVALID_FILE_ATTRIBUTES);
    SetEvent(release);
    EXPECT_TRUE(waitForFile(report_, 60000));
    CloseHandle(release);
}

// Once nobody holds a handle to an ended process or thread, its id no longer
// opens it (under Wine only a moment after the end).
bool processIdOpens(DWORD id)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process)
        return false;
    CloseHandle(process);
    return true;
}

bool threadIdOpens(DWORD id)
{
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
    if (!thread)
        return false;
    CloseHandle(thread);
    return true;
}

bool goesAway(bool (*opens)(DWORD), DWORD id)
{
    const ULONGLONG end = GetTickCount64() + 10000;
    while (opens(id)) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

void waitForEnd(DWORD processId)
{
    if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId)) {
        WaitForSingleObject(process, 60000);
        CloseHandle(process);
    }
}

TEST_F(ProcessStart, KeepsNoHandleToTheStartedProcess)
{
    // The probe itself: an ended child whose handles are still held stays
    // openable by its ids, and goes away once they are closed.
    {
        const std::string held = scratch_ / "held.txt";
        SetEnvironmentVariableA("TAVO_ECHO_OUT", held.c_str());
        std::string line = childProgram();
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &started));
        WaitForSingleObject(started.hProcess, 60000);
        Sleep(2000);
        EXPECT_TRUE(processIdOpens(started.dwProcessId));
        EXPECT_TRUE(threadIdOpens(started.dwThreadId));
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        EXPECT_TRUE(goesAway(processIdOpens, started.dwProcessId));
        EXPECT_TRUE(goesAway(threadIdOpens, started.dwThreadId));
        SetEnvironmentVariableA("TAVO_ECHO_OUT", report_.c_str());
    }

    auto report = startIn(scratch_.path(), childProgram());
    const DWORD processId = std::stoul(report["pid"]);
    const DWORD threadId = std::stoul(report["tid"]);
    waitForEnd(processId);
    EXPECT_TRUE(goesAway(processIdOpens, processId)) << "a process handle was kept";
    EXPECT_TRUE(goesAway(threadIdOpens, threadId)) << "a thread handle was kept";
}

TEST(ProcessStartFailure, ReportsALineThatCannotStart)
{
    ScratchDirectory scratch;
    EXPECT_FALSE(startProcess(""));
    EXPECT_FALSE(startProcess(scratch / "missing.exe"));
    EXPECT_FALSE(startProcess(scratch / "missing.exe " + scratch.path()));
    // A directory is no program.
    EXPECT_FALSE(startProcess(scratch.path()));
}

} // namespace
