// The drawing panel (DrawPanel, 画板): a child window carrying a canvas. Its drawing attributes are
// properties; while autoRedraw is on a BackingBitmap remembers everything drawn: every drawing
// operation draws into that bitmap, and the window is shown the pixels that changed. Without it the
// operations draw on the window itself.
#pragma once

#include <windows.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "canvas/dc_owners_win.h"
#include "canvas/panel_background_win.h"
#include "canvas/draw_panel_commands.h"
#include "canvas/picture.h"
#include "forms/component.h"
#include "frame/ground/values.h"

// The persistent property block, in its stored order, with the defaults of a new panel.
struct DrawPanelProperties {
  std::int32_t border = 0;           // 0..5
  Colour backColor = kDefaultColour;  // default: the button-face colour, looked up at each use
  std::int32_t pictureMode = 1;      // 0 top-left, 1 tiled, 2 centred and shrunk to fit
  std::int32_t autoRedraw = 0;       // 1 keeps a BackingBitmap
  std::int32_t coordUnit = 0;        // 0 pixel, 1 0.1 mm, 2 0.01 mm, 3 0.01 inch, 4 0.001 inch, 5 twip
  std::int32_t penStyle = 1;         // 0..6
  std::int32_t drawMode = 12;        // binary raster operation - 1
  std::int32_t penWidth = 0;         // 0..32767
  Colour penColor = 0;
  std::int32_t brushStyle = 1;       // 0..55
  Colour brushColor = 0xFFFFFF;      // also the surface's text colour outside text operations
  Colour textColor = 0;
  Colour textBackColor = kDefaultColour;  // default: transparent text background
  std::optional<LOGFONTA> font;      // empty: the default GUI font
  std::vector<std::uint8_t> picture;  // the background picture file's bytes
};

enum class WriteKind { kWrite, kWriteLine, kScrollWriteLine, kWriteAt };

class DrawPanel final : public Component {
 public:
  DrawPanel() = default;
  ~DrawPanel() override;

  bool Create(const ControlPlace& place) override;
  RawValue Read(int k) const override;
  WriteOutcome Write(int k, const RawValue& value) override;

  // Operations. Clear takes pixels whatever the coordinate unit; the write position and WriteAt's
  // coordinates are in the unit.
  void Clear(std::optional<std::int32_t> left, std::optional<std::int32_t> top, std::optional<std::int32_t> width,
             std::optional<std::int32_t> height);
  void SetWritePosition(std::optional<std::int32_t> x, std::optional<std::int32_t> y);
  // x and y count only for WriteAt.
  void WriteText(WriteKind kind, std::optional<std::int32_t> x, std::optional<std::int32_t> y,
                 std::span<const ArgRecord> values);
  // The BMP file bytes of what the panel shows; null on failure. The caller owns the buffer.
  ByteBuffer GetPicture(std::optional<std::int32_t> width, std::optional<std::int32_t> height);

  // Live state, for the export and for tests.
  POINT WritePosition() const { return writePosition_; }  // device pixels
  HBITMAP BackingBitmap();
  const DrawPanelProperties& Properties() const { return properties_; }

  // Messages of the panel's window.
  LRESULT OnSize(HWND window, WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint();
  LRESULT OnDisplayChange();

 private:
  // What the text colour of a prepared surface is: the text colour, or the brush colour.
  enum class SurfaceUse { kText, kOther };
  template <typename Draw>
  void DrawOnSurface(SurfaceUse use, Draw&& draw);
  HDC KeptSurface();
  HDC BackingSurface();
  void DetachBacking();
  void ShowOnWindow(const RECT& changed);
  void PrepareSurface(HDC dc, SurfaceUse use) const;
  static void ReleaseSurface(HDC dc);
  void ApplyCoordUnit(HDC dc) const;
  COLORREF ResolvedBackColour() const;
  const DecodedPicture* DecodedBackground();
  void LayBackground(HDC dc, const RECT& target);
  void LayPreparedBackground(HDC dc, const RECT& target, const PreparedPicture& prepared);
  HDC BackgroundSurface(HDC compatibleWith, bool* laidAnew);
  // Whether a bitmap holds nothing yet, or the background and what was drawn since.
  enum class BitmapState { kFresh, kDrawnOn };
  void RestoreBackground(HDC memory, const RECT& target, BitmapState state);
  // keepWithin limits the kept area further (the sizes a gathered rebuild went through).
  void RebuildBackingBitmap(bool keepContent, SIZE keepWithin = {LONG_MAX, LONG_MAX});
  void ApplyPendingResize();
  void RebuildPen();
  void RebuildBrush();
  void RebuildFont();
  void ApplyBorder();
  void ScrollUp(HDC dc, int logicalDistance);
  void RaisePaint(const RECT& logical);
  RECT ClientRect() const;

  DrawPanelProperties properties_;
  // Destroyed in reverse order: decoded background, BackingBitmap, font, brush, pen.
  UniqueGdiObject<HPEN> pen_;
  UniqueBrush brush_;
  UniqueFont font_;
  LOGFONTA fontMadeFrom_{};  // what font_ was made from
  UniqueBitmap backing_;
  DecodedPicture decodedBackground_;
  std::uint64_t pictureGeneration_ = 1;  // counts the picture's writes: a new picture, a new background
  // Kept between operations: the laid background, and the surface the BackingBitmap is drawn through.
  PanelBackground background_;
  std::unique_ptr<MemorySurface> backingSurface_;
  std::optional<ScopedSelect> backingSelection_;  // the BackingBitmap in backingSurface_; goes first
  // Where the BackingBitmap may differ from the kept background (device pixels).
  RECT changedSinceBackground_{};
  // Where the window may not show what the BackingBitmap holds (a new bitmap not yet painted).
  RECT windowBehind_{};
  // Set by size changes whose rebuild waits for the bitmap's next use: the smallest size since.
  std::optional<SIZE> pendingKeep_;
  POINT writePosition_{0, 0};
  HDC paintSurface_ = nullptr;  // set only while the paint event runs
};

// Registers the DrawPanel type with the component model; a second call changes nothing.
void RegisterDrawPanelType();
