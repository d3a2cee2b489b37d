// Decodes BMP files the way Windows' LoadImage accepts them. The header is
// untrusted: every offset and size is checked in 64-bit arithmetic before a
// byte is read, and the work done is bounded by the requested size and the
// file's own length, never by the picture size the header claims.
//
// Choices where Windows leaves room:
// - A pixel index beyond the colour table (uncompressed or RLE) becomes
//   index 0 rather than refusing the file: Windows loads such files, and
//   index 0 keeps every pixel one of the file's own colours.
// - Uncompressed data must hold every row, but the last row may lack its
//   padding to 4 bytes, which nothing reads.
// - RLE data that runs out exactly between two commands ends the picture as
//   an end-of-bitmap would, leaving the rest index 0; a command cut short is
//   damage and refuses the file. When biSizeImage is set it bounds the RLE
//   data and must lie inside the file.
// - Colour counts above 256 are refused at every depth; direct-colour files
//   may carry an optional table, which we do not need and do not read.
// - BI_BITFIELDS masks must be non-zero, disjoint, contiguous and inside the
//   pixel's bits; anything else is damage.
// - Pixel data may overlap the colour table (bfOffBits is trusted as Windows
//   trusts it) but may not start inside the headers or the masks.
#include "platform/portable/user/user_bmp_decode.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace portable {

namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kInfoWithMasksSize = 52;
constexpr DWORD kInfoWithAlphaMaskSize = 56;
constexpr DWORD kV4HeaderSize = 108;
constexpr DWORD kV5HeaderSize = 124;
constexpr uint64_t kMaskBytes = 12; // red, green, blue DWORDs
constexpr DWORD kMaxColors = 256;

WORD ReadWord(const BYTE *p) {
    return static_cast<WORD>(p[0] | p[1] << 8);
}

DWORD ReadDword(const BYTE *p) {
    return static_cast<DWORD>(p[0]) | static_cast<DWORD>(p[1]) << 8 |
           static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[3]) << 24;
}

bool IsKnownHeaderSize(DWORD size) {
    return size == kCoreHeaderSize || size == kInfoHeaderSize || size == kInfoWithMasksSize ||
           size == kInfoWithAlphaMaskSize || size == kV4HeaderSize || size == kV5HeaderSize;
}

bool IsIndexed(int bitCount) {
    return bitCount <= 8;
}

// One colour channel of a direct-colour pixel: its bits and their scale to 8.
struct Channel {
    DWORD mask = 0;
    int shift = 0;
    uint64_t max = 1;

    BYTE Extract(DWORD pixel) const {
        const uint64_t value = (pixel & mask) >> shift;
        return static_cast<BYTE>((value * 255 + max / 2) / max);
    }
};

// Builds a channel from a mask, refusing masks that cannot describe one:
// empty, with gaps, or reaching past the pixel's own bits.
bool MakeChannel(DWORD mask, int bitCount, Channel *out) {
    if (mask == 0)
        return false;
    if (bitCount < 32 && (mask >> bitCount) != 0)
        return false;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const uint64_t bits = mask >> shift;
    if ((bits & (bits + 1)) != 0)
        return false;
    out->mask = mask;
    out->shift = shift;
    out->max = bits;
    return true;
}

// What the headers say, once checked against the file.
struct BmpLayout {
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    int bitCount = 0;
    DWORD compression = BI_RGB;
    std::vector<RGBQUAD> colors;
    Channel red, green, blue;
    uint64_t pixelOffset = 0;
    uint64_t pixelEnd = 0; // one past the last byte the pixel data may use
};

bool IsAllowedDepth(int bitCount, bool core) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        return true;
    case 16:
    case 32:
        return !core; // the OS/2-era core header predates these depths
    default:
        return false;
    }
}

bool IsAllowedCompression(DWORD compression, int bitCount) {
    switch (compression) {
    case BI_RGB:
        return true;
    case BI_RLE8:
        return bitCount == 8;
    case BI_RLE4:
        return bitCount == 4;
    case BI_BITFIELDS:
        return bitCount == 16 || bitCount == 32;
    default:
        return false;
    }
}

bool ReadMasks(const BYTE *masks, int bitCount, BmpLayout *bmp) {
    const DWORD r = ReadDword(masks), g = ReadDword(masks + 4), b = ReadDword(masks + 8);
    if ((r & g) != 0 || (r & b) != 0 || (g & b) != 0)
        return false;
    return MakeChannel(r, bitCount, &bmp->red) && MakeChannel(g, bitCount, &bmp->green) &&
           MakeChannel(b, bitCount, &bmp->blue);
}

