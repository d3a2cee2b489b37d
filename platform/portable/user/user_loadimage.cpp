// LoadImageA for bitmap files: the file is decoded by our own BMP decoder
// into a DIB section of exactly the requested size.
#include "platform/portable/user/user_bmp_decode.h"
#include "platform/portable/gdi/gdi_objects.h"
#include "platform/portable/user/user_mapped_file.h"
#include "platform/portable/include/win_user.h"

HANDLE WINAPI LoadImageA(HINSTANCE hInst, LPCSTR name, UINT type, int cx, int cy, UINT fuLoad) {
    (void)hInst; // files are named, not looked up in a module
    // There are no resources on this platform, and no icons or cursors.
    if (type != IMAGE_BITMAP || !(fuLoad & LR_LOADFROMFILE) || name == nullptr || cx < 0 || cy < 0)
        return nullptr;
    portable::MappedFile file(name);
    if (!file.ok())
        return nullptr;
    // With or without LR_CREATEDIBSECTION the picture keeps its own colour
    // table: this platform's bitmaps are all device-independent.
    portable::DibImage image;
    if (!portable::DecodeBmp(file.data(), file.size(), cx, cy, &image))
        return nullptr;
    return portable::CreateDibSection(std::move(image));
}
