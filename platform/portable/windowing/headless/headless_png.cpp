// A PNG writer of our own, small enough to read at a glance: one IDAT of
// stored (uncompressed) deflate blocks, so no compression library is needed
// and the program that merely can save frames links none. Files are about
// the size of the frame; they are for tests and for looking at.
#include "platform/portable/windowing/headless/headless_png.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace portable {
namespace {

using Bytes = std::vector<uint8_t>;

void Append32(Bytes &b, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Crc32(const uint8_t *data, size_t size) {
    static const auto table = [] {
        std::unique_ptr<uint32_t[]> t(new uint32_t[256]);
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// A chunk: its length, type and data, and the CRC of type and data.
void AppendChunk(Bytes &file, const char type[5], const Bytes &data) {
    Append32(file, static_cast<uint32_t>(data.size()));
    const size_t typeAt = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    Append32(file, Crc32(file.data() + typeAt, file.size() - typeAt));
}

// The zlib stream of the raw bytes in stored blocks of at most 65,535 bytes,
// with its Adler-32 check.
Bytes StoredZlib(const Bytes &raw) {
    Bytes z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        z.push_back(at + n == raw.size() ? 1 : 0); // the last block says so
        const uint16_t len = static_cast<uint16_t>(n);
        for (uint16_t v : {len, static_cast<uint16_t>(~len)}) {
            z.push_back(static_cast<uint8_t>(v));
            z.push_back(static_cast<uint8_t>(v >> 8));
        }
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                 raw.begin() + static_cast<ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Append32(z, (b << 16) | a);
    return z;
}

} // namespace

bool WritePngIndexed(const std::string &path, int width, int height, const BYTE *indices,
                     long pitch, const PALETTEENTRY palette[256]) {
    if (width <= 0 || height <= 0)
        return false;
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes file(kSignature, kSignature + 8);

    Bytes header;
    Append32(header, static_cast<uint32_t>(width));
    Append32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8 bits, palette, no interlace
    AppendChunk(file, "IHDR", header);

    Bytes colours;
    for (int i = 0; i < 256; ++i)
        colours.insert(colours.end(), {palette[i].peRed, palette[i].peGreen, palette[i].peBlue});
    AppendChunk(file, "PLTE", colours);

    // Each row after a filter byte of 0: the indices as they are.
    Bytes raw;
    raw.reserve(static_cast<size_t>(width + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const BYTE *row = indices + static_cast<ptrdiff_t>(y) * pitch;
        raw.push_back(0);
        raw.insert(raw.end(), row, row + width);
    }
    AppendChunk(file, "IDAT", StoredZlib(raw));
    AppendChunk(file, "IEND", {});

    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    // A full disk shows at the close, not before.
    return (std::fclose(out) == 0) && written;
}

} // namespace portable
