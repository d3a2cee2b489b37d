// Little-endian fields, as BMP files store them, for the tests and fuzzers
// that write BMP files and patch their headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace le {

inline void Append16(std::vector<uint8_t> &b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

inline void Append32(std::vector<uint8_t> &b, uint32_t v) {
    Append16(b, v & 0xFFFF);
    Append16(b, v >> 16);
}

// Overwrites the field at byte `at` of an existing file.
inline void Put16(std::vector<uint8_t> &b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void Put32(std::vector<uint8_t> &b, size_t at, uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

inline uint32_t Get16(const std::vector<uint8_t> &b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8;
}

inline uint32_t Get32(const std::vector<uint8_t> &b, size_t at) {
    return Get16(b, at) | Get16(b, at + 2) << 16;
}

} // namespace le
