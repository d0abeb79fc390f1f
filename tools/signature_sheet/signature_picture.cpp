#include "tools/signature_sheet/signature_picture.h"

#include <algorithm>

Rgba FinishedPicture(const DrawnSignature& drawn, std::optional<int> trimMargin, bool overBackground,
                     std::uint32_t inkColour) {
  const Box whole{0, 0, drawn.picture.width, drawn.picture.height};
  if (trimMargin && drawn.ink.Empty()) return {};
  if (overBackground) {
    if (!trimMargin) return drawn.picture;
    return Cropped(drawn.picture, Intersection(Inflated(drawn.ink, *trimMargin), whole), inkColour);
  }
  const Box box = trimMargin ? Inflated(drawn.ink, *trimMargin) : Union(drawn.cell, drawn.ink);
  return Cropped(drawn.picture, box, inkColour);
}

SheetLayout::SheetLayout(int scale, int captionWidth, int pictureWidth)
    : spacing_{16 * scale, 8 * scale, 16 * scale}, captionWidth_(captionWidth), pictureWidth_(pictureWidth) {}

int SheetLayout::Width() const {
  return spacing_.margin * 2 + captionWidth_ + spacing_.columnGap + pictureWidth_;
}

int SheetLayout::BlockHeight(const SheetBlock& block) const {
  int height = spacing_.margin + block.heading.height + spacing_.rowGap;
  for (const SheetRow& row : block.rows) height += std::max(row.caption.height, row.picture.height) + spacing_.rowGap;
  return height + spacing_.margin - spacing_.rowGap;
}

Rgba SheetLayout::Compose(const SheetBlock& block) const {
  Rgba sheet = Filled(Width(), BlockHeight(block), 0xFFFFFF, 255);
  int y = spacing_.margin;
  LayOver(&sheet, spacing_.margin, y, block.heading);
  y += block.heading.height + spacing_.rowGap;
  const int pictureLeft = spacing_.margin + captionWidth_ + spacing_.columnGap;
  for (const SheetRow& row : block.rows) {
    const int height = std::max(row.caption.height, row.picture.height);
    LayOver(&sheet, spacing_.margin, y + (height - row.caption.height) / 2, row.caption);
    LayOver(&sheet, pictureLeft, y + (height - row.picture.height) / 2, row.picture);
    y += height + spacing_.rowGap;
  }
  return sheet;
}