void SetDefaultMasks(int bitCount, BmpLayout *bmp) {
    if (bitCount == 16) {
        MakeChannel(0x7C00, 16, &bmp->red);
        MakeChannel(0x03E0, 16, &bmp->green);
        MakeChannel(0x001F, 16, &bmp->blue);
    } else {
        MakeChannel(0xFF0000, 32, &bmp->red);
        MakeChannel(0x00FF00, 32, &bmp->green);
        MakeChannel(0x0000FF, 32, &bmp->blue);
    }
}

bool ReadColorTable(const BYTE *data, size_t size, uint64_t offset, DWORD count, bool core,
                    BmpLayout *bmp) {
    const uint64_t entrySize = core ? 3 : 4;
    if (offset + count * entrySize > size)
        return false;
    bmp->colors.resize(count);
    for (DWORD i = 0; i < count; ++i) {
        const BYTE *entry = data + offset + i * entrySize;
        RGBQUAD &color = bmp->colors[i];
        color.rgbBlue = entry[0];
        color.rgbGreen = entry[1];
        color.rgbRed = entry[2];
        color.rgbReserved = core ? 0 : entry[3];
    }
    return true;
}

// The picture's dimensions, with the sign of the height giving row order.
bool ReadDimensions(LONG width, LONG height, BmpLayout *bmp) {
    if (width <= 0 || width > kMaxBmpSide)
        return false;
    if (height == 0 || height == INT_MIN || height > kMaxBmpSide || -height > kMaxBmpSide)
        return false;
    bmp->width = width;
    bmp->bottomUp = height > 0;
    bmp->height = height > 0 ? height : -height;
    return true;
}

bool ReadLayout(const BYTE *data, size_t size, BmpLayout *bmp) {
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint64_t offBits = ReadDword(data + 10);
    const DWORD headerSize = ReadDword(data + kFileHeaderSize);
    if (!IsKnownHeaderSize(headerSize) || kFileHeaderSize + headerSize > size)
        return false;
    const BYTE *header = data + kFileHeaderSize;
    const bool core = headerSize == kCoreHeaderSize;

    LONG width, height;
    WORD planes, bitCount;
    DWORD sizeImage = 0, colorsUsed = 0;
    if (core) {
        width = ReadWord(header + 4);
        height = ReadWord(header + 6);
        planes = ReadWord(header + 8);
        bitCount = ReadWord(header + 10);
    } else {
        width = static_cast<LONG>(ReadDword(header + 4));
        height = static_cast<LONG>(ReadDword(header + 8));
        planes = ReadWord(header + 12);
        bitCount = ReadWord(header + 14);
        bmp->compression = ReadDword(header + 16);
        sizeImage = ReadDword(header + 20);
        colorsUsed = ReadDword(header + 32);
    }
    if (!ReadDimensions(width, height, bmp) || planes != 1 || !IsAllowedDepth(bitCount, core))
        return false;
    bmp->bitCount = bitCount;
    if (!IsAllowedCompression(bmp->compression, bitCount))
        return false;
    const bool rle = bmp->compression == BI_RLE8 || bmp->compression == BI_RLE4;
    if (rle && !bmp->bottomUp)
        return false;

    // Masks follow a plain info header; the longer headers hold them inside.
    uint64_t headersEnd = kFileHeaderSize + headerSize;
    if (bmp->compression == BI_BITFIELDS) {
        if (headerSize == kInfoHeaderSize) {
            if (headersEnd + kMaskBytes > size)
                return false;
            if (!ReadMasks(data + headersEnd, bitCount, bmp))
                return false;
            headersEnd += kMaskBytes;
        } else if (!ReadMasks(header + kInfoHeaderSize, bitCount, bmp)) {
            return false;
        }
    } else if (!IsIndexed(bitCount) && bitCount != 24) {
        SetDefaultMasks(bitCount, bmp);
    }

    if (colorsUsed > kMaxColors)
        return false;
    if (IsIndexed(bitCount)) {
        const DWORD tableSize = 1u << bitCount;
        if (colorsUsed > tableSize)
            return false;
        const DWORD count = core || colorsUsed == 0 ? tableSize : colorsUsed;
        if (!ReadColorTable(data, size, headersEnd, count, core, bmp))
            return false;
    }

    if (offBits < headersEnd || offBits > size)
        return false;
    bmp->pixelOffset = offBits;
    bmp->pixelEnd = size;
    if (rle && sizeImage != 0) {
        if (offBits + sizeImage > size)
            return false;
        bmp->pixelEnd = offBits + sizeImage;
    }
    return true;
}

