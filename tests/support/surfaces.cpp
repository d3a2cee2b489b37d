#include "tests/support/surfaces.h"

#include "tests/support/surface_rows.h"

#include <cstring>
#include <gtest/gtest.h>

namespace testsupport {

bool Pixels::RowEquals(int y, int x0, const std::vector<uint8_t> &expected) const {
    return std::memcmp(&bytes[static_cast<size_t>(y) * width + x0], expected.data(),
                       expected.size()) == 0;
}

Pixels ReadSurface(LPDIRECTDRAWSURFACE surface) {
    Pixels p;
    const HRESULT locked = ForEachRow(surface, DDLOCK_READONLY, [&](BYTE *row, int y, int width) {
        p.width = width;
        p.height = y + 1;
        p.bytes.insert(p.bytes.end(), row, row + width);
    });
    if (locked != DD_OK)
        ADD_FAILURE() << "Lock failed";
    return p;
}

void WriteSurface(LPDIRECTDRAWSURFACE surface, const std::function<uint8_t(int, int)> &value) {
    EXPECT_EQ(ForEachRow(surface, 0,
                         [&](BYTE *row, int y, int width) {
                             for (int x = 0; x < width; ++x)
                                 row[x] = value(x, y);
                         }),
              DD_OK);
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
