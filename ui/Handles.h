// Move-only owners of GDI, USER and kernel handles, one deleter per type.
// Copying is disabled so that a handle is never released twice; a moved-from
// owner holds nothing.
#pragma once

#include <windows.h>

#include <utility>

namespace ui {

template <typename Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Type Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }

    // Gives up ownership without releasing the handle.
    [[nodiscard]] Type Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(Type handle = Traits::Invalid()) noexcept {
        const Type old = std::exchange(handle_, handle);
        if (Traits::IsValid(old)) Traits::Close(old);
    }

private:
    Type handle_ = Traits::Invalid();
};

template <typename T, auto CloseFn> struct NullInvalidTraits {
    using Type = T;
    static constexpr T Invalid() noexcept { return nullptr; }
    static bool IsValid(T handle) noexcept { return handle != nullptr; }
    static void Close(T handle) noexcept { CloseFn(handle); }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static bool IsValid(HANDLE handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) noexcept { CloseHandle(handle); }
};

inline void DeleteGdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }

using UniqueBitmap = UniqueHandle<NullInvalidTraits<HBITMAP, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<NullInvalidTraits<HBRUSH, DeleteGdiObject>>;
using UniquePen = UniqueHandle<NullInvalidTraits<HPEN, DeleteGdiObject>>;
using UniqueFont = UniqueHandle<NullInvalidTraits<HFONT, DeleteGdiObject>>;
using UniqueRegion = UniqueHandle<NullInvalidTraits<HRGN, DeleteGdiObject>>;
using UniqueDC = UniqueHandle<NullInvalidTraits<HDC, DeleteDC>>;
using UniqueIcon = UniqueHandle<NullInvalidTraits<HICON, DestroyIcon>>;
using UniqueMenu = UniqueHandle<NullInvalidTraits<HMENU, DestroyMenu>>;
using UniqueWindow = UniqueHandle<NullInvalidTraits<HWND, DestroyWindow>>;
using UniqueModule = UniqueHandle<NullInvalidTraits<HMODULE, FreeLibrary>>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

// A device context borrowed from a window (GetDC / GetWindowDC), given back with
// ReleaseDC, which needs the window as well as the DC.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for the lifetime of the scope, then puts the old
// one back, so that the object can be deleted afterwards.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace ui
