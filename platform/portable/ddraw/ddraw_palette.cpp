// IDirectDrawPalette: 256 colour entries, shown at once when the palette is
// the one attached to the visible primary surface.
#include "platform/portable/ddraw/ddraw_objects.h"

#include "platform/portable/ddraw/ddraw_faults.h"

#include <cstring>

namespace portable {

DrawPalette *AsDrawPalette(IDirectDrawPalette *palette) {
    // Every palette on this platform is one of ours.
    return static_cast<DrawPalette *>(palette);
}

DrawPalette::DrawPalette(DirectDrawDevice *owner, DWORD caps, const PALETTEENTRY *entries)
    : owner_(owner), caps_(caps) {
    std::memcpy(entries_, entries, sizeof(entries_));
}

DrawPalette::~DrawPalette() {
    if (owner_ != nullptr)
        owner_->Forget(this);
}

HRESULT DrawPalette::QueryInterface(REFIID riid, void **ppvObject) {
    return QueryOwnInterface<IDirectDrawPalette>(this, riid, IID_IDirectDrawPalette, ppvObject);
}

ULONG DrawPalette::AddRef() {
    return ++refs_;
}

ULONG DrawPalette::Release() {
    return ReleaseReference(this, refs_);
}

HRESULT DrawPalette::GetCaps(LPDWORD lpdwCaps) {
    if (lpdwCaps == nullptr)
        return DDERR_INVALIDPARAMS;
    *lpdwCaps = caps_;
    return DD_OK;
}

HRESULT DrawPalette::GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries,
                                LPPALETTEENTRY lpEntries) {
    if (dwFlags != 0 || lpEntries == nullptr || dwBase > 256 || dwNumEntries > 256 - dwBase)
        return DDERR_INVALIDPARAMS;
    std::memcpy(lpEntries, entries_ + dwBase, dwNumEntries * sizeof(PALETTEENTRY));
    return DD_OK;
}

HRESULT DrawPalette::SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                                LPPALETTEENTRY lpEntries) {
    if (const HRESULT fault = TakeDirectDrawFault(DirectDrawCall::SetEntries))
        return fault;
    if (dwFlags != 0 || lpEntries == nullptr || dwStartingEntry > 256 ||
        dwCount > 256 - dwStartingEntry)
        return DDERR_INVALIDPARAMS;
    // Every entry takes the table's colours, 0 and 255 included: this
    // platform keeps no entries for the system.
    std::memcpy(entries_ + dwStartingEntry, lpEntries, dwCount * sizeof(PALETTEENTRY));
    // When this palette colours the display, the change shows at once.
    const DrawSurface *primary = owner_ != nullptr ? owner_->Primary() : nullptr;
    if (primary != nullptr && primary->AttachedPalette() == this)
        primary->ShowOnScreen();
    return DD_OK;
}

} // namespace portable