// Nearest-neighbour sampling from the file's size to the requested one, with
// rows counted from the top of the picture on both sides.
struct Resampler {
    int srcWidth, srcHeight, dstWidth, dstHeight;
    std::vector<int> srcColumn; // source x for each destination x

    Resampler(int sw, int sh, int dw, int dh)
        : srcWidth(sw), srcHeight(sh), dstWidth(dw), dstHeight(dh), srcColumn(dw) {
        for (int x = 0; x < dw; ++x)
            srcColumn[x] = static_cast<int>(static_cast<int64_t>(x) * sw / dw);
    }

    int SourceRow(int dstY) const {
        return static_cast<int>(static_cast<int64_t>(dstY) * srcHeight / dstHeight);
    }

    // The first destination row sampling source row srcY or a later one.
    int FirstRowFrom(int srcY) const {
        const int64_t scaled = static_cast<int64_t>(srcY) * dstHeight;
        return static_cast<int>((scaled + srcHeight - 1) / srcHeight);
    }
};

// Where a source row (counted from the top) starts among the file's bytes.
const BYTE *SourceRowBytes(const BmpLayout &bmp, const BYTE *data, int srcY) {
    const uint64_t stride = (static_cast<uint64_t>(bmp.width) * bmp.bitCount + 31) / 32 * 4;
    const int fileRow = bmp.bottomUp ? bmp.height - 1 - srcY : srcY;
    return data + bmp.pixelOffset + static_cast<uint64_t>(fileRow) * stride;
}

bool UncompressedDataFits(const BmpLayout &bmp) {
    const uint64_t bits = static_cast<uint64_t>(bmp.width) * bmp.bitCount;
    const uint64_t stride = (bits + 31) / 32 * 4;
    const uint64_t lastRowBytes = (bits + 7) / 8;
    return bmp.pixelOffset + stride * (bmp.height - 1) + lastRowBytes <= bmp.pixelEnd;
}

