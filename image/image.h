// The picture file: its colour table into the palette, its picture into a
// surface.
#pragma once

#include "platform/platform.h"

// Reads the 256 colours at bytes 54-1077 of the file into g_PalEntries and
// the display palette. Ends the program with the not-found message when the
// file cannot be opened.
HRESULT LoadBmpPalette(const char *fileName);

// Loads the file as a width x height bitmap and copies it to (x, y) of the
// surface. Ends the program with the not-found message when the file is not
// a loadable bitmap.
void LoadBmpImage(LPDIRECTDRAWSURFACE surface, const char *fileName, int x, int y, int width,
                  int height);
