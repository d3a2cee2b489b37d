// DirectDrawCreate and IDirectDraw: the exclusive full-screen mode, the
// 8-bit display modes, and the creation of surfaces and palettes.
#include "platform/portable/ddraw/ddraw_objects.h"

#include "platform/portable/ddraw/ddraw_faults.h"

#include "platform/portable/ddraw/ddraw_display.h"
#include "platform/portable/include/win_user.h"

#include <algorithm>
#include <new>

namespace portable {
namespace {

// The one DirectDraw object that holds the display exclusively, if any.
DirectDrawDevice *g_exclusiveOwner = nullptr;

// Largest surface side; beyond it a request is a mistake, not a picture.
constexpr DWORD kMaxSide = 16384;
constexpr DWORD kMaxBackBuffers = 8;

} // namespace

#ifdef ONDULIX_TEST_HOOKS
static size_t g_liveObjects = 0;

LiveObjectCount::LiveObjectCount() {
    ++g_liveObjects;
}
LiveObjectCount::~LiveObjectCount() {
    --g_liveObjects;
}
size_t LiveDirectDrawObjects() {
    return g_liveObjects;
}
#endif

DirectDrawDevice::DirectDrawDevice() = default;

DirectDrawDevice::~DirectDrawDevice() {
    // Ending the object ends its exclusive access and the display mode: the
    // desktop comes back without a call of its own.
    if (g_exclusiveOwner == this) {
        g_exclusiveOwner = nullptr;
        ScreenRelease();
    }
    // Surfaces and palettes still referenced elsewhere stay valid memory but
    // no longer reach the display.
    for (DrawSurface *surface : surfaces_)
        surface->Orphan();
    for (DrawPalette *palette : palettes_)
        palette->Orphan();
}

HRESULT DirectDrawDevice::QueryInterface(REFIID riid, void **ppvObject) {
    return QueryOwnInterface<IDirectDraw>(this, riid, IID_IDirectDraw, ppvObject);
}

ULONG DirectDrawDevice::AddRef() {
    return ++refs_;
}

ULONG DirectDrawDevice::Release() {
    return ReleaseReference(this, refs_);
}

bool DirectDrawDevice::Exclusive() const {
    return g_exclusiveOwner == this;
}

void DirectDrawDevice::Forget(DrawSurface *surface) {
    surfaces_.erase(std::remove(surfaces_.begin(), surfaces_.end(), surface), surfaces_.end());
    if (primary_ == surface)
        primary_ = nullptr;
}

void DirectDrawDevice::Forget(DrawPalette *palette) {
    palettes_.erase(std::remove(palettes_.begin(), palettes_.end(), palette), palettes_.end());
}

HRESULT DirectDrawDevice::SetCooperativeLevel(HWND hWnd, DWORD dwFlags) {
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::SetCooperativeLevel))
        return fault;
    const bool exclusive = (dwFlags & DDSCL_EXCLUSIVE) != 0;
    const bool fullscreen = (dwFlags & DDSCL_FULLSCREEN) != 0;
    const bool normal = (dwFlags & DDSCL_NORMAL) != 0;
    if (exclusive != fullscreen || exclusive == normal)
        return DDERR_INVALIDPARAMS;
    if (exclusive) {
        if (!IsWindow(hWnd))
            return DDERR_INVALIDPARAMS;
        if (g_exclusiveOwner != nullptr && g_exclusiveOwner != this)
            return DDERR_EXCLUSIVEMODEALREADYSET;
        if (!ScreenAcquire(hWnd))
            return DDERR_EXCLUSIVEMODEALREADYSET;
        g_exclusiveOwner = this;
    } else if (g_exclusiveOwner == this) {
        g_exclusiveOwner = nullptr;
        ScreenRelease();
        modeWidth_ = modeHeight_ = 0;
    }
    coopFlags_ = dwFlags;
    window_ = hWnd;
    return DD_OK;
}

HRESULT DirectDrawDevice::SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) {
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::SetDisplayMode))
        return fault;
    // There is no desktop mode to change here: modes exist only while the
    // display is held, and only 8-bit palettized ones are shown.
    if (!Exclusive())
        return DDERR_NOEXCLUSIVEMODE;
    if (dwBPP != 8 || dwWidth == 0 || dwHeight == 0 || dwWidth > 4096 || dwHeight > 4096)
        return DDERR_INVALIDMODE;
    // Surfaces are never lost on this platform, so a primary pins its mode.
    if (primary_ != nullptr && (dwWidth != modeWidth_ || dwHeight != modeHeight_))
        return DDERR_SURFACEBUSY;
    modeWidth_ = dwWidth;
    modeHeight_ = dwHeight;
    ScreenSetMode(static_cast<int>(dwWidth), static_cast<int>(dwHeight));
    return DD_OK;
}

