#include "platform/RegistryDecode.h"

namespace platform {

void decodeRegistryValue(std::uint32_t type, const unsigned char *data, std::size_t size,
                         std::string &value)
{
    if (!data)
        size = 0;
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

bool keyValueResult(bool opened, bool queried, std::uint32_t type, const unsigned char *data,
                    std::size_t size, std::string &value)
{
    if (!opened || !queried || size > kRegistryBufferSize) {
        value.clear();
        return false;
    }
    decodeRegistryValue(type, data, size, value);
    return true;
}

} // namespace platform
