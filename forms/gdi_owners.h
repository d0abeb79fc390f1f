// Move-only owners for the GDI objects the controls keep: fonts and brushes. A stock object may be
// held too; deleting a stock object is a harmless no-op, but the owners never hold one.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

#include "frame/ground/gbk_text_win.h"

template <typename Handle>
class UniqueGdiObject {
 public:
  UniqueGdiObject() = default;
  explicit UniqueGdiObject(Handle handle) : handle_(handle) {}
  UniqueGdiObject(const UniqueGdiObject&) = delete;
  UniqueGdiObject& operator=(const UniqueGdiObject&) = delete;
  UniqueGdiObject(UniqueGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdiObject& operator=(UniqueGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~UniqueGdiObject() { Reset(); }
  Handle Get() const { return handle_; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (Handle old = std::exchange(handle_, handle)) DeleteObject(old);
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;
using UniqueRegion = UniqueGdiObject<HRGN>;

// The font a control shows: the stored logical font, or the system's default GUI font when none is
// stored. The control keeps the created font alive for as long as it uses it.
class ControlFont {
 public:
  void Store(const std::optional<LOGFONTA>& font) { font_ = font; }
  const std::optional<LOGFONTA>& Stored() const { return font_; }
  void Apply(HWND control) {
    HFONT handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    UniqueFont created;
    if (font_) {
      const LOGFONTW wide = WideFont(*font_);
      created.Reset(CreateFontIndirectW(&wide));
      if (created.Get()) handle = created.Get();
    }
    // The old font is deleted only after the control has taken the new one.
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    live_ = std::move(created);
  }

 private:
  std::optional<LOGFONTA> font_;
  UniqueFont live_;
};

// A solid brush for a background colour; the system default (0xFF000000) gives no brush.
class ColourBrush {
 public:
  HBRUSH For(COLORREF colour) {
    if (colour == 0xFF000000u) return nullptr;
    if (!brush_.Get() || colour != colour_) {
      brush_.Reset(CreateSolidBrush(colour));
      colour_ = colour;
    }
    return brush_.Get();
  }

 private:
  UniqueBrush brush_;
  COLORREF colour_ = 0;
};
