// Damaged and hostile pictures: each names a way BMP loaders have been
// known to fail. The table in tests/portable/user/bmp_regression_test.cpp says
// which of them load.
#include "fuzz/sample_forms.h"

#include <string>

namespace bmpsamples {
namespace {

BmpForm Indexed8(int width, int height) {
    BmpForm f;
    f.width = width;
    f.height = height;
    f.table = SpreadTable(256);
    f.pixels = PackRows(width, height, 8, false, [](int x, int y) { return (x * 3 + y) & 0xFF; });
    return f;
}

Bytes Base8() {
    return WriteBmp(Indexed8(16, 8));
}

Bytes With32(Bytes b, size_t at, uint32_t v) {
    Put32(b, at, v);
    return b;
}

Bytes With16(Bytes b, size_t at, uint32_t v) {
    Put16(b, at, v);
    return b;
}

// A header claiming width x height over a file of about 1 KB.
Bytes Claiming(int32_t width, int32_t height, uint32_t compression, uint16_t bitCount) {
    BmpForm f;
    f.width = width;
    f.height = height;
    f.bitCount = bitCount;
    f.compression = compression;
    f.colorsUsed = 16;
    f.table = SpreadTable(16);
    f.pixels.assign(1024 - 14 - 40 - 64, 0);
    if (compression == kRle8) {
        // Runs of 255 pixels, each ending its row early: all valid, and as
        // much of the claimed picture as 1 KB of data can describe.
        for (size_t i = 0; i + 6 <= f.pixels.size(); i += 6) {
            f.pixels[i] = 255;
            f.pixels[i + 1] = static_cast<uint8_t>(i % 16);
            f.pixels[i + 2] = 0;
            f.pixels[i + 3] = 0;
            f.pixels[i + 4] = 0;
            f.pixels[i + 5] = 0; // an empty row
        }
    }
    return WriteBmp(f);
}

// An RLE file of a width x height picture whose data is exactly `stream`.
Bytes RleFile(int width, int height, bool fourBit, Bytes stream, uint16_t bitCount = 0) {
    BmpForm f;
    f.width = width;
    f.height = height;
    f.bitCount = bitCount != 0 ? bitCount : (fourBit ? 4 : 8);
    f.compression = fourBit ? kRle4 : kRle8;
    f.table = SpreadTable(fourBit ? 16 : 256);
    f.pixels = std::move(stream);
    return WriteBmp(f);
}

Bytes BitfieldsFile(uint16_t bitCount, uint32_t r, uint32_t g, uint32_t b,
                    uint32_t headerSize = 40) {
    BmpForm f;
    f.headerSize = headerSize;
    f.width = 6;
    f.height = 4;
    f.bitCount = bitCount;
    f.compression = kBitfields;
    f.masks[0] = r;
    f.masks[1] = g;
    f.masks[2] = b;
    f.pixels = PackRows(6, 4, bitCount, false, [](int x, int y) { return x * 0x1111u + y; });
    return WriteBmp(f);
}

} // namespace

std::vector<NamedFile> RegressionForms() {
    const Bytes base = Base8();
    const size_t pixels = base.size() - 16 * 8;

    BmpForm smallTable = Indexed8(16, 8);
    smallTable.colorsUsed = 4;
    smallTable.table.resize(4); // indices up to 0x3D point past it
    BmpForm table4 = Indexed8(8, 4);
    table4.bitCount = 4;
    table4.colorsUsed = 17;
    table4.table = SpreadTable(17);
    table4.pixels.assign(16, 0x12);

    Bytes text(2000);
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<uint8_t>("The quick brown fox.\n"[i % 21]);

    return {
        // Sizes: claimed beyond reason, beyond the cap, zero and negative.
        {"huge_60000x60000", Claiming(60000, 60000, 0, 8)},
        {"huge_60000x60000_rle8", Claiming(60000, 60000, kRle8, 8)},
        {"huge_16384x16384_uncompressed", Claiming(16384, 16384, 0, 8)},
        {"huge_16384x16384_rle8", Claiming(16384, 16384, kRle8, 8)},
        {"width_zero", With32(base, kWidth, 0)},
        {"width_negative", With32(base, kWidth, static_cast<uint32_t>(-16))},
        {"height_zero", With32(base, kHeight, 0)},
        {"height_negative_top_down", With32(base, kHeight, static_cast<uint32_t>(-8))},
        {"height_negative_beyond_cap", With32(base, kHeight, static_cast<uint32_t>(-60000))},
        {"height_int_min", With32(base, kHeight, 0x80000000u)},
        // Depths and planes.
        {"bitcount_zero", With16(base, kBitCount, 0)},
        {"bitcount_7", With16(base, kBitCount, 7)},
        {"bitcount_64", With16(base, kBitCount, 64)},
        {"planes_2", With16(base, kPlanes, 2)},
        {"header_size_64", With32(base, kHeaderSize, 64)},
        {"header_size_huge", With32(base, kHeaderSize, 0xFFFFFFF0u)},
        // Colour counts.
        {"colors_used_17_at_4bpp", WriteBmp(table4)},
        {"colors_used_257_at_8bpp", With32(base, kColorsUsed, 257)},
        {"colors_used_huge", With32(base, kColorsUsed, 0xFFFFFFFFu)},
        {"colors_used_300_at_24bpp", With32(With16(base, kBitCount, 24), kColorsUsed, 300)},
        {"index_beyond_table", WriteBmp(smallTable)},
        // Where the pixels are, and how many there are.
        {"pixel_offset_past_end", With32(base, kOffBits, static_cast<uint32_t>(base.size() + 1))},
        {"pixel_offset_huge", With32(base, kOffBits, 0xFFFFFFF0u)},
        {"pixel_offset_inside_header", With32(base, kOffBits, 20)},
        {"truncated_pixel_data", Bytes(base.begin(), base.begin() + pixels + 16 * 4 + 3)},
        {"truncated_in_colour_table", Bytes(base.begin(), base.begin() + 300)},
        {"truncated_in_header", Bytes(base.begin(), base.begin() + 30)},
        {"file_header_only", Bytes(base.begin(), base.begin() + 14)},
        {"not_a_bmp_text", text},
        {"empty", {}},
        // RLE runs and moves that leave the row or the picture.
        {"rle8_run_past_row_end", RleFile(8, 4, false, {9, 1, 0, 1})},
        {"rle8_absolute_past_row_end",
         RleFile(8, 4, false, {0, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1})},
        {"rle8_delta_past_right", RleFile(8, 4, false, {4, 1, 0, 2, 5, 0, 0, 1})},
        {"rle8_delta_past_top", RleFile(8, 4, false, {0, 2, 0, 5, 0, 1})},
        {"rle8_end_of_line_past_top",
         RleFile(8, 2, false, {2, 1, 0, 0, 2, 1, 0, 0, 2, 1, 0, 0, 0, 1})},
        {"rle8_run_after_last_row", RleFile(8, 2, false, {0, 2, 0, 2, 3, 7, 0, 1})},
        {"rle8_absolute_cut_short", RleFile(8, 4, false, {0, 6, 1, 2, 3})},
        {"rle8_delta_cut_short", RleFile(8, 4, false, {0, 2, 1})},
        {"rle8_command_cut_short", RleFile(8, 4, false, {4, 1, 0})},
        {"rle8_size_image_past_end", With32(RleFile(8, 4, false, {8, 1, 0, 1}), kSizeImage, 4096)},
        {"rle8_index_beyond_table",
         [] {
             BmpForm f;
             f.width = 8;
             f.height = 2;
             f.compression = kRle8;
             f.colorsUsed = 2;
             f.table = SpreadTable(2);
             f.pixels = {8, 200, 0, 0, 0, 8, 1, 2, 3, 250, 5, 6, 7, 255, 0, 1};
             return WriteBmp(f);
         }()},
        {"rle4_run_past_row_end", RleFile(8, 4, true, {9, 0x12, 0, 1})},
        {"rle4_absolute_past_row_end",
         RleFile(8, 4, true, {0, 9, 0x12, 0x34, 0x56, 0x78, 0x9A, 0, 0, 1})},
        {"rle4_delta_past_right", RleFile(8, 4, true, {0, 2, 9, 0, 0, 1})},
        {"rle4_delta_past_top", RleFile(8, 4, true, {0, 2, 1, 7, 0, 1})},
        {"rle8_with_bitcount_4", RleFile(8, 4, false, {8, 1, 0, 1}, 4)},
        {"rle4_with_bitcount_8", RleFile(8, 4, true, {8, 0x11, 0, 1}, 8)},
        {"rle8_with_bitcount_24", With16(RleFile(8, 4, false, {8, 1, 0, 1}), kBitCount, 24)},
        {"rle8_top_down",
         With32(RleFile(8, 4, false, {8, 1, 0, 1}), kHeight, static_cast<uint32_t>(-4))},
        // Bit-field masks.
        {"bitfields_zero_mask", BitfieldsFile(16, 0xF800, 0, 0x001F)},
        {"bitfields_overlapping", BitfieldsFile(16, 0xFC00, 0x07E0, 0x001F)},
        {"bitfields_gap_in_mask", BitfieldsFile(32, 0xF0F000, 0xFF00, 0xFF)},
        {"bitfields_beyond_16_bits", BitfieldsFile(16, 0x1F0000, 0x07E0, 0x001F)},
        {"bitfields_at_24bpp", BitfieldsFile(24, 0xFF0000, 0xFF00, 0xFF)},
        {"bitfields_v5_overlapping", BitfieldsFile(32, 0xFFFF00, 0xFF00, 0xFF, 124)},
        {"bitfields_masks_cut_short",
         [] {
             const Bytes full = BitfieldsFile(16, 0xF800, 0x07E0, 0x001F);
             return Bytes(full.begin(), full.begin() + 60);
         }()},
    };
}

} // namespace bmpsamples
