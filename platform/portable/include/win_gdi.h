// GDI for the portable platform: the bitmap and palette structures of the
// BMP format and the drawing-context calls that copy a loaded picture into a
// DirectDraw surface, with Windows' names, layouts and values.
#pragma once

#include "platform/portable/include/win_types.h"

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagRGBTRIPLE {
    BYTE rgbtBlue;
    BYTE rgbtGreen;
    BYTE rgbtRed;
} RGBTRIPLE;

#pragma pack(push, 2)
typedef struct tagBITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
} BITMAPFILEHEADER;
#pragma pack(pop)

typedef struct tagBITMAPCOREHEADER {
    DWORD bcSize;
    WORD bcWidth;
    WORD bcHeight;
    WORD bcPlanes;
    WORD bcBitCount;
} BITMAPCOREHEADER;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;

static_assert(sizeof(BITMAPFILEHEADER) == 14, "BMP file header is 14 bytes");
static_assert(sizeof(BITMAPCOREHEADER) == 12, "core header is 12 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "info header is 40 bytes");
static_assert(sizeof(PALETTEENTRY) == 4 && sizeof(RGBQUAD) == 4, "colour entries are 4 bytes");

// biCompression
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3

// Raster operations and stock objects.
#define SRCCOPY ((DWORD)0x00CC0020)
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4

HGDIOBJ WINAPI GetStockObject(int i);
HDC WINAPI CreateCompatibleDC(HDC hdc);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
BOOL WINAPI DeleteDC(HDC hdc);
BOOL WINAPI DeleteObject(HGDIOBJ ho);
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
