// PicBox: a picture on a background. The picture is drawn through the painter the picture library
// installs; the mouse passes through to the form, so a form that drags anywhere drags here too.
#include <memory>
#include <vector>

#include "forms/callback_guard.h"
#include "forms/component.h"
#include "forms/gdi_owners.h"
#include "forms/operations.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

constexpr const wchar_t* kPicBoxClass = L"YjPicBox";
PictureService gPictures{};

// The decoded form of the box's picture, released through the service that made it.
struct DecodedRelease {
  void operator()(void* decoded) const {
    if (decoded && gPictures.release) gPictures.release(decoded);
  }
};
using DecodedPicturePtr = std::unique_ptr<void, DecodedRelease>;

constexpr PropertyRow kProperties[] = {
    {"border", ValueKind::kChoice, true, 0, 5},
    {"backColor", ValueKind::kBackColour},
    {"picture", ValueKind::kPicture},
    {"displayMode", ValueKind::kChoice, true, 0, 4},
    {"option12", ValueKind::kTruth},
};

LRESULT CALLBACK PicBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class PicBox final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    static const bool registered = [] {
      WNDCLASSEXW windowClass{};
      windowClass.cbSize = sizeof windowClass;
      windowClass.lpfnWndProc = PicBoxProcedure;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      windowClass.lpszClassName = kPicBoxClass;
      return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) return false;
    return CreateControl(place, border_ ? WS_EX_CLIENTEDGE : 0, kPicBoxClass, "", 0) != nullptr;
  }

  RawValue Read(int k) const override {
    switch (k + kFirstOwnProperty) {
      case kPicBoxBorder: return NumberValue(border_);
      case kPicBoxBackColor: return NumberValue(backColor_);
      case kPicBoxPicture: { RawValue v; v.bytes = picture_; return v; }
      case kPicBoxDisplayMode: return NumberValue(displayMode_);
      default: return NumberValue(option12_);
    }
  }

  WriteOutcome Write(int k, const RawValue& value) override {
    switch (k + kFirstOwnProperty) {
      case kPicBoxBorder:
        border_ = static_cast<std::int32_t>(value.number);
        return control_ ? WriteOutcome::kRecreate : WriteOutcome::kApplied;
      case kPicBoxBackColor: backColor_ = static_cast<COLORREF>(value.number); break;
      case kPicBoxPicture:
        picture_ = value.bytes;
        decoded_.reset(picture_.empty() || !gPictures.decode
                           ? nullptr
                           : gPictures.decode(picture_.data(), picture_.size()));
        break;
      case kPicBoxDisplayMode: displayMode_ = static_cast<std::int32_t>(value.number); break;
      default: option12_ = value.number ? 1 : 0; break;
    }
    if (control_) InvalidateRect(control_, nullptr, TRUE);
    return WriteOutcome::kApplied;
  }

  void Paint(HDC dc) {
    RECT client{};
    GetClientRect(control_, &client);
    HBRUSH brush = background_.For(backColor_);
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    if (decoded_ && gPictures.paint) gPictures.paint(dc, client, decoded_.get(), displayMode_);
  }

 private:
  std::int32_t border_ = 0;
  COLORREF backColor_ = 0xFF000000u;
  std::vector<std::uint8_t> picture_;
  std::int32_t displayMode_ = 0;
  std::int32_t option12_ = 0;
  ColourBrush background_;
  DecodedPicturePtr decoded_;
};

LRESULT OnPicBoxPaint(HWND window) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (auto* picBox = dynamic_cast<PicBox*>(ComponentOfControl(window))) picBox->Paint(dc);
  EndPaint(window, &paint);
  return 0;
}

LRESULT HandlePicBoxMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return OnPicBoxPaint(window);
    case WM_ERASEBKGND: return 1;
    case WM_NCHITTEST: return HTTRANSPARENT;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK PicBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardedCallback([&] { return HandlePicBoxMessage(window, message, wParam, lParam); });
}

}  // namespace

void SetPictureService(const PictureService& service) { gPictures = service; }

void RegisterPicBoxType() {
  static constexpr ComponentType kType{kTypePicBox, "图片框", "PicBox", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new PicBox); }};
  RegisterComponentType(kType);
}
