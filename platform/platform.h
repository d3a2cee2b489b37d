// The one header through which the system reaches its platform: Windows'
// own headers on Windows, the portable implementation everywhere else. Both
// give the same names, structures, flags and calls.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ddraw.h>
#include <mmsystem.h>

// 32-bit Windows fixes these structure sizes; the code writes sizeof, and
// this keeps the headers honest.
static_assert(sizeof(void *) != 4 || sizeof(DDSURFACEDESC) == 108, "DDSURFACEDESC is 108 bytes");
static_assert(sizeof(void *) != 4 || sizeof(DDBLTFX) == 100, "DDBLTFX is 100 bytes");
#else
#include "platform/portable/include/win_types.h"
#include "platform/portable/include/win_gdi.h"
#include "platform/portable/include/win_user.h"
#include "platform/portable/include/win_mmsystem.h"
#include "platform/portable/include/ddraw_api.h"
#endif
