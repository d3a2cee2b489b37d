// The picture from the file, loaded at the requested size and copied into
// a surface through a drawing context on each side.
#include "app/app.h"
#include "image/image.h"

void LoadBmpImage(LPDIRECTDRAWSURFACE surface, const char *fileName, int x, int y, int width,
                  int height) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, fileName, IMAGE_BITMAP, width, height,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        FatalExit(FormatMsgBuf(g_szNotFoundFormat, fileName));

    // None of these steps is checked: a failure leaves the picture out, and
    // every object taken is still given back, the bitmap last.
    HDC imageDC = CreateCompatibleDC(nullptr);
    HGDIOBJ displaced = SelectObject(imageDC, bitmap);
    HDC surfaceDC = nullptr;
    surface->GetDC(&surfaceDC);
    BitBlt(surfaceDC, x, y, width, height, imageDC, 0, 0, SRCCOPY);
    surface->ReleaseDC(surfaceDC);
    SelectObject(imageDC, displaced);
    DeleteDC(imageDC);
    DeleteObject(bitmap);
}
