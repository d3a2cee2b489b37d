// IDirectDrawSurface: 8-bit surfaces in memory, colour fills, fast copies
// with colour keys, the flip chain, locks and drawing contexts.
#include "platform/portable/ddraw/ddraw_objects.h"

#include "platform/portable/ddraw/ddraw_faults.h"

#include "platform/portable/gdi/gdi_objects.h"
#include "platform/portable/ddraw/ddraw_pixel_ops.h"
#include "platform/portable/ddraw/ddraw_display.h"

#include <algorithm>
#include <cstring>

namespace portable {
namespace {

// Rows start on 4-byte boundaries, as DIB rows and most display memory do.
LONG PitchFor(DWORD width) {
    return static_cast<LONG>((width + 3u) & ~3u);
}

// A rectangle lies inside a width x height surface: 0 <= left <= right <=
// width, and the same vertically. An empty rectangle is inside.
bool RectInside(const RECT &r, DWORD width, DWORD height) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom &&
           static_cast<DWORD>(r.right) <= width && static_cast<DWORD>(r.bottom) <= height;
}

} // namespace

DrawSurface *AsDrawSurface(IDirectDrawSurface *surface) {
    // Every surface on this platform is one of ours.
    return static_cast<DrawSurface *>(surface);
}

DrawSurface::DrawSurface(DirectDrawDevice *owner, DWORD caps, DWORD width, DWORD height)
    : owner_(owner), caps_(caps), width_(width), height_(height), pitch_(PitchFor(width)),
      pixels_(new BYTE[static_cast<size_t>(PitchFor(width)) * height]()) {}

DrawSurface::~DrawSurface() {
    if (dc_ != nullptr)
        DeleteSurfaceDC(dc_);
    if (palette_ != nullptr)
        palette_->Release();
    for (DrawSurface *back : backBuffers_)
        delete back;
    if (owner_ != nullptr && chainRoot_ == nullptr)
        owner_->Forget(this);
}

void DrawSurface::Orphan() {
    owner_ = nullptr;
    for (DrawSurface *back : backBuffers_)
        back->owner_ = nullptr;
}

HRESULT DrawSurface::QueryInterface(REFIID riid, void **ppvObject) {
    return QueryOwnInterface<IDirectDrawSurface>(this, riid, IID_IDirectDrawSurface, ppvObject);
}

ULONG DrawSurface::AddRef() {
    return ++refs_;
}

ULONG DrawSurface::Release() {
    // A back buffer lives exactly as long as its chain: only the release of
    // the primary ends it.
    return ReleaseReference(this, refs_, chainRoot_ == nullptr);
}

void DrawSurface::AttachBackBuffer(DrawSurface *back) {
    back->chainRoot_ = this;
    back->refs_ = 0; // held by the chain; GetAttachedSurface adds references
    backBuffers_.push_back(back);
}

