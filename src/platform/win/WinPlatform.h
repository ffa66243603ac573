#pragma once
// The Windows side of the platform layer: plain C++17 and Win32, no Qt.
// Paths and command lines go to the system through its wide interface; only
// the registry read uses the ANSI one.
#include <cstdint>
#include <string>

namespace platform::win {

// CreateProcess with the line unchanged, in a normal window that takes the
// focus, in the current directory; does not wait and keeps no handle.
bool startProcess(const std::wstring &commandLine);

// The same start, but the child shares this program's standard handles and
// is waited for: its exit code, or -1 when it could not be started.
int runProcessAndWait(const std::wstring &commandLine);

// A program built for the window subsystem has no console of its own. Its
// standard output and error reach the parent's console once attached to it;
// handles the parent redirected to a file or pipe are kept as they are.
// False when there is neither.
bool attachParentConsole();

// An existing plain file: not a directory, neither hidden nor system.
bool isPlainFile(const std::wstring &path);

// A path the wide file functions take even past MAX_PATH: an absolute path
// that long gets the "\\?\" prefix; anything else is returned unchanged.
std::wstring longPathForm(const std::wstring &path);

// Reads one registry value through the ANSI interface into a 1024-byte
// buffer, opened read-only; on failure the value is set empty and false is
// returned. Decoding follows platform::decodeRegistryValue.
bool getKeyValue(std::uint32_t root, const std::string &keyPath, const std::string &valueName,
                 std::string &value);

} // namespace platform::win
