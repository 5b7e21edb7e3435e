#include "notara/core/model/SortKey.h"

namespace notara {

void SortKey::appendNumber(std::string& key, std::uint64_t value, unsigned bias) {
    // Below 0x80 - bias: one byte. Above: a byte 0x80 + n (n bytes follow, big-endian), which
    // sorts after every one-byte code and, for equal n, leaves the order to the bytes.
    if (value < 0x80u - bias) {
        key.push_back(static_cast<char>(value + bias));
        return;
    }
    int bytes = 1;
    while (bytes < 8 && (value >> (8 * bytes)) != 0)
        ++bytes;
    key.push_back(static_cast<char>(0x80 + bytes));
    for (int i = bytes - 1; i >= 0; --i)
        key.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace notara