HRESULT DrawSurface::Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect,
                         DWORD dwFlags, LPDDBLTFX lpDDBltFx) {
    // This platform's blitter does colour fills; copies go through BltFast.
    if (!(dwFlags & DDBLT_COLORFILL))
        return DDERR_UNSUPPORTED;
    if (lpDDBltFx == nullptr || lpDDSrcSurface != nullptr || lpSrcRect != nullptr)
        return DDERR_INVALIDPARAMS;
    if (Busy())
        return DDERR_SURFACEBUSY;
    RECT r = {0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    if (lpDestRect != nullptr) {
        r = *lpDestRect;
        if (!RectInside(r, width_, height_))
            return DDERR_INVALIDRECT;
    }
    // On an 8-bit surface the fill colour is a palette index: its low byte.
    FillRows(pixels_.get() + static_cast<ptrdiff_t>(r.top) * pitch_ + r.left, pitch_,
             static_cast<size_t>(r.right - r.left), static_cast<size_t>(r.bottom - r.top),
             static_cast<BYTE>(lpDDBltFx->dwFillColor));
    return DD_OK;
}

HRESULT DrawSurface::BltFast(DWORD dwX, DWORD dwY, LPDIRECTDRAWSURFACE lpDDSrcSurface,
                             LPRECT lpSrcRect, DWORD dwTrans) {
    if (lpDDSrcSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    const DWORD keyFlags = dwTrans & (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY);
    if (keyFlags == (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY))
        return DDERR_INVALIDPARAMS;
    DrawSurface *src = AsDrawSurface(lpDDSrcSurface);
    if (Busy() || src->Busy())
        return DDERR_SURFACEBUSY;

    RECT r = {0, 0, static_cast<LONG>(src->width_), static_cast<LONG>(src->height_)};
    if (lpSrcRect != nullptr)
        r = *lpSrcRect;
    // BltFast does not clip: a source rectangle outside its surface, or a
    // copy that would land outside this one, is refused whole.
    if (!RectInside(r, src->width_, src->height_))
        return DDERR_INVALIDRECT;
    const DWORD w = static_cast<DWORD>(r.right - r.left);
    const DWORD h = static_cast<DWORD>(r.bottom - r.top);
    if (w == 0 || h == 0)
        return DD_OK;
    if (dwX > width_ || w > width_ - dwX || dwY > height_ || h > height_ - dwY)
        return DDERR_INVALIDRECT;

    const BYTE *from = src->pixels_.get() + static_cast<ptrdiff_t>(r.top) * src->pitch_ + r.left;
    BYTE *to = pixels_.get() + static_cast<ptrdiff_t>(dwY) * pitch_ + dwX;
    // A surface copied onto itself goes row by row through a scratch row, and
    // from the bottom up when the copy moves down, so no pixel is read after
    // it was written.
    const bool self = src == this;
    const bool bottomUp = self && dwY > static_cast<DWORD>(r.top);
    if (self && !scratch_)
        scratch_.reset(new BYTE[width_]);
    const bool srcKey = keyFlags == DDBLTFAST_SRCCOLORKEY && src->hasSrcKey_;
    const bool destKey = keyFlags == DDBLTFAST_DESTCOLORKEY && hasDestKey_;
    for (DWORD i = 0; i < h; ++i) {
        const DWORD row = bottomUp ? h - 1 - i : i;
        const BYTE *s = from + static_cast<ptrdiff_t>(row) * src->pitch_;
        BYTE *d = to + static_cast<ptrdiff_t>(row) * pitch_;
        if (self) {
            std::memcpy(scratch_.get(), s, w);
            s = scratch_.get();
        }
        if (srcKey)
            CopyRowSrcKeyed(d, s, w, static_cast<BYTE>(src->srcKey_.dwColorSpaceLowValue),
                            static_cast<BYTE>(src->srcKey_.dwColorSpaceHighValue));
        else if (destKey)
            CopyRowDestKeyed(d, s, w, static_cast<BYTE>(destKey_.dwColorSpaceLowValue),
                             static_cast<BYTE>(destKey_.dwColorSpaceHighValue));
        else
            CopyRow(d, s, w);
    }
    return DD_OK;
}

HRESULT DrawSurface::Flip(LPDIRECTDRAWSURFACE lpDDSurfaceTargetOverride, DWORD dwFlags) {
    (void)dwFlags; // nothing here is ever busy, so there is nothing to wait for
    if (backBuffers_.empty())
        return DDERR_NOTFLIPPABLE;
    if (lpDDSurfaceTargetOverride != nullptr &&
        AsDrawSurface(lpDDSurfaceTargetOverride) != backBuffers_.front())
        return DDERR_INVALIDPARAMS;
    if (Busy())
        return DDERR_SURFACEBUSY;
    for (DrawSurface *back : backBuffers_)
        if (back->Busy())
            return DDERR_SURFACEBUSY;
    // The chain rotates its memory: the first back buffer's becomes visible,
    // the visible one's goes to the end of the chain.
    std::unique_ptr<BYTE[]> shown = std::move(pixels_);
    pixels_ = std::move(backBuffers_.front()->pixels_);
    for (size_t i = 0; i + 1 < backBuffers_.size(); ++i)
        backBuffers_[i]->pixels_ = std::move(backBuffers_[i + 1]->pixels_);
    backBuffers_.back()->pixels_ = std::move(shown);
    ++flips_;
    ShowOnScreen();
    return DD_OK;
}

void DrawSurface::ShowOnScreen() const {
    if (!IsPrimary() || owner_ == nullptr || !owner_->Exclusive())
        return;
    static const PALETTEENTRY kBlack[256] = {};
    ScreenFrame frame{pixels_.get(),
                      pitch_,
                      static_cast<int>(width_),
                      static_cast<int>(height_),
                      palette_ != nullptr ? palette_->Entries() : kBlack,
                      flips_};
    ScreenShow(frame);
}

HRESULT DrawSurface::GetAttachedSurface(LPDDSCAPS lpDDSCaps,
                                        LPDIRECTDRAWSURFACE *lplpDDAttachedSurface) {
    if (lpDDSCaps == nullptr || lplpDDAttachedSurface == nullptr)
        return DDERR_INVALIDPARAMS;
    *lplpDDAttachedSurface = nullptr;
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::GetAttachedSurface))
        return fault;
    // The next surface in the chain is the one attached to this one.
    DrawSurface *next = nullptr;
    if (!backBuffers_.empty()) {
        next = backBuffers_.front();
    } else if (chainRoot_ != nullptr) {
        auto &chain = chainRoot_->backBuffers_;
        auto it = std::find(chain.begin(), chain.end(), this);
        next = (it + 1 != chain.end()) ? *(it + 1) : chainRoot_;
    }
    if (next == nullptr || (next->caps_ & lpDDSCaps->dwCaps) != lpDDSCaps->dwCaps)
        return DDERR_NOTFOUND;
    next->AddRef();
    *lplpDDAttachedSurface = next;
    return DD_OK;
}

