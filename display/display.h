// The display: DirectDraw's exclusive 640x480 8-bit mode with a flip chain,
// the work surface that holds the picture, the palette, and the clipped row
// copy the effect draws with.
#pragma once

#include "platform/platform.h"

// The display objects, each null while it does not exist. They are created
// by InitDirectDraw and released only by ReleaseDirectDraw.
extern LPDIRECTDRAW g_pDD;
extern LPDIRECTDRAWSURFACE g_pDDSPrimary; // visible front buffer of the flip chain
extern LPDIRECTDRAWSURFACE g_pDDSBack;    // its back buffer, never released on its own
extern LPDIRECTDRAWSURFACE g_pDDSWork;    // 640x480 off-screen surface holding the picture
extern LPDIRECTDRAWPALETTE g_pDDPal;      // the 256 colours of the screen

// The colours the palette is created from (all zero) and later loaded with.
extern PALETTEENTRY g_PalEntries[256];

// Takes the display and creates the five objects; 1 on success, 0 at the
// first step that fails, leaving what was created for ReleaseDirectDraw.
int InitDirectDraw(HWND hWnd);
// Releases every display object that exists, which gives the display back.
// Always 1.
int ReleaseDirectDraw();
// Fills the whole surface with palette index 0.
HRESULT ClearSurface(LPDIRECTDRAWSURFACE surface);
// Shows the back buffer.
HRESULT FlipScreen();

// Copies a w x h rectangle of src at (srcX, srcY) to (x, y) of dest, clipped
// to the whole 640x480 screen; keySel 1 skips the source's colour-key pixels,
// 0 copies all. No platform call is made when nothing is left to draw.
HRESULT BltFastClip(LPDIRECTDRAWSURFACE dest, int x, int y, int w, int h, LPDIRECTDRAWSURFACE src,
                    int srcX, int srcY, signed char keySel);
// Gives the surface a source colour key of one palette index.
HRESULT SetSrcColorKey(LPDIRECTDRAWSURFACE surface, DWORD index);
