// A destination surface that remembers every BltFast it is asked for and
// passes each on to a real surface, so a test can check both the call and
// the pixels it produced.
#pragma once

#include "platform/platform.h"

#include <vector>

namespace testsupport {

struct BltFastCall {
    DWORD x;
    DWORD y;
    LPDIRECTDRAWSURFACE src;
    RECT rect;
    DWORD flags;
};

class RecordingSurface final : public IDirectDrawSurface {
  public:
    explicit RecordingSurface(LPDIRECTDRAWSURFACE inner) : inner_(inner) {}
    ~RecordingSurface() = default;

    std::vector<BltFastCall> calls;

    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE src, LPRECT rect,
                                      DWORD flags) override {
        calls.push_back({x, y, src, *rect, flags});
        return inner_->BltFast(x, y, src, rect, flags);
    }

    // Everything else goes straight to the real surface.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        return inner_->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Blt(LPRECT a, LPDIRECTDRAWSURFACE b, LPRECT c, DWORD d,
                                  LPDDBLTFX e) override {
        return inner_->Blt(a, b, c, d, e);
    }
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE a, DWORD b) override {
        return inner_->Flip(a, b);
    }
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS a, LPDIRECTDRAWSURFACE *b) override {
        return inner_->GetAttachedSurface(a, b);
    }
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS a) override { return inner_->GetCaps(a); }
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD a, LPDDCOLORKEY b) override {
        return inner_->GetColorKey(a, b);
    }
    HRESULT STDMETHODCALLTYPE GetDC(HDC *a) override { return inner_->GetDC(a); }
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE *a) override {
        return inner_->GetPalette(a);
    }
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC a) override {
        return inner_->GetSurfaceDesc(a);
    }
    HRESULT STDMETHODCALLTYPE Lock(LPRECT a, LPDDSURFACEDESC b, DWORD c, HANDLE d) override {
        return inner_->Lock(a, b, c, d);
    }
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC a) override { return inner_->ReleaseDC(a); }
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD a, LPDDCOLORKEY b) override {
        return inner_->SetColorKey(a, b);
    }
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE a) override {
        return inner_->SetPalette(a);
    }
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID a) override { return inner_->Unlock(a); }

  private:
    LPDIRECTDRAWSURFACE inner_;
};

} // namespace testsupport
