// The objects behind the portable DirectDraw interfaces. Pixels are bytes in
// surface memory owned by each surface; a flip chain exchanges the memory of
// its buffers, so the surface pointers keep denoting the visible and the
// hidden buffer.
#pragma once

#include "platform/portable/include/ddraw_api.h"

#include <memory>
#include <vector>

namespace portable {

class DirectDrawDevice;
class DrawSurface;

// COM's QueryInterface for an object that answers to IUnknown and to its
// one interface.
template <typename Interface>
HRESULT QueryOwnInterface(Interface *self, REFIID riid, REFIID own, void **ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == own) {
        self->AddRef();
        *ppvObject = self;
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

// COM's Release: one reference fewer, and the object ends with its last
// one where it may (a back buffer ends with its chain instead). A release
// beyond the last is ignored rather than wrapping the count round.
template <typename Object>
ULONG ReleaseReference(Object *self, ULONG &refs, bool endsWithLastReference = true) {
    if (refs == 0)
        return 0;
    const ULONG left = --refs;
    if (left == 0 && endsWithLastReference)
        delete self;
    return left;
}

// How many DirectDraw objects (devices, surfaces, palettes) exist now, so
// that tests can see what a release really ended. Counted only in the build
// the tests link (ONDULIX_TEST_HOOKS).
size_t LiveDirectDrawObjects();

// Counts the objects of the classes that hold one as a member, in that build;
// elsewhere it is an empty member, leaving no trace in the program.
class LiveObjectCount {
  public:
#ifdef ONDULIX_TEST_HOOKS
    LiveObjectCount();
    ~LiveObjectCount();
#else
    LiveObjectCount() = default;
    ~LiveObjectCount() = default;
#endif
    LiveObjectCount(const LiveObjectCount &) = delete;
    LiveObjectCount &operator=(const LiveObjectCount &) = delete;
};

class DrawPalette final : public IDirectDrawPalette {
  public:
    DrawPalette(DirectDrawDevice *owner, DWORD caps, const PALETTEENTRY *entries);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD lpdwCaps) override;
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries,
                                         LPPALETTEENTRY lpEntries) override;
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                                         LPPALETTEENTRY lpEntries) override;

    const PALETTEENTRY *Entries() const { return entries_; }
    void Orphan() { owner_ = nullptr; }

  private:
    // Ended only through Release.
    template <typename Object> friend ULONG ReleaseReference(Object *, ULONG &, bool);
    ~DrawPalette();

    ULONG refs_ = 1;
    DirectDrawDevice *owner_;
    DWORD caps_;
    PALETTEENTRY entries_[256];
    LiveObjectCount counted_;
};

class DrawSurface final : public IDirectDrawSurface {
  public:
    DrawSurface(DirectDrawDevice *owner, DWORD caps, DWORD width, DWORD height);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE lpDDSrcSurface,
                                  LPRECT lpSrcRect, DWORD dwFlags, LPDDBLTFX lpDDBltFx) override;
    HRESULT STDMETHODCALLTYPE BltFast(DWORD dwX, DWORD dwY, LPDIRECTDRAWSURFACE lpDDSrcSurface,
                                      LPRECT lpSrcRect, DWORD dwTrans) override;
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE lpDDSurfaceTargetOverride,
                                   DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE
    GetAttachedSurface(LPDDSCAPS lpDDSCaps, LPDIRECTDRAWSURFACE *lplpDDAttachedSurface) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS lpDDSCaps) override;
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC *lphDC) override;
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE *lplpDDPalette) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) override;
    HRESULT STDMETHODCALLTYPE Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc,
                                   DWORD dwFlags, HANDLE hEvent) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC hDC) override;
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) override;
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE lpDDPalette) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID lpSurfaceData) override;

    // The primary's flip chain: the back buffers are created with it and end
    // with it.
    void AttachBackBuffer(DrawSurface *back);
    bool IsPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
    void Orphan();
    const DrawPalette *AttachedPalette() const { return palette_; }
    // What the display shows when this is the visible primary.
    void ShowOnScreen() const;

  private:
    // Ended only through Release.
    template <typename Object> friend ULONG ReleaseReference(Object *, ULONG &, bool);
    ~DrawSurface();
    bool Busy() const { return locked_ || dc_ != nullptr; }
    void FillDesc(DDSURFACEDESC *desc) const;
    const PALETTEENTRY *PaletteForDC() const;

    ULONG refs_ = 1;
    DirectDrawDevice *owner_;
    DWORD caps_;
    DWORD width_;
    DWORD height_;
    LONG pitch_;
    std::unique_ptr<BYTE[]> pixels_;
    std::unique_ptr<BYTE[]> scratch_; // one row, for copies within the surface
    bool hasSrcKey_ = false;
    DDCOLORKEY srcKey_{};
    bool hasDestKey_ = false;
    DDCOLORKEY destKey_{};
    bool locked_ = false;
    HDC dc_ = nullptr;
    DrawPalette *palette_ = nullptr;
    DrawSurface *chainRoot_ = nullptr;       // set on back buffers
    std::vector<DrawSurface *> backBuffers_; // set on the primary
    unsigned flips_ = 0;
    LiveObjectCount counted_;
};

class DirectDrawDevice final : public IDirectDraw {
  public:
    DirectDrawDevice();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable,
                                            LPDIRECTDRAWPALETTE *lplpDDPalette,
                                            IUnknown *pUnkOuter) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc,
                                            LPDIRECTDRAWSURFACE *lplpDDSurface,
                                            IUnknown *pUnkOuter) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hWnd, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) override;

    bool Exclusive() const;
    DrawSurface *Primary() const { return primary_; }
    // Bookkeeping of the objects this device created, so that its end can
    // orphan what outlives it.
    void Forget(DrawSurface *surface);
    void Forget(DrawPalette *palette);

  private:
    // Ended only through Release.
    template <typename Object> friend ULONG ReleaseReference(Object *, ULONG &, bool);
    ~DirectDrawDevice();
    HRESULT CreatePrimary(const DDSURFACEDESC &desc, LPDIRECTDRAWSURFACE *out);

    ULONG refs_ = 1;
    DWORD coopFlags_ = 0;
    HWND window_ = nullptr;
    DWORD modeWidth_ = 0;
    DWORD modeHeight_ = 0;
    DrawSurface *primary_ = nullptr;
    std::vector<DrawSurface *> surfaces_;
    std::vector<DrawPalette *> palettes_;
    LiveObjectCount counted_;
};

// Casts an interface pointer handed back by a caller to our object; null for
// anything this implementation did not create.
DrawSurface *AsDrawSurface(IDirectDrawSurface *surface);
DrawPalette *AsDrawPalette(IDirectDrawPalette *palette);

} // namespace portable
