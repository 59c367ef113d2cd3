#pragma once
// Owners of the system's handles. Each wrapper releases its handle once, when
// it goes; nothing else in the program deletes, closes or releases a handle.
#include "widgets/Win.h"

#include <utility>

namespace tv {

// GDI objects the owners below hold now (and memory DCs): a long run watches
// this count, as the system's own (GetGuiResources) is not answered everywhere.
inline long liveGdiObjects = 0;

// Owns one handle; Traits says what "none" is and how to release it.
template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;
    Owned() = default;
    explicit Owned(Handle h) : h_(h) { counted(h_, 1); }
    ~Owned() { reset(); }
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::none())) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::none());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    void reset(Handle h = Traits::none()) {
        if (Traits::valid(h_)) {
            Traits::release(h_);
            counted(h_, -1);
        }
        h_ = h;
        counted(h_, 1);
    }
    // Ownership handed on (to the system, as SetWindowRgn takes a region).
    Handle release() {
        counted(h_, -1);
        return std::exchange(h_, Traits::none());
    }
    Handle get() const { return h_; }
    explicit operator bool() const { return Traits::valid(h_); }

private:
    static void counted(Handle h, long n) {
        if constexpr (Traits::gdi)
            if (Traits::valid(h)) liveGdiObjects += n;
    }
    Handle h_ = Traits::none();
};

// A handle that is none when zero, given back to the system by Release.
template <typename H, auto Release, bool Gdi = false>
struct ZeroIsNone {
    using Handle = H;
    static constexpr bool gdi = Gdi;
    static H none() { return H{}; }
    static bool valid(H h) { return h != H{}; }
    static void release(H h) { Release(h); }
};

using Font = Owned<ZeroIsNone<HFONT, &DeleteObject, true>>;
using Brush = Owned<ZeroIsNone<HBRUSH, &DeleteObject, true>>;
using Pen = Owned<ZeroIsNone<HPEN, &DeleteObject, true>>;
using Bitmap = Owned<ZeroIsNone<HBITMAP, &DeleteObject, true>>;
using Region = Owned<ZeroIsNone<HRGN, &DeleteObject, true>>;

// Files, mappings and the other kernel objects: null and INVALID_HANDLE_VALUE both mean none.
struct KernelTraits {
    using Handle = HANDLE;
    static constexpr bool gdi = false;
    static HANDLE none() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void release(HANDLE h) { CloseHandle(h); }
};
using KernelHandle = Owned<KernelTraits>;

// A folder listing of FindFirstFileW: none is INVALID_HANDLE_VALUE, given back by FindClose.
struct FindTraits : KernelTraits {
    static HANDLE none() { return INVALID_HANDLE_VALUE; }
    static void release(HANDLE h) { FindClose(h); }
};
using FindHandle = Owned<FindTraits>;

using MappedView = Owned<ZeroIsNone<const void*, &UnmapViewOfFile>>;
using RegistryKey = Owned<ZeroIsNone<HKEY, &RegCloseKey>>;
// Memory the system allocated for a result (FormatMessage, CommandLineToArgvW).
template <typename P>
using LocalMemory = Owned<ZeroIsNone<P, &LocalFree>>;
// Global atoms outlive the process unless released.
using GlobalAtom = Owned<ZeroIsNone<ATOM, &GlobalDeleteAtom>>;
using WindowsHook = Owned<ZeroIsNone<HHOOK, &UnhookWindowsHookEx>>;

// A window's device context: of its client area from GetDC, or of the whole
// window, frame included, from GetWindowDC.
class WindowDC {
public:
    explicit WindowDC(HWND w, bool wholeWindow = false) : w_(w), dc_(wholeWindow ? GetWindowDC(w) : GetDC(w)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(w_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND w_;
    HDC dc_;
};

// A memory device context compatible with another one.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {
        if (dc_) ++liveGdiObjects;
    }
    ~MemoryDC() {
        if (dc_) {
            DeleteDC(dc_);
            --liveGdiObjects;
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// BeginPaint and EndPaint of WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) {}
    ~PaintDC() { EndPaint(w_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const RECT& dirty() const { return ps_.rcPaint; }

private:
    HWND w_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a DC for a scope; the previous one is selected back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A solid brush of one colour, created again only when the colour changes.
class SolidBrush {
public:
    HBRUSH get(COLORREF colour) {
        if (!brush_ || colour != colour_) {
            brush_.reset(CreateSolidBrush(colour));
            colour_ = colour;
        }
        return brush_.get();
    }
    HBRUSH current() const { return brush_.get(); }  // the last one made; null before the first

private:
    Brush brush_;
    COLORREF colour_ = 0;
};

// The program's fonts, made once for each face, height and style and all
// released when the program ends. Heights are in pixels.
HFONT cachedFont(const wchar_t* face, int pixelHeight, int weight = FW_NORMAL, bool italic = false,
                 bool underline = false);
// A font of the cache, asked for by its height at 96 DPI, at another density;
// other fonts come back as they are.
HFONT fontAtDpi(HFONT font, int dpi);

}  // namespace tv
