#include "tests/support/surface_rows.h"

#include <cstring>

namespace testsupport {

HRESULT ForEachRow(LPDIRECTDRAWSURFACE surface, DWORD lockFlags,
                   const std::function<void(BYTE *row, int y, int width)> &visit) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    const HRESULT locked = surface->Lock(nullptr, &desc, DDLOCK_WAIT | lockFlags, nullptr);
    if (locked != DD_OK)
        return locked;
    auto *bits = static_cast<BYTE *>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y)
        visit(bits + y * desc.lPitch, static_cast<int>(y), static_cast<int>(desc.dwWidth));
    surface->Unlock(desc.lpSurface);
    return DD_OK;
}

} // namespace testsupport
