/* The demo itself, with a record of when each flip happened, for measuring
   start-up and frame pacing under Windows' DirectDraw the same way as on the
   portable platform (platform/portable/ddraw/ddraw_flip_log.h): when ONDULIX_FLIP_LOG
   names a file, every Flip of the primary surface appends the line
   "FLIP NANOSECONDS" before it flips, the time read from
   QueryPerformanceCounter (under Wine, the host's CLOCK_MONOTONIC_RAW).

   The program is linked with --wrap=DirectDrawCreate, so the demo's one call
   of it arrives here. The DirectDraw object it hands back gets a copy of its
   method table in which CreateSurface, for the primary surface only, gives
   that surface a copy of its own table in which Flip is timed. Every other
   call goes to DirectDraw untouched. */
#define CINTERFACE
#include <windows.h>
#include <ddraw.h>

#include <stdio.h>
#include <stdlib.h>

HRESULT WINAPI __real_DirectDrawCreate(GUID *guid, LPDIRECTDRAW *out, IUnknown *outer);
HRESULT WINAPI __wrap_DirectDrawCreate(GUID *guid, LPDIRECTDRAW *out, IUnknown *outer);

static IDirectDrawVtbl g_timedDirectDraw;
static IDirectDrawSurfaceVtbl g_timedPrimary;
static HRESULT(WINAPI *g_createSurface)(IDirectDraw *, LPDDSURFACEDESC, LPDIRECTDRAWSURFACE *,
                                        IUnknown *);
static HRESULT(WINAPI *g_flip)(IDirectDrawSurface *, LPDIRECTDRAWSURFACE, DWORD);

static FILE *g_log;
static unsigned g_flips;

static void RecordFlip(void) {
    LARGE_INTEGER now, frequency;
    unsigned long long ns;
    if (g_flips == 0) {
        const char *path = getenv("ONDULIX_FLIP_LOG");
        if (path != NULL && path[0] != '\0')
            g_log = fopen(path, "w");
    }
    ++g_flips;
    if (g_log == NULL)
        return;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    ns = (unsigned long long)(now.QuadPart / frequency.QuadPart) * 1000000000ull +
         (unsigned long long)(now.QuadPart % frequency.QuadPart) * 1000000000ull /
             (unsigned long long)frequency.QuadPart;
    fprintf(g_log, "%u %llu\n", g_flips, ns);
    fflush(g_log);
}

static HRESULT WINAPI TimedFlip(IDirectDrawSurface *self, LPDIRECTDRAWSURFACE target, DWORD flags) {
    RecordFlip();
    return g_flip(self, target, flags);
}

static HRESULT WINAPI CreateSurfaceTimingPrimary(IDirectDraw *self, LPDDSURFACEDESC desc,
                                                 LPDIRECTDRAWSURFACE *out, IUnknown *outer) {
    const HRESULT result = g_createSurface(self, desc, out, outer);
    if (result == DD_OK && (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)) {
        g_timedPrimary = *(*out)->lpVtbl;
        g_flip = g_timedPrimary.Flip;
        g_timedPrimary.Flip = TimedFlip;
        (*out)->lpVtbl = &g_timedPrimary;
    }
    return result;
}

HRESULT WINAPI __wrap_DirectDrawCreate(GUID *guid, LPDIRECTDRAW *out, IUnknown *outer) {
    const HRESULT result = __real_DirectDrawCreate(guid, out, outer);
    if (result == DD_OK) {
        g_timedDirectDraw = *(*out)->lpVtbl;
        g_createSurface = g_timedDirectDraw.CreateSurface;
        g_timedDirectDraw.CreateSurface = CreateSurfaceTimingPrimary;
        (*out)->lpVtbl = &g_timedDirectDraw;
    }
    return result;
}
