// The drawing panel as a component type: its property table, its reads and writes, and its
// registration.
#include "canvas/draw_panel_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "canvas/bitmap_export_win.h"
#include "canvas/picture_box_paint_win.h"
#include "canvas/picture_measure_win.h"
#include "forms/operations.h"
#include "canvas/panel_geometry.h"
#include "canvas/picture_layout.h"
#include "canvas/prepared_picture_win.h"
#include "canvas/text_segments.h"
#include "forms/callback_guard.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"
#include "frame/ground/app_frame.h"
#include "canvas/draw_panel_surface_win.h"

using namespace panel_surface;

namespace {

constexpr PropertyRow kProperties[] = {
    {"border", ValueKind::kChoice, true, 0, 5},
    {"backColor", ValueKind::kBackColour},
    {"picture", ValueKind::kPicture},
    {"pictureMode", ValueKind::kChoice, true, 0, 2},
    {"autoRedraw", ValueKind::kTruth},
    {"coordUnit", ValueKind::kChoice, true, 0, 5},
    {"penStyle", ValueKind::kChoice, true, 0, 6},
    {"drawMode", ValueKind::kChoice, true, 0, 15},
    {"penWidth", ValueKind::kInteger, true, 0, 32767},
    {"penColor", ValueKind::kColour},
    {"brushStyle", ValueKind::kChoice, true, 0, 55},
    {"brushColor", ValueKind::kColour},
    {"textColor", ValueKind::kColour},
    {"textBackColor", ValueKind::kColourOrTransparent},
    {"font", ValueKind::kFont},
    {"drawWidth", ValueKind::kInteger},
    {"drawHeight", ValueKind::kInteger},
};
static_assert(std::size(kProperties) == kDrawPanelDrawHeight - kFirstOwnProperty + 1);

}  // namespace

RawValue DrawPanel::Read(int k) const {
  const DrawPanelProperties& p = properties_;
  switch (k + kFirstOwnProperty) {
    case kDrawPanelBorder: return NumberValue(p.border);
    case kDrawPanelBackColor: return NumberValue(p.backColor);
    case kDrawPanelPicture: {
      RawValue value;
      value.bytes = p.picture;
      return value;
    }
    case kDrawPanelPictureMode: return NumberValue(p.pictureMode);
    case kDrawPanelAutoRedraw: return NumberValue(p.autoRedraw);
    case kDrawPanelCoordUnit: return NumberValue(p.coordUnit);
    case kDrawPanelPenStyle: return NumberValue(p.penStyle);
    case kDrawPanelDrawMode: return NumberValue(p.drawMode);
    case kDrawPanelPenWidth: return NumberValue(p.penWidth);
    case kDrawPanelPenColor: return NumberValue(p.penColor);
    case kDrawPanelBrushStyle: return NumberValue(p.brushStyle);
    case kDrawPanelBrushColor: return NumberValue(p.brushColor);
    case kDrawPanelTextColor: return NumberValue(p.textColor);
    case kDrawPanelTextBackColor: return NumberValue(p.textBackColor);
    case kDrawPanelFont: {
      RawValue value;
      value.font = p.font;
      return value;
    }
    case kDrawPanelDrawWidth:
    case kDrawPanelDrawHeight: {
      if (!control_) return NumberValue(0);
      const RECT client = ClientRect();
      ClientSurface surface(control_);
      if (!surface.Get()) return NumberValue(0);
      ApplyCoordUnit(surface.Get());
      POINT corners[2] = {{0, 0}, {client.right, client.bottom}};
      DPtoLP(surface.Get(), corners, 2);
      return NumberValue(k + kFirstOwnProperty == kDrawPanelDrawWidth ? std::abs(corners[1].x - corners[0].x)
                                                                     : std::abs(corners[1].y - corners[0].y));
    }
    default: return NumberValue(0);
  }
}

WriteOutcome DrawPanel::Write(int k, const RawValue& value) {
  DrawPanelProperties& p = properties_;
  const std::int64_t number = value.number;
  const auto rebuildAndRepaint = [this] {
    RebuildBackingBitmap(false);
    if (control_) InvalidateRect(control_, nullptr, FALSE);
  };
  switch (k + kFirstOwnProperty) {
    case kDrawPanelBorder:
      p.border = Clamp(number, 0, 5);
      ApplyBorder();
      break;
    case kDrawPanelBackColor:
      if (ColourOf(value) == p.backColor) break;
      p.backColor = ColourOf(value);
      rebuildAndRepaint();
      break;
    case kDrawPanelPicture:
      p.picture = value.bytes;
      decodedBackground_.Reset();
      ++pictureGeneration_;
      rebuildAndRepaint();
      break;
    case kDrawPanelPictureMode:
      // The BackingBitmap keeps its content: the new layout shows with the next Clear.
      if (Clamp(number, 0, 2) == p.pictureMode) break;
      ApplyPendingResize();  // a gathered rebuild lays the background in the mode of its time
      p.pictureMode = Clamp(number, 0, 2);
      if (control_) InvalidateRect(control_, nullptr, FALSE);
      break;
    case kDrawPanelAutoRedraw: {
      const std::int32_t autoRedraw = number == 1 ? 1 : 0;
      if (autoRedraw == p.autoRedraw) break;
      p.autoRedraw = autoRedraw;
      if (autoRedraw) {
        RebuildBackingBitmap(false);
      } else {
        DetachBacking();
        backing_.Reset();
        pendingKeep_.reset();
      }
      break;
    }
    case kDrawPanelCoordUnit:
      if (Clamp(number, 0, 5) == p.coordUnit) break;
      p.coordUnit = Clamp(number, 0, 5);
      RebuildFont();
      break;
    case kDrawPanelPenStyle:
      if (Clamp(number, 0, 6) == p.penStyle) break;
      p.penStyle = Clamp(number, 0, 6);
      RebuildPen();
      break;
    case kDrawPanelDrawMode: p.drawMode = Clamp(number, 0, 15); break;
    case kDrawPanelPenWidth:
      if (Clamp(number, 0, 32767) == p.penWidth) break;
      p.penWidth = Clamp(number, 0, 32767);
      RebuildPen();
      break;
    case kDrawPanelPenColor:
      if (ColourOf(value) == p.penColor) break;
      p.penColor = ColourOf(value);
      RebuildPen();
      break;
    case kDrawPanelBrushStyle:
      if (Clamp(number, 0, kLastBrushStyle) == p.brushStyle) break;
      p.brushStyle = Clamp(number, 0, kLastBrushStyle);
      RebuildBrush();
      break;
    case kDrawPanelBrushColor:
      if (ColourOf(value) == p.brushColor) break;
      p.brushColor = ColourOf(value);
      RebuildBrush();
      break;
    case kDrawPanelTextColor: p.textColor = ColourOf(value); break;
    case kDrawPanelTextBackColor: p.textBackColor = ColourOf(value); break;
    case kDrawPanelFont:
      p.font = value.font;
      RebuildFont();
      break;
    default: break;  // drawWidth and drawHeight are read only
  }
  return WriteOutcome::kApplied;
}

// ---- registration and commands ----

void RegisterDrawPanelType() {
  static constexpr ComponentType kType{kTypeDrawPanel, "画板", "DrawPanel", kTypeRaisesEvents, kProperties,
                                       [] { return std::unique_ptr<Component>(new DrawPanel); }};
  RegisterComponentType(kType);
}
