// Known pictures written in every BMP form the decoder reads, for the BMP
// decoder's tests (tests/portable/user/bmp_*_test.cpp): the form, the picture it
// holds, its file (with the test's own RLE encoder), and the decoder's call.
#pragma once

#include "platform/portable/user/user_bmp_decode.h"
#include "tests/support/bmp_writer.h"

#include <vector>

namespace bmpcases {

using Bytes = std::vector<BYTE>;
using testsupport::Put16;
using testsupport::Put32;

// Field offsets in a file with an info (or longer) header.
using testsupport::kBitCount;
using testsupport::kColorsUsed;
using testsupport::kCompression;
using testsupport::kHeaderSize;
using testsupport::kHeight;
using testsupport::kOffBits;
using testsupport::kPlanes;
using testsupport::kSizeImage;
using testsupport::kWidth;
// In a file with a core header.
constexpr size_t kCoreWidth = 18, kCoreHeight = 20, kCorePlanes = 22, kCoreBitCount = 24;

enum Header : DWORD {
    kCore = 12,
    kInfo = 40,
    kInfo52 = 52,
    kInfo56 = 56,
    kV4 = 108,
    kV5 = 124,
};

struct BmpForm {
    const char *name;
    Header header;
    int bitCount;
    DWORD compression = BI_RGB;
    bool topDown = false;
    DWORD colorsUsed = 0;       // biClrUsed; for indexed pictures also the table's length
    DWORD masks[3] = {0, 0, 0}; // red, green, blue; 0 for the depth's default
    int width = 13;             // odd, so rows need padding at every depth
    int height = 9;
};

// The known picture a test writes and expects back.
struct Picture {
    int width = 0, height = 0;
    std::vector<RGBQUAD> colors; // indexed: the table written
    std::vector<BYTE> indices;   // indexed: top-down
    std::vector<DWORD> raw;      // direct colour: the pixel values as stored, top-down
    std::vector<DWORD> expected; // direct colour: 0x00RRGGBB the decoder must give
};

BmpForm Form(const char *name, Header header, int bitCount, DWORD compression = BI_RGB,
             bool topDown = false, DWORD colorsUsed = 0);
BmpForm WithMasks(BmpForm form, DWORD r, DWORD g, DWORD b);
// The form at another size than the default 13 x 9.
BmpForm Sized(BmpForm form, int width, int height = 9);

std::vector<RGBQUAD> MakeColorTable(size_t count);
// The colour table's length: biClrUsed, or the depth's full table; 0 for
// direct colour.
size_t TableLength(const BmpForm &form);
// The form's known picture: indices or direct colours of a pattern, with
// every kind of RLE command in it for the RLE forms.
Picture MakePicture(const BmpForm &form);
// The picture's indices as RLE commands, bottom row first.
Bytes EncodeRle(const Picture &pic, bool fourBit);
// The entries as 0xAARRGGBB, to compare tables.
std::vector<DWORD> Quads(const std::vector<RGBQUAD> &colors);

// A whole file around pixel data already encoded in the form's layout.
Bytes WriteBmpFile(const BmpForm &form, const std::vector<RGBQUAD> &colors, const Bytes &pixels);
// The file holding the picture in the form.
Bytes WriteBmp(const BmpForm &form, const Picture &pic);
Bytes WriteBmp(const BmpForm &form);
// An info-header RLE file of the stream as given; without biSizeImage when
// sizeImage is false.
Bytes RleFile(int width, int height, bool fourBit, const Bytes &stream, DWORD colorsUsed = 0,
              bool sizeImage = true);

inline bool Decode(const Bytes &file, portable::DibImage *out, int width = 0, int height = 0) {
    return portable::DecodeBmp(file.data(), file.size(), width, height, out);
}

// Forms more than one of the tests start from.
inline const BmpForm kInfo8Form = Form("Info8", kInfo, 8, BI_RGB, false, 20);
inline const BmpForm kInfo24Form = Form("Info24", kInfo, 24);
inline const BmpForm kRle8Form = Sized(Form("Rle8", kInfo, 8, BI_RLE8), 21);

} // namespace bmpcases
