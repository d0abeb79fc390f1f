#include "canvas/panel_background_win.h"

HDC PanelBackground::Surface(HDC compatibleWith, const BackgroundLook& look, const DecodedPicture* picture,
                             const Lay& lay, bool* laidAnew) {
  *laidAnew = false;
  if (look_ && *look_ == look && selection_) return surface_->Get();
  if (!surface_ || !*surface_) {
    selection_.reset();
    surface_ = std::make_unique<MemorySurface>(compatibleWith);
    if (!*surface_) return nullptr;
    // The picture's bitmap was made for the old surface.
    prepared_ = {};
    preparedFor_ = 0;
  }
  // The picture's device bitmap outlives changes of size, mode and colour.
  if (look.picture != preparedFor_) {
    prepared_ = picture ? PreparePicture(surface_->Get(), picture) : PreparedPicture{};
    preparedFor_ = look.picture;
  }
  const bool sameSize = look_ && bitmap_.Get() && look_->width == look.width && look_->height == look.height;
  look_.reset();
  if (!sameSize) {
    selection_.reset();
    bitmap_.Reset(CreateCompatibleBitmap(compatibleWith, look.width, look.height));
    if (!bitmap_.Get()) return nullptr;
    selection_.emplace(surface_->Get(), bitmap_.Get());
  }
  lay(surface_->Get(), prepared_);
  look_ = look;
  *laidAnew = true;
  return surface_->Get();
}

void PanelBackground::Forget() {
  look_.reset();
  selection_.reset();
  surface_.reset();
  bitmap_.Reset();
  prepared_ = {};
  preparedFor_ = 0;
}
