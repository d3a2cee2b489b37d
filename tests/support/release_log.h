// Stand-ins for the display objects that write each Release into a shared
// log before passing it on to the real object, so that a test can see which
// objects a teardown released, and in what order. Every other call goes
// straight to the real object.
#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

namespace testsupport {

using ReleaseLog = std::vector<std::string>;

class LoggedDirectDraw final : public IDirectDraw {
  public:
    LoggedDirectDraw(std::string name, LPDIRECTDRAW inner, ReleaseLog *log)
        : name_(std::move(name)), inner_(inner), log_(log) {}
    ~LoggedDirectDraw() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        return inner_->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return inner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override {
        log_->push_back(name_);
        return inner_->Release();
    }
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD a, LPPALETTEENTRY b, LPDIRECTDRAWPALETTE *c,
                                            IUnknown *d) override {
        return inner_->CreatePalette(a, b, c, d);
    }
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC a, LPDIRECTDRAWSURFACE *b,
                                            IUnknown *c) override {
        return inner_->CreateSurface(a, b, c);
    }
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND a, DWORD b) override {
        return inner_->SetCooperativeLevel(a, b);
    }
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD a, DWORD b, DWORD c) override {
        return inner_->SetDisplayMode(a, b, c);
    }

  private:
    std::string name_;
    LPDIRECTDRAW inner_;
    ReleaseLog *log_;
};

class LoggedPalette final : public IDirectDrawPalette {
  public:
    LoggedPalette(std::string name, LPDIRECTDRAWPALETTE inner, ReleaseLog *log)
        : name_(std::move(name)), inner_(inner), log_(log) {}
    ~LoggedPalette() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        return inner_->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return inner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override {
        log_->push_back(name_);
        return inner_->Release();
    }
    HRESULT STDMETHODCALLTYPE GetCaps(LPDWORD a) override { return inner_->GetCaps(a); }
    HRESULT STDMETHODCALLTYPE GetEntries(DWORD a, DWORD b, DWORD c, LPPALETTEENTRY d) override {
        return inner_->GetEntries(a, b, c, d);
    }
    HRESULT STDMETHODCALLTYPE SetEntries(DWORD a, DWORD b, DWORD c, LPPALETTEENTRY d) override {
        return inner_->SetEntries(a, b, c, d);
    }

  private:
    std::string name_;
    LPDIRECTDRAWPALETTE inner_;
    ReleaseLog *log_;
};

// Only for watching releases: surfaces handed to its calls as arguments
// must be real ones.
class LoggedSurface final : public IDirectDrawSurface {
  public:
    LoggedSurface(std::string name, LPDIRECTDRAWSURFACE inner, ReleaseLog *log)
        : name_(std::move(name)), inner_(inner), log_(log) {}
    ~LoggedSurface() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        return inner_->QueryInterface(riid, ppv);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return inner_->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override {
        log_->push_back(name_);
        return inner_->Release();
    }
    HRESULT STDMETHODCALLTYPE Blt(LPRECT a, LPDIRECTDRAWSURFACE b, LPRECT c, DWORD d,
                                  LPDDBLTFX e) override {
        return inner_->Blt(a, b, c, d, e);
    }
    HRESULT STDMETHODCALLTYPE BltFast(DWORD a, DWORD b, LPDIRECTDRAWSURFACE c, LPRECT d,
                                      DWORD e) override {
        return inner_->BltFast(a, b, c, d, e);
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
    std::string name_;
    LPDIRECTDRAWSURFACE inner_;
    ReleaseLog *log_;
};

} // namespace testsupport
