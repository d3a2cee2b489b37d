#include "fuzz/load_image_entry.h"

#include "fuzz/input_file.h"
#include "platform/portable/gdi/gdi_objects.h"
#include "tests/support/surface_rows.h"

#include <algorithm>
#include <cstring>

namespace fuzzsupport {
namespace {

constexpr BYTE kUntouched = 0xA5;

int Read16(const uint8_t *p) {
    return p[0] | p[1] << 8;
}

void Fill(LPDIRECTDRAWSURFACE surface, BYTE value) {
    testsupport::ForEachRow(surface, 0,
                            [&](BYTE *row, int, int width) { std::memset(row, value, width); });
}

// Whether every pixel outside [x0, x1) x [y0, y1) still holds kUntouched.
bool UntouchedOutside(LPDIRECTDRAWSURFACE surface, long x0, long y0, long x1, long y1) {
    bool untouched = true;
    const HRESULT locked =
        testsupport::ForEachRow(surface, DDLOCK_READONLY, [&](BYTE *row, int y, int width) {
            for (long x = 0; x < width; ++x) {
                const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
                untouched = untouched && (inside || row[x] == kUntouched);
            }
        });
    return locked == DD_OK && untouched;
}

// The loaded bitmap is what was asked for: the requested size (the file's
// own on a side asked as 0) and, for an indexed picture, indices inside its
// colour table.
bool BitmapKeepsItsPromises(HBITMAP handle, const LoadImageRequest &request, int *width,
                            int *height) {
    const portable::GdiBitmap *bitmap = portable::LookupBitmap(handle);
    if (bitmap == nullptr)
        return false;
    const portable::DibImage &image = bitmap->image;
    *width = image.width;
    *height = image.height;
    if ((request.width != 0 && image.width != request.width) ||
        (request.height != 0 && image.height != request.height))
        return false;
    if (image.width <= 0 || image.height <= 0)
        return false;
    const size_t count = static_cast<size_t>(image.width) * image.height;
    if (image.bitCount <= 8) {
        if (image.indices.size() != count || image.colors.empty() || image.colors.size() > 256)
            return false;
        return std::all_of(image.indices.begin(), image.indices.end(),
                           [&](BYTE i) { return i < image.colors.size(); });
    }
    return image.pixels.size() == count && image.colors.empty();
}

} // namespace

LoadImageRequest ParseLoadImageInput(const uint8_t *data, size_t size, const uint8_t **file,
                                     size_t *fileSize) {
    LoadImageRequest request;
    if (size < kLoadImagePrefix) {
        *file = data;
        *fileSize = size;
        return request;
    }
    request.width = (Read16(data) & 0x3FF) - 1;
    request.height = (Read16(data + 2) & 0x3FF) - 1;
    request.x = static_cast<int16_t>(Read16(data + 4));
    request.y = static_cast<int16_t>(Read16(data + 6));
    *file = data + kLoadImagePrefix;
    *fileSize = size - kLoadImagePrefix;
    return request;
}

void WriteLoadImagePrefix(const LoadImageRequest &request, uint8_t out[kLoadImagePrefix]) {
    const int fields[4] = {request.width + 1, request.height + 1, request.x, request.y};
    for (int i = 0; i < 4; ++i) {
        out[2 * i] = static_cast<uint8_t>(fields[i]);
        out[2 * i + 1] = static_cast<uint8_t>(fields[i] >> 8);
    }
}

CaseOutcome RunLoadImageCase(FuzzDisplay &display, const uint8_t *file, size_t size,
                             const LoadImageRequest &request) {
    const char *path = WriteInputFile(file, size);
    if (path == nullptr || !display.ok())
        return CaseOutcome::Broken;
    const size_t objectsBefore = portable::LiveGdiObjects();
    HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, request.width, request.height,
                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        return portable::LiveGdiObjects() == objectsBefore ? CaseOutcome::Refused
                                                           : CaseOutcome::Broken;
    int width = 0, height = 0;
    bool kept = BitmapKeepsItsPromises(bitmap, request, &width, &height);

    // The blit of the picture loader: the whole bitmap from its top-left
    // corner, at its size.
    Fill(display.surface, kUntouched);
    HDC imageDC = CreateCompatibleDC(nullptr);
    HGDIOBJ displaced = SelectObject(imageDC, bitmap);
    HDC surfaceDC = nullptr;
    display.surface->GetDC(&surfaceDC);
    BitBlt(surfaceDC, request.x, request.y, width, height, imageDC, 0, 0, SRCCOPY);
    display.surface->ReleaseDC(surfaceDC);
    SelectObject(imageDC, displaced);
    DeleteDC(imageDC);
    DeleteObject(bitmap);

    const long x0 = request.x, y0 = request.y;
    kept = kept && UntouchedOutside(display.surface, x0, y0, x0 + width, y0 + height);
    kept = kept && portable::LiveGdiObjects() == objectsBefore;
    return kept ? CaseOutcome::Loaded : CaseOutcome::Broken;
}

CaseOutcome RunLoadImageInput(FuzzDisplay &display, const uint8_t *data, size_t size) {
    const uint8_t *file = nullptr;
    size_t fileSize = 0;
    const LoadImageRequest request = ParseLoadImageInput(data, size, &file, &fileSize);
    return RunLoadImageCase(display, file, fileSize, request);
}

} // namespace fuzzsupport
