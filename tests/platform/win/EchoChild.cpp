// Started by the process tests: writes back, to the file named by
// TAVO_ECHO_OUT, the exact command line it was given, its working
// directory, how it was asked to show its window, and its process and
// thread ids. With TAVO_ECHO_WAIT it first waits for that named event.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string environment(const char *name)
{
    char buffer[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(name, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

} // namespace

int main()
{
    const std::string out = environment("TAVO_ECHO_OUT");
    if (out.empty())
        return 2;
    const std::string wait = environment("TAVO_ECHO_WAIT");
    if (!wait.empty()) {
        HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, wait.c_str());
        if (!event)
            return 3;
        WaitForSingleObject(event, 60000);
        CloseHandle(event);
    }

    char directory[MAX_PATH];
    const DWORD directoryLength = GetCurrentDirectoryA(MAX_PATH, directory);
    STARTUPINFOA startup{};
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    std::string report = "line=";
    report += GetCommandLineA();
    report += "\ndir=" + std::string(directory, directoryLength);
    report += "\nshow=" + std::to_string(show);
    report += "\npid=" + std::to_string(GetCurrentProcessId());
    report += "\ntid=" + std::to_string(GetCurrentThreadId());
    report += "\n";

    // Written aside and renamed, so the test never reads half a report.
    const std::string partial = out + ".part";
    FILE *file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return 4;
    std::fwrite(report.data(), 1, report.size(), file);
    std::fclose(file);
    return MoveFileExA(partial.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
