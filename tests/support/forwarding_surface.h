// A surface that passes every call on to a real one: the base of the test
// doubles that watch one kind of call and leave the rest to the real
// portable DirectDraw.
#pragma once

#include "platform/platform.h"

namespace testsupport {

class ForwardingSurface : public IDirectDrawSurface {
  public:
    explicit ForwardingSurface(LPDIRECTDRAWSURFACE inner) : inner_(inner) {}
    virtual ~ForwardingSurface() = default;

    HRESULT STDMETHODCALLTYPE BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE src, LPRECT rect,
                                      DWORD flags) override {
        return inner_->BltFast(x, y, src, rect, flags);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        return inner_->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return inner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return inner_->Release(); }
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

  protected:
    LPDIRECTDRAWSURFACE inner_;
};

} // namespace testsupport
