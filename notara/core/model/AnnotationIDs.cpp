#include "notara/core/model/AnnotationIDs.h"

#include <cstdint>
#include <cstring>

namespace notara {

namespace {

QRandomGenerator64 systemSeeded() {
    quint32 seed[8];
    QRandomGenerator::system()->fillRange(seed);
    return QRandomGenerator64(seed, 8);
}

} // namespace

AnnotationIDs::AnnotationIDs() : random_(systemSeeded()) {}

std::string AnnotationIDs::next() {
    std::uint8_t bytes[16];
    for (int i = 0; i < 16; i += 8) {
        std::uint64_t word = random_.generate64();
        std::memcpy(bytes + i, &word, 8);
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string id;
    id.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) id += '-';
        id += hex[bytes[i] >> 4];
        id += hex[bytes[i] & 0x0F];
    }
    return id;
}

} // namespace notara
