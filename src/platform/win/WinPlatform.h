#pragma once
// The Windows side of the platform layer: plain C++17 and Win32, no Qt, so
// it can be cross-built and tested on its own. Strings are in the ANSI code
// page.
#include <cstdint>
#include <string>

namespace platform::win {

constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

// CreateProcess with the line unchanged, in a normal window that takes the
// focus, in the current directory; does not wait and keeps no handle.
bool startProcess(const std::string &commandLine);

// The hidden or system attribute of a path (false when it cannot be read).
bool isHiddenOrSystem(const std::string &path);

// An existing plain file: not a directory, neither hidden nor system.
bool isPlainFile(const std::string &path);

// Reads one registry value through the ANSI interface into a 1024-byte
// buffer, opened read-only; on failure the value is set empty and false is
// returned. Decoding follows platform::decodeRegistryValue.
bool getKeyValue(std::uint32_t root, const std::string &keyPath, const std::string &valueName,
                 std::string &value);

} // namespace platform::win