HRESULT DirectDrawDevice::CreatePrimary(const DDSURFACEDESC &desc, LPDIRECTDRAWSURFACE *out) {
    const DWORD caps = desc.ddsCaps.dwCaps;
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT))
        return DDERR_INVALIDPARAMS; // the primary has the display's size
    if (primary_ != nullptr)
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    if (!Exclusive() || modeWidth_ == 0)
        return DDERR_NOEXCLUSIVEMODE; // no desktop surface is shown here

    DWORD backCount = 0;
    if (caps & DDSCAPS_FLIP) {
        if (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
            desc.dwBackBufferCount == 0)
            return DDERR_INVALIDCAPS;
        if (desc.dwBackBufferCount > kMaxBackBuffers)
            return DDERR_INVALIDPARAMS;
        backCount = desc.dwBackBufferCount;
    } else if (desc.dwFlags & DDSD_BACKBUFFERCOUNT) {
        return DDERR_INVALIDCAPS;
    }

    const DWORD frontCaps = caps | DDSCAPS_VISIBLE | (backCount ? DDSCAPS_FRONTBUFFER : 0);
    DrawSurface *primary = new DrawSurface(this, frontCaps, modeWidth_, modeHeight_);
    surfaces_.push_back(primary);
    for (DWORD i = 0; i < backCount; ++i) {
        const DWORD backCaps = DDSCAPS_FLIP | DDSCAPS_COMPLEX | (i == 0 ? DDSCAPS_BACKBUFFER : 0);
        primary->AttachBackBuffer(new DrawSurface(this, backCaps, modeWidth_, modeHeight_));
    }
    primary_ = primary;
    primary->ShowOnScreen();
    *out = primary;
    return DD_OK;
}

HRESULT DirectDrawDevice::CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc,
                                        LPDIRECTDRAWSURFACE *lplpDDSurface, IUnknown *pUnkOuter) {
    if (lplpDDSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    *lplpDDSurface = nullptr;
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::CreateSurface))
        return fault;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (lpDDSurfaceDesc == nullptr || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC))
        return DDERR_INVALIDPARAMS;
    if (coopFlags_ == 0)
        return DDERR_NOCOOPERATIVELEVELSET;
    const DDSURFACEDESC &desc = *lpDDSurfaceDesc;
    if (desc.dwFlags & DDSD_PIXELFORMAT) {
        const DDPIXELFORMAT &pf = desc.ddpfPixelFormat;
        if (!(pf.dwFlags & DDPF_PALETTEINDEXED8) || pf.dwRGBBitCount != 8)
            return DDERR_INVALIDPIXELFORMAT; // only 8-bit palettized surfaces exist here
    }
    const DWORD caps = (desc.dwFlags & DDSD_CAPS) ? desc.ddsCaps.dwCaps : 0;
    try {
        if (caps & DDSCAPS_PRIMARYSURFACE)
            return CreatePrimary(desc, lplpDDSurface);
        if (caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER))
            return DDERR_INVALIDCAPS; // flip chains belong to the primary
        if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
            desc.dwWidth == 0 || desc.dwHeight == 0)
            return DDERR_INVALIDPARAMS;
        if (desc.dwWidth > kMaxSide || desc.dwHeight > kMaxSide)
            return DDERR_OUTOFMEMORY;
        DrawSurface *surface =
            new DrawSurface(this, caps | DDSCAPS_OFFSCREENPLAIN, desc.dwWidth, desc.dwHeight);
        surfaces_.push_back(surface);
        *lplpDDSurface = surface;
        return DD_OK;
    } catch (const std::bad_alloc &) {
        return DDERR_OUTOFMEMORY;
    }
}

HRESULT DirectDrawDevice::CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable,
                                        LPDIRECTDRAWPALETTE *lplpDDPalette, IUnknown *pUnkOuter) {
    if (lplpDDPalette == nullptr)
        return DDERR_INVALIDPARAMS;
    *lplpDDPalette = nullptr;
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::CreatePalette))
        return fault;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (coopFlags_ == 0)
        return DDERR_NOCOOPERATIVELEVELSET;
    const DWORD sizeFlags = dwFlags & (DDPCAPS_1BIT | DDPCAPS_2BIT | DDPCAPS_4BIT | DDPCAPS_8BIT);
    if (sizeFlags == 0 || (sizeFlags & (sizeFlags - 1)) != 0 || lpColorTable == nullptr)
        return DDERR_INVALIDPARAMS; // exactly one size
    if (sizeFlags != DDPCAPS_8BIT)
        return DDERR_UNSUPPORTED; // surfaces here are 8-bit, so are palettes
    try {
        DrawPalette *palette = new DrawPalette(this, dwFlags, lpColorTable);
        palettes_.push_back(palette);
        *lplpDDPalette = palette;
        return DD_OK;
    } catch (const std::bad_alloc &) {
        return DDERR_OUTOFMEMORY;
    }
}

} // namespace portable

HRESULT WINAPI DirectDrawCreate(GUID *lpGUID, LPDIRECTDRAW *lplpDD, IUnknown *pUnkOuter) {
    if (lplpDD == nullptr)
        return DDERR_INVALIDPARAMS;
    *lplpDD = nullptr;
    // Found through its argument's namespace: in the program it is a macro.
    if (const HRESULT fault = TakeDirectDrawFault(portable::DirectDrawCall::Create))
        return fault;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (lpGUID != nullptr)
        return DDERR_INVALIDPARAMS; // only the active display driver exists
    try {
        *lplpDD = new portable::DirectDrawDevice();
        return DD_OK;
    } catch (const std::bad_alloc &) {
        return DDERR_OUTOFMEMORY;
    }
}
