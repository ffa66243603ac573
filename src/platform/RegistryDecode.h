#pragma once
// Plain C++ (no Qt): the Windows layer uses it too.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

constexpr std::uint32_t kRegistryString = 1;   // REG_SZ
constexpr std::uint32_t kRegistryNumber = 4;   // REG_DWORD
constexpr std::size_t kRegistryBufferSize = 1024;

// Turns the bytes a registry query returned into the caller's value: the data
// is cut at its first NUL; a string sets the value, a 32-bit number sets its
// decimal text, any other type leaves the value as it came in.
void decodeRegistryValue(std::uint32_t type, const unsigned char *data, std::size_t size,
                         std::string &value);

} // namespace platform
