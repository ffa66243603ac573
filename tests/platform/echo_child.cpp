// A child of the Windows tests' own: writes back, to the file named by
// TAVO_ECHO_OUT, the exact command line it was given, its working directory,
// how it was asked to show its window, whether its console has a window, the
// error mode it inherited, and its process and thread ids, as UTF-8 lines. With TAVO_ECHO_WAIT it first
// waits for that named event. It prints its command line to standard output
// and exits with TAVO_ECHO_EXIT (0 when unset; any 32-bit code, such as an
// exception code). The smoke test uses it as the kit's compiler.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring environment(const wchar_t *name)
{
    wchar_t buffer[4096];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
    return length > 0 && length < 4096 ? std::wstring(buffer, length) : std::wstring();
}

std::string utf8(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(size_t(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

} // namespace

int main()
{
    const std::string line = utf8(GetCommandLineW());
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    const int exitCode = static_cast<int>(std::strtoll(utf8(environment(L"TAVO_ECHO_EXIT")).c_str(), nullptr, 10));

    const std::wstring out = environment(L"TAVO_ECHO_OUT");
    if (out.empty())
        return exitCode;
    const std::wstring wait = environment(L"TAVO_ECHO_WAIT");
    if (!wait.empty()) {
        HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, wait.c_str());
        if (!event)
            return 103;
        WaitForSingleObject(event, 60000);
        CloseHandle(event);
    }

    wchar_t directory[4096];
    const DWORD directoryLength = GetCurrentDirectoryW(4096, directory);
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    std::string report = "line=" + line;
    report += "\ndir=" + utf8(std::wstring(directory, directoryLength));
    report += "\nshow=" + std::to_string(show);
    report += std::string("\nconsolewindow=") + (GetConsoleWindow() ? "yes" : "no");
    report += "\nerrormode=" + std::to_string(GetErrorMode());
    report += "\npid=" + std::to_string(GetCurrentProcessId());
    report += "\ntid=" + std::to_string(GetCurrentThreadId());
    report += "\n";

    // Written aside and renamed, so a reader never sees half a report.
    const std::wstring partial = out + L".part";
    FILE *file = _wfopen(partial.c_str(), L"wb");
    if (!file)
        return 104;
    std::fwrite(report.data(), 1, report.size(), file);
    std::fclose(file);
    return MoveFileExW(partial.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? exitCode : 105;
}
