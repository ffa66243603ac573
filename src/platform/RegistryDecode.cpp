#include "platform/RegistryDecode.h"

#include <cstring>

namespace platform {

void decodeRegistryValue(std::uint32_t type, const unsigned char *data, std::size_t size,
                         std::string &value)
{
    if (size > kRegistryBufferSize)
        size = kRegistryBufferSize;
    if (type == kRegistryNumber) {
        // The number is read from the bytes before any NUL cut: its high bytes are
        // usually zero.
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < 4 && i < size; ++i)
            number |= std::uint32_t(data[i]) << (8 * i);
        value = std::to_string(number);
        return;
    }
    if (type != kRegistryString)
        return;
    std::size_t length = 0;
    while (length < size && data[length] != 0)
        ++length;
    value.assign(reinterpret_cast<const char *>(data), length);
}

} // namespace platform
