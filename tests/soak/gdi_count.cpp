#include "gdi_count.h"

#include <set>

#include <windows.h>

// mingw-w64 declares the GDI functions dllimport, so every call loads its
// target from the import pointer __imp_<name>. Linked with
// -Wl,--wrap=__imp_<name>, those loads read __wrap___imp_<name> instead,
// which points at a counting function here; __real___imp_<name> is the
// original import pointer. (A plain --wrap=<name> never fires: nobody calls
// the undecorated symbol.)

namespace {

std::set<HGDIOBJ> live;
std::size_t highest = 0;
std::size_t creatorCalls = 0;

template <typename Handle>
Handle counted(Handle made) {
    ++creatorCalls;
    if (made != nullptr) {
        live.insert(made);
        if (live.size() > highest) {
            highest = live.size();
        }
    }
    return made;
}

} // namespace

extern "C" {
extern decltype(&CreateFontW) __real___imp_CreateFontW;
extern decltype(&CreateFontIndirectW) __real___imp_CreateFontIndirectW;
extern decltype(&CreateSolidBrush) __real___imp_CreateSolidBrush;
extern decltype(&CreateBrushIndirect) __real___imp_CreateBrushIndirect;
extern decltype(&CreatePen) __real___imp_CreatePen;
extern decltype(&DeleteObject) __real___imp_DeleteObject;
}

namespace {

HFONT WINAPI countedCreateFontW(int height, int width, int escapement, int orientation, int weight,
                                DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                                DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                                DWORD pitchAndFamily, LPCWSTR face) {
    return counted(__real___imp_CreateFontW(height, width, escapement, orientation, weight, italic,
                                            underline, strikeOut, charSet, outPrecision,
                                            clipPrecision, quality, pitchAndFamily, face));
}

HFONT WINAPI countedCreateFontIndirectW(const LOGFONTW* font) {
    return counted(__real___imp_CreateFontIndirectW(font));
}

HBRUSH WINAPI countedCreateSolidBrush(COLORREF colour) {
    return counted(__real___imp_CreateSolidBrush(colour));
}

HBRUSH WINAPI countedCreateBrushIndirect(const LOGBRUSH* brush) {
    return counted(__real___imp_CreateBrushIndirect(brush));
}

HPEN WINAPI countedCreatePen(int style, int width, COLORREF colour) {
    return counted(__real___imp_CreatePen(style, width, colour));
}

// Only objects that were counted leave the count: a picture handed to the
// clipboard and deleted by a test helper was never in it.
BOOL WINAPI countedDeleteObject(HGDIOBJ object) {
    const BOOL deleted = __real___imp_DeleteObject(object);
    if (deleted) {
        live.erase(object);
    }
    return deleted;
}

} // namespace

extern "C" {
decltype(&CreateFontW) __wrap___imp_CreateFontW = countedCreateFontW;
decltype(&CreateFontIndirectW) __wrap___imp_CreateFontIndirectW = countedCreateFontIndirectW;
decltype(&CreateSolidBrush) __wrap___imp_CreateSolidBrush = countedCreateSolidBrush;
decltype(&CreateBrushIndirect) __wrap___imp_CreateBrushIndirect = countedCreateBrushIndirect;
decltype(&CreatePen) __wrap___imp_CreatePen = countedCreatePen;
decltype(&DeleteObject) __wrap___imp_DeleteObject = countedDeleteObject;
}

std::size_t liveGdiObjects() {
    return live.size();
}

std::size_t highestLiveGdiObjects() {
    return highest;
}

std::size_t gdiCreatorCalls() {
    return creatorCalls;
}
