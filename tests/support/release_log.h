// Stand-ins for the display objects that write each Release into a shared
// log before passing it on to the real object, so that a test can see which
// objects a teardown released, and in what order. Every other call goes
// straight to the real object.
#pragma once

#include "tests/support/forwarding_surface.h"

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
class LoggedSurface final : public ForwardingSurface {
  public:
    LoggedSurface(std::string name, LPDIRECTDRAWSURFACE inner, ReleaseLog *log)
        : ForwardingSurface(inner), name_(std::move(name)), log_(log) {}

    ULONG STDMETHODCALLTYPE Release() override {
        log_->push_back(name_);
        return inner_->Release();
    }

  private:
    std::string name_;
    ReleaseLog *log_;
};

} // namespace testsupport
