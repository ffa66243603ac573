#include "platform/win/WinPlatform.h"
#include "platform/RegistryDecode.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>

#ifdef _MSC_VER
#pragma comment(lib, "advapi32.lib")
#endif

// Every call names its A or W form: a Qt build defines UNICODE, and the
// strings handed in here are always in the ANSI code page.

namespace platform::win {

bool startProcess(const std::string &commandLine)
{
    if (commandLine.empty())
        return false;
    // CreateProcessA may write into the line it is given, so it gets a copy.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    // No application name: the system splits the line into program and
    // arguments itself, as a typed command line would be split.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return false;
    // The started program is forgotten at once.
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

namespace {

DWORD attributesOf(const std::string &path)
{
    if (path.empty())
        return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesA(path.c_str());
}

// The registry's predefined roots are negative 32-bit numbers; a 64-bit
// handle must carry the sign, as the system's own HKEY_* constants do.
HKEY rootHandle(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

} // namespace

bool isHiddenOrSystem(const std::string &path)
{
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

bool isPlainFile(const std::string &path)
{
    // Attributes rather than a directory search: a name with wildcards must
    // not match some other file.
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    constexpr DWORD excluded =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) == 0;
}

bool getKeyValue(std::uint32_t root, const std::string &keyPath, const std::string &valueName,
                 std::string &value)
{
    // Read access only: a standard user is refused write access to
    // HKEY_LOCAL_MACHINE, and nothing here writes.
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootHandle(root), keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        value.clear();
        return false;
    }

    unsigned char data[kRegistryBufferSize];
    DWORD size = static_cast<DWORD>(sizeof data);
    DWORD type = 0;
    const LONG queried = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data, &size);
    if (queried != ERROR_SUCCESS) {
        // ERROR_MORE_DATA too: a value longer than the buffer is not read.
        value.clear();
        RegCloseKey(key);
        return false;
    }
    decodeRegistryValue(type, data, size, value);
    RegCloseKey(key);
    return true;
}

} // namespace platform::win
