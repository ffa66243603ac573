#include "TestSupport.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace tavotest {

std::optional<std::string> toAnsi(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                         int(text.size()), nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy)
        return std::nullopt;
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), out.data(),
                        size, nullptr, &lossy);
    return out;
}

std::wstring fromAnsi(const std::string &text)
{
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), size);
    return out;
}

std::string programDirectory()
{
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of('\\'));
}

std::string currentDirectory()
{
    char buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length);
}

int runToEnd(const std::string &commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    // Its messages would only clutter the test's output; the exit code tells.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION started{};
    const BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   nullptr, &startup, &started);
    CloseHandle(nul);
    if (!ok)
        return -1;
    WaitForSingleObject(started.hProcess, 120000);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return int(code);
}

std::string readFile(const std::string &path)
{
    std::ifstream in(std::filesystem::path(fromAnsi(path)), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(std::filesystem::path(fromAnsi(path)), std::ios::binary);
    out << bytes;
}

bool waitForFile(const std::string &path, unsigned timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

ScratchDirectory::ScratchDirectory()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "scratch";
    if (info)
        name = std::string(info->test_suite_name()) + "." + info->name();
    path_ = currentDirectory() + "\\" + name + "." + std::to_string(GetCurrentProcessId());
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(fromAnsi(path_)), ignored);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory()
{
    namespace fs = std::filesystem;
    const fs::path root(fromAnsi(path_));
    std::error_code ignored;
    // Read-only, hidden and system entries would block the removal.
    for (fs::recursive_directory_iterator it(root, ignored), end; !ignored && it != end;
         it.increment(ignored))
        SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
    // The test may have left the current directory inside.
    SetCurrentDirectoryW(root.parent_path().c_str());
    fs::remove_all(root, ignored);
}

} // namespace tavotest
