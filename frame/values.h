// RAII owners for the platform's values and handles: BSTR, VARIANT, interface pointers,
// kernel handles, GDI objects, device contexts, registry keys and modules.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace frame {

// An owned BSTR. A null BSTR and an empty one mean the same to Automation.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::wstring_view text) : b_(Alloc(text)) {}
  explicit Bstr(const wchar_t* text) : b_(text ? Alloc(text) : nullptr) {}
  Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) reset(std::exchange(other.b_, nullptr));
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }

  static Bstr Attach(BSTR b) { Bstr r; r.b_ = b; return r; }
  BSTR get() const { return b_; }
  BSTR release() { return std::exchange(b_, nullptr); }
  void reset(BSTR b = nullptr) { SysFreeString(std::exchange(b_, b)); }
  // For a BSTR* out parameter: frees what was held and hands out the slot.
  BSTR* out() { reset(); return &b_; }
  UINT length() const { return SysStringLen(b_); }
  std::wstring_view view() const { return {b_ ? b_ : L"", length()}; }

 private:
  static BSTR Alloc(std::wstring_view text) {
    BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!b) throw std::bad_alloc();
    return b;
  }
  BSTR b_ = nullptr;
};

// Allocates a BSTR for an [out] parameter; throws on exhaustion.
inline BSTR AllocBstr(std::wstring_view text) { return Bstr(text).release(); }

// An owned VARIANT, cleared on destruction.
class Variant : public VARIANT {
 public:
  Variant() { VariantInit(this); }
  Variant(const Variant& other) : Variant() { Check(VariantCopy(this, const_cast<Variant*>(&other))); }
  Variant(Variant&& other) noexcept : VARIANT(other) { VariantInit(&other); }
  Variant& operator=(Variant other) noexcept {
    std::swap(static_cast<VARIANT&>(*this), static_cast<VARIANT&>(other));
    return *this;
  }
  ~Variant() { VariantClear(this); }

  static Variant Copy(const VARIANT& v) { Variant r; Check(VariantCopy(&r, const_cast<VARIANT*>(&v))); return r; }
  static Variant Text(std::wstring_view text) { Variant r; r.vt = VT_BSTR; r.bstrVal = AllocBstr(text); return r; }
  static Variant Long(LONG n) { Variant r; r.vt = VT_I4; r.lVal = n; return r; }
  static Variant Int(SHORT n) { Variant r; r.vt = VT_I2; r.iVal = n; return r; }
  static Variant Bool(bool b) { Variant r; r.vt = VT_BOOL; r.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; return r; }
  static Variant Double(double d) { Variant r; r.vt = VT_R8; r.dblVal = d; return r; }
  static Variant Object(IDispatch* d) { Variant r; r.vt = VT_DISPATCH; r.pdispVal = d; if (d) d->AddRef(); return r; }

  void clear() { VariantClear(this); }
  // This value := `src` converted by the standard Automation coercion (the platform's
  // functions take a non-const source even though they only read it).
  HRESULT ChangeTypeFrom(const VARIANT& src, VARTYPE type) {
    return VariantChangeType(this, const_cast<VARIANT*>(&src), 0, type);
  }
  VARIANT release() { VARIANT v = *this; VariantInit(this); return v; }
  // Moves this value into a caller's VARIANT (an [out, retval] slot).
  void DetachTo(VARIANT* out) { *out = release(); }

 private:
  static void Check(HRESULT hr) { if (FAILED(hr)) throw std::bad_alloc(); }
};

// A counted interface pointer.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }
  ~ComPtr() { if (p_) p_->Release(); }

  static ComPtr Attach(T* p) { ComPtr r; r.p_ = p; return r; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** put() { reset(); return &p_; }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  T* detach() { return std::exchange(p_, nullptr); }
  void reset() { if (T* p = std::exchange(p_, nullptr)) p->Release(); }

  template <class U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> r;
    if (p_) p_->QueryInterface(iid, r.put_void());
    return r;
  }

 private:
  T* p_ = nullptr;
};

// Generic owner of a handle closed by one function; the handle value `EmptyBits`
// (0, or -1 for INVALID_HANDLE_VALUE) means "no handle".
template <class H, auto Close, intptr_t EmptyBits = 0>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H h) : h_(h) {}
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Empty())) {}
  Unique& operator=(Unique&& o) noexcept { if (this != &o) reset(std::exchange(o.h_, Empty())); return *this; }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { reset(); }

  H get() const { return h_; }
  explicit operator bool() const { return h_ != Empty() && h_ != H{}; }
  H release() { return std::exchange(h_, Empty()); }
  void reset(H h = Empty()) {
    H old = std::exchange(h_, h);
    if (old != Empty() && old != H{}) Close(old);
  }
  H* put() { reset(); return &h_; }

 private:
  static H Empty() { return reinterpret_cast<H>(EmptyBits); }
  H h_ = Empty();
};

namespace detail {
inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void CloseRegKey(HKEY k) { RegCloseKey(k); }
inline void DeleteGdiObject(HGDIOBJ o) { DeleteObject(o); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void UnloadModule(HMODULE m) { FreeLibrary(m); }
inline void DestroyIconHandle(HICON i) { DestroyIcon(i); }
inline void DestroyWindowHandle(HWND w) { DestroyWindow(w); }
}  // namespace detail

// Kernel handles whose "none" is NULL (threads, events, processes).
using Handle = Unique<HANDLE, detail::CloseKernelHandle>;
// Kernel handles whose "none" is INVALID_HANDLE_VALUE (files, snapshots).
using FileHandle = Unique<HANDLE, detail::CloseKernelHandle, -1>;
using RegKey = Unique<HKEY, detail::CloseRegKey>;
using GdiObject = Unique<HGDIOBJ, detail::DeleteGdiObject>;
using Bitmap = Unique<HBITMAP, detail::DeleteGdiObject>;
using Font = Unique<HFONT, detail::DeleteGdiObject>;
using MemoryDc = Unique<HDC, detail::DeleteMemoryDc>;
using Module = Unique<HMODULE, detail::UnloadModule>;
using Icon = Unique<HICON, detail::DestroyIconHandle>;
using Window = Unique<HWND, detail::DestroyWindowHandle>;

// A window's (or the screen's, for nullptr) device context, released on destruction.
class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { if (dc_) ReleaseDC(w_, dc_); }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND w_;
  HDC dc_;
};

// Selects a GDI object into a DC for the lifetime of this object.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ o) : dc_(dc), old_(SelectObject(dc, o)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { if (old_) SelectObject(dc_, old_); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace frame