BYTE IndexAt(const BYTE *row, int x, int bitCount) {
    switch (bitCount) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

DWORD ColorAt(const BmpLayout &bmp, const BYTE *row, int x) {
    DWORD raw;
    switch (bmp.bitCount) {
    case 24: {
        const BYTE *p = row + x * 3;
        return static_cast<DWORD>(p[2]) << 16 | static_cast<DWORD>(p[1]) << 8 | p[0];
    }
    case 16:
        raw = ReadWord(row + x * 2);
        break;
    default:
        raw = ReadDword(row + x * 4);
        break;
    }
    return static_cast<DWORD>(bmp.red.Extract(raw)) << 16 |
           static_cast<DWORD>(bmp.green.Extract(raw)) << 8 | bmp.blue.Extract(raw);
}

// Out-of-table indices show as index 0 (see the top of this file).
BYTE InTable(BYTE index, size_t colorCount) {
    return index < colorCount ? index : 0;
}

void DecodeIndexed(const BmpLayout &bmp, const BYTE *data, const Resampler &rs, DibImage *img) {
    img->indices.resize(static_cast<size_t>(rs.dstWidth) * rs.dstHeight);
    for (int y = 0; y < rs.dstHeight; ++y) {
        const BYTE *row = SourceRowBytes(bmp, data, rs.SourceRow(y));
        BYTE *dst = &img->indices[static_cast<size_t>(y) * rs.dstWidth];
        for (int x = 0; x < rs.dstWidth; ++x)
            dst[x] = InTable(IndexAt(row, rs.srcColumn[x], bmp.bitCount), bmp.colors.size());
    }
}

void DecodeDirect(const BmpLayout &bmp, const BYTE *data, const Resampler &rs, DibImage *img) {
    img->pixels.resize(static_cast<size_t>(rs.dstWidth) * rs.dstHeight);
    for (int y = 0; y < rs.dstHeight; ++y) {
        const BYTE *row = SourceRowBytes(bmp, data, rs.SourceRow(y));
        DWORD *dst = &img->pixels[static_cast<size_t>(y) * rs.dstWidth];
        for (int x = 0; x < rs.dstWidth; ++x)
            dst[x] = ColorAt(bmp, row, rs.srcColumn[x]);
    }
}

// RLE pictures are decoded a source row at a time into one row buffer; a row
// is copied out when it ends, into the destination rows that sample it, so a
// huge claimed picture costs no more than the output and one row.
class RleDecoder {
  public:
    RleDecoder(const BmpLayout &bmp, const Resampler &rs, std::vector<BYTE> *out)
        : bmp_(bmp), rs_(rs), out_(*out), row_(bmp.width, 0) {}

    bool Decode(const BYTE *p, const BYTE *end) {
        const bool fourBit = bmp_.compression == BI_RLE4;
        while (p != end) {
            if (end - p < 2)
                return false;
            const BYTE count = p[0], second = p[1];
            p += 2;
            if (count > 0) {
                if (!Fits(count))
                    return false;
                for (int i = 0; i < count; ++i)
                    Put(fourBit ? ((i & 1) ? second & 0x0F : second >> 4) : second);
                continue;
            }
            switch (second) {
            case 0: // end of line
                if (y_ >= bmp_.height)
                    return false;
                MoveTo(0, y_ + 1);
                break;
            case 1: // end of bitmap
                FlushRow();
                return true;
            case 2: { // delta: skip right and up, leaving index 0 behind
                if (end - p < 2)
                    return false;
                const int x = x_ + p[0], y = y_ + p[1];
                p += 2;
                if (x > bmp_.width || y > bmp_.height)
                    return false;
                MoveTo(x, y);
                break;
            }
            default: { // absolute run of `second` literal pixels, padded to a word
                const int bytes = fourBit ? (second + 1) / 2 : second;
                const int padded = bytes + (bytes & 1);
                if (end - p < padded || !Fits(second))
                    return false;
                for (int i = 0; i < second; ++i)
                    Put(fourBit ? ((i & 1) ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
                p += padded;
                break;
            }
            }
        }
        FlushRow(); // out of data between commands: as good as an end of bitmap
        return true;
    }

  private:
    bool Fits(int count) const { return y_ < bmp_.height && count <= bmp_.width - x_; }

    void Put(BYTE index) {
        row_[x_++] = InTable(index, bmp_.colors.size());
        if (x_ > dirtyEnd_)
            dirtyEnd_ = x_;
    }

    void MoveTo(int x, int y) {
        if (y != y_)
            FlushRow();
        x_ = x;
        y_ = y;
    }

    // Copies the current row to the destination rows sampling it and clears
    // what was written, so untouched pixels stay index 0.
    void FlushRow() {
        if (dirtyEnd_ == 0 || y_ >= bmp_.height)
            return;
        const int srcY = bmp_.height - 1 - y_; // RLE rows run bottom-up
        const int first = rs_.FirstRowFrom(srcY);
        const int last = std::min(rs_.FirstRowFrom(srcY + 1), rs_.dstHeight);
        const size_t width = rs_.dstWidth;
        for (int y = first; y < last; ++y) {
            BYTE *dst = &out_[y * width];
            if (y == first) {
                for (size_t x = 0; x < width; ++x)
                    dst[x] = row_[rs_.srcColumn[x]];
            } else {
                std::memcpy(dst, &out_[first * width], width);
            }
        }
        std::memset(row_.data(), 0, dirtyEnd_);
        dirtyEnd_ = 0;
    }

    const BmpLayout &bmp_;
    const Resampler &rs_;
    std::vector<BYTE> &out_;
    std::vector<BYTE> row_;
    int x_ = 0, y_ = 0; // y counts rows from the bottom, as RLE data does
    int dirtyEnd_ = 0;
};

} // namespace

bool DecodeBmp(const BYTE *data, size_t size, int width, int height, DibImage *out) {
    if (out == nullptr)
        return false;
    *out = DibImage{};
    if (data == nullptr || width < 0 || height < 0 || width > kMaxBmpSide || height > kMaxBmpSide)
        return false;
    BmpLayout bmp;
    if (!ReadLayout(data, size, &bmp))
        return false;

    DibImage img;
    img.width = width != 0 ? width : bmp.width;
    img.height = height != 0 ? height : bmp.height;
    img.bitCount = bmp.bitCount;
    const Resampler rs(bmp.width, bmp.height, img.width, img.height);
    if (bmp.compression == BI_RLE8 || bmp.compression == BI_RLE4) {
        img.indices.assign(static_cast<size_t>(img.width) * img.height, 0);
        RleDecoder rle(bmp, rs, &img.indices);
        if (!rle.Decode(data + bmp.pixelOffset, data + bmp.pixelEnd))
            return false;
    } else {
        if (!UncompressedDataFits(bmp))
            return false;
        if (IsIndexed(bmp.bitCount))
            DecodeIndexed(bmp, data, rs, &img);
        else
            DecodeDirect(bmp, data, rs, &img);
    }
    if (IsIndexed(bmp.bitCount))
        img.colors = std::move(bmp.colors);
    *out = std::move(img);
    return true;
}

} // namespace portable