HRESULT DrawSurface::GetCaps(LPDDSCAPS lpDDSCaps) {
    if (lpDDSCaps == nullptr)
        return DDERR_INVALIDPARAMS;
    lpDDSCaps->dwCaps = caps_;
    return DD_OK;
}

HRESULT DrawSurface::SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) {
    const DWORD which =
        dwFlags & (DDCKEY_SRCBLT | DDCKEY_DESTBLT | DDCKEY_SRCOVERLAY | DDCKEY_DESTOVERLAY);
    if (which != DDCKEY_SRCBLT && which != DDCKEY_DESTBLT)
        return DDERR_INVALIDPARAMS; // exactly one key, and no overlays here
    bool &has = which == DDCKEY_SRCBLT ? hasSrcKey_ : hasDestKey_;
    DDCOLORKEY &key = which == DDCKEY_SRCBLT ? srcKey_ : destKey_;
    if (lpDDColorKey == nullptr) { // no key: remove it
        has = false;
        return DD_OK;
    }
    key = *lpDDColorKey;
    if (!(dwFlags & DDCKEY_COLORSPACE))
        key.dwColorSpaceHighValue = key.dwColorSpaceLowValue; // one value, not a range
    has = true;
    return DD_OK;
}

HRESULT DrawSurface::GetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) {
    if (lpDDColorKey == nullptr || (dwFlags != DDCKEY_SRCBLT && dwFlags != DDCKEY_DESTBLT))
        return DDERR_INVALIDPARAMS;
    const bool has = dwFlags == DDCKEY_SRCBLT ? hasSrcKey_ : hasDestKey_;
    if (!has)
        return DDERR_NOCOLORKEY;
    *lpDDColorKey = dwFlags == DDCKEY_SRCBLT ? srcKey_ : destKey_;
    return DD_OK;
}

const PALETTEENTRY *DrawSurface::PaletteForDC() const {
    // A surface without a palette of its own is matched against the one the
    // display shows.
    if (palette_ != nullptr)
        return palette_->Entries();
    const DrawSurface *primary = owner_ != nullptr ? owner_->Primary() : nullptr;
    if (primary != nullptr && primary->palette_ != nullptr)
        return primary->palette_->Entries();
    return nullptr;
}

