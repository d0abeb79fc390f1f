// A drawing panel's background laid once over its whole client area and kept as a device bitmap,
// with the picture's own device bitmap beside it: clearing the panel is then one copy from it. It is
// laid anew only when what it shows changed (picture, mode, size, colour), and forgotten when the
// display changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "canvas/dc_owners_win.h"
#include "canvas/prepared_picture_win.h"

// Everything the laid background depends on.
struct BackgroundLook {
  int width = 0;
  int height = 0;
  std::int32_t pictureMode = 0;
  COLORREF colour = 0;
  std::uint64_t picture = 0;  // the picture's generation; 0 when the panel has none
  bool operator==(const BackgroundLook&) const = default;
};

class PanelBackground {
 public:
  // Lays the background onto `dc` (a surface of the look's size) with the picture prepared for it;
  // `prepared` is empty when there is no picture or it could not be prepared.
  using Lay = std::function<void(HDC dc, const PreparedPicture& prepared)>;

  // The surface of the bitmap holding the background `look` describes, laid anew with `lay` only
  // when the look differs from the last call's. Null when the system gives no bitmap. `laidAnew`
  // tells whether it was laid now.
  HDC Surface(HDC compatibleWith, const BackgroundLook& look, const DecodedPicture* picture, const Lay& lay,
              bool* laidAnew);

  // The display changed, or the picture is gone: nothing kept is used again.
  void Forget();

 private:
  // Declared so that the selection goes first, then the surface, then the bitmaps.
  std::optional<BackgroundLook> look_;
  std::uint64_t preparedFor_ = 0;
  PreparedPicture prepared_;
  UniqueBitmap bitmap_;
  std::unique_ptr<MemorySurface> surface_;
  std::optional<ScopedSelect> selection_;
};
