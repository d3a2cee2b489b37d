// The table of GDI objects behind the handles of the portable platform.
#include "platform/portable/gdi/gdi_objects.h"

#include <cstring>
#include <map>
#include <memory>
#include <variant>

namespace portable {
namespace {

using GdiObject = std::variant<std::unique_ptr<GdiBitmap>, std::unique_ptr<GdiDC>>;

struct HandleTable {
    // Numbers start high and never repeat, so a stale handle never names a
    // newer object, and no handle collides with the stock objects below.
    uintptr_t next = 0x10000;
    std::map<uintptr_t, GdiObject> objects;
};

HandleTable &Table() {
    static HandleTable table;
    return table;
}

uintptr_t Insert(GdiObject object) {
    HandleTable &t = Table();
    const uintptr_t id = t.next;
    t.next += 4;
    t.objects.emplace(id, std::move(object));
    return id;
}

template <typename T> T *Lookup(const void *handle) {
    auto &objects = Table().objects;
    auto it = objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects.end())
        return nullptr;
    auto *held = std::get_if<std::unique_ptr<T>>(&it->second);
    return held != nullptr ? held->get() : nullptr;
}

} // namespace

HBITMAP CreateDibSection(DibImage &&image) {
    auto bitmap = std::make_unique<GdiBitmap>();
    bitmap->image = std::move(image);
    return reinterpret_cast<HBITMAP>(Insert(std::move(bitmap)));
}

GdiBitmap *LookupBitmap(HGDIOBJ handle) {
    return Lookup<GdiBitmap>(handle);
}

GdiDC *LookupDC(HDC handle) {
    return Lookup<GdiDC>(handle);
}

HDC CreateMemoryDC() {
    return reinterpret_cast<HDC>(Insert(std::make_unique<GdiDC>()));
}

HDC CreateSurfaceDC(BYTE *bits, LONG pitch, int width, int height, const PALETTEENTRY *palette) {
    auto dc = std::make_unique<GdiDC>();
    dc->kind = GdiDC::Kind::Surface;
    dc->bits = bits;
    dc->pitch = pitch;
    dc->width = width;
    dc->height = height;
    // The context keeps the colours it was made with, as a screen context
    // realises its palette once. Without a palette the surface is all black.
    if (palette != nullptr)
        std::memcpy(dc->palette, palette, sizeof(dc->palette));
    return reinterpret_cast<HDC>(Insert(std::move(dc)));
}

bool DestroyGdiObject(const void *handle) {
    return Table().objects.erase(reinterpret_cast<uintptr_t>(handle)) == 1;
}

void DeleteSurfaceDC(HDC dc) {
    GdiDC *context = LookupDC(dc);
    if (context != nullptr && context->kind == GdiDC::Kind::Surface)
        DestroyGdiObject(dc);
}

#ifdef ONDULIX_TEST_HOOKS
size_t LiveGdiObjects() {
    return Table().objects.size();
}
#endif

} // namespace portable
