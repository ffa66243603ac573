#pragma once
// Plain C++ (no Qt): the Windows layer uses it too.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
constexpr std::uint32_t kRegistryString = 1;   // REG_SZ
constexpr std::uint32_t kRegistryNumber = 4;   // REG_DWORD
constexpr std::size_t kRegistryBufferSize = 1024;

// Turns the bytes a registry query returned into the caller's value: the data
// is cut at its first NUL; a string sets the value, a 32-bit number sets its
// decimal text (read from its four bytes, before the cut), any other type
// leaves the value as it came in. More than the buffer's worth is never
// looked at.
void decodeRegistryValue(std::uint32_t type, const unsigned char *data, std::size_t size,
                         std::string &value);

// GetKeyValue's answer once the key has been opened (or not) and the value
// queried (or not): size is the length the value has, which may exceed the
// buffer. A closed key, a failed query or a value too long for the buffer
// empty the value and give false; otherwise the data is decoded and true
// returned, whatever its type.
bool keyValueResult(bool opened, bool queried, std::uint32_t type, const unsigned char *data,
                    std::size_t size, std::string &value);

} // namespace platform