HRESULT DrawSurface::GetDC(HDC *lphDC) {
    if (lphDC == nullptr)
        return DDERR_INVALIDPARAMS;
    if (dc_ != nullptr)
        return DDERR_DCALREADYCREATED;
    if (locked_)
        return DDERR_SURFACEBUSY;
    HDC dc = CreateSurfaceDC(pixels_.get(), pitch_, static_cast<int>(width_),
                             static_cast<int>(height_), PaletteForDC());
    if (dc == nullptr)
        return DDERR_CANTCREATEDC;
    dc_ = dc;
    *lphDC = dc;
    return DD_OK;
}

HRESULT DrawSurface::ReleaseDC(HDC hDC) {
    if (dc_ == nullptr)
        return DDERR_NODC;
    if (hDC != dc_)
        return DDERR_INVALIDPARAMS;
    DeleteSurfaceDC(dc_);
    dc_ = nullptr;
    return DD_OK;
}

HRESULT DrawSurface::GetPalette(LPDIRECTDRAWPALETTE *lplpDDPalette) {
    if (lplpDDPalette == nullptr)
        return DDERR_INVALIDPARAMS;
    *lplpDDPalette = palette_;
    if (palette_ == nullptr)
        return DDERR_NOPALETTEATTACHED;
    palette_->AddRef();
    return DD_OK;
}

HRESULT DrawSurface::SetPalette(LPDIRECTDRAWPALETTE lpDDPalette) {
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::SetPalette))
        return fault;
    DrawPalette *next = AsDrawPalette(lpDDPalette);
    if (next == palette_)
        return DD_OK;
    if (next != nullptr)
        next->AddRef();
    if (palette_ != nullptr)
        palette_->Release();
    palette_ = next;
    ShowOnScreen(); // the new colours show at once
    return DD_OK;
}

void DrawSurface::FillDesc(DDSURFACEDESC *desc) const {
    const DWORD size = desc->dwSize;
    std::memset(desc, 0, sizeof(*desc));
    desc->dwSize = size;
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = width_;
    desc->dwHeight = height_;
    desc->lPitch = pitch_;
    desc->dwBackBufferCount = static_cast<DWORD>(backBuffers_.size());
    if (!backBuffers_.empty())
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
    if (hasSrcKey_) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = srcKey_;
    }
    desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc->ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    desc->ddpfPixelFormat.dwRGBBitCount = 8;
    desc->ddsCaps.dwCaps = caps_;
}

HRESULT DrawSurface::GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) {
    if (lpDDSurfaceDesc == nullptr || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC))
        return DDERR_INVALIDPARAMS;
    FillDesc(lpDDSurfaceDesc);
    return DD_OK;
}

HRESULT DrawSurface::Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc, DWORD dwFlags,
                          HANDLE hEvent) {
    (void)dwFlags; // read and write access are the same memory here
    (void)hEvent;
    if (lpDDSurfaceDesc == nullptr || lpDDSurfaceDesc->dwSize != sizeof(DDSURFACEDESC))
        return DDERR_INVALIDPARAMS;
    if (Busy())
        return DDERR_SURFACEBUSY;
    RECT r = {0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    if (lpDestRect != nullptr) {
        r = *lpDestRect;
        if (!RectInside(r, width_, height_) || r.left == r.right || r.top == r.bottom)
            return DDERR_INVALIDPARAMS;
    }
    FillDesc(lpDDSurfaceDesc);
    lpDDSurfaceDesc->dwFlags |= DDSD_LPSURFACE;
    lpDDSurfaceDesc->lpSurface = pixels_.get() + static_cast<ptrdiff_t>(r.top) * pitch_ + r.left;
    locked_ = true;
    return DD_OK;
}

HRESULT DrawSurface::Unlock(LPVOID lpSurfaceData) {
    (void)lpSurfaceData; // one lock at a time, so the pointer names nothing new
    if (!locked_)
        return DDERR_NOTLOCKED;
    locked_ = false;
    // A locked and changed primary shows what was written.
    ShowOnScreen();
    return DD_OK;
}

} // namespace portable
