#include "tests/support/surfaces.h"

#include <cstring>
#include <gtest/gtest.h>

namespace testsupport {

bool Pixels::RowEquals(int y, int x0, const std::vector<uint8_t> &expected) const {
    return std::memcmp(&bytes[static_cast<size_t>(y) * width + x0], expected.data(),
                       expected.size()) == 0;
}

Pixels ReadSurface(LPDIRECTDRAWSURFACE surface) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    Pixels p;
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) {
        ADD_FAILURE() << "Lock failed";
        return p;
    }
    p.width = static_cast<int>(desc.dwWidth);
    p.height = static_cast<int>(desc.dwHeight);
    p.bytes.resize(static_cast<size_t>(p.width) * p.height);
    const auto *src = static_cast<const uint8_t *>(desc.lpSurface);
    for (int y = 0; y < p.height; ++y)
        std::memcpy(&p.bytes[static_cast<size_t>(y) * p.width], src + y * desc.lPitch,
                    static_cast<size_t>(p.width));
    surface->Unlock(desc.lpSurface);
    return p;
}

void WriteSurface(LPDIRECTDRAWSURFACE surface, const std::function<uint8_t(int, int)> &value) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    auto *dst = static_cast<uint8_t *>(desc.lpSurface);
    for (int y = 0; y < static_cast<int>(desc.dwHeight); ++y)
        for (int x = 0; x < static_cast<int>(desc.dwWidth); ++x)
            dst[y * desc.lPitch + x] = value(x, y);
    surface->Unlock(desc.lpSurface);
}

LPDIRECTDRAWSURFACE CreatePlainSurface(LPDIRECTDRAW dd, DWORD width, DWORD height) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    LPDIRECTDRAWSURFACE surface = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), DD_OK);
    return surface;
}

namespace {

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

TestWindow::TestWindow() {
    static const ATOM kClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TestWindowProc;
        wc.lpszClassName = "ondulix-test";
        return RegisterClassA(&wc);
    }();
    (void)kClass;
    hwnd_ = CreateWindowExA(0, "ondulix-test", "test", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                            nullptr, nullptr);
    EXPECT_NE(hwnd_, nullptr);
}

TestWindow::~TestWindow() {
    DestroyWindow(hwnd_);
}

} // namespace testsupport
