// Icon and cursor files (kinds 3 and 4) become platform icons: the image the file's directory picks
// (icon_directory.h) is handed to the system's icon creation.
#include <windows.h>

#include "canvas/icon_directory.h"
#include "canvas/picture_decoders.h"

namespace {

constexpr DWORD kIconFormatVersion = 0x00030000;

}  // namespace

DecodeResult DecodeIconPicture(const std::uint8_t* bytes, std::size_t length, PictureKind kind) {
  const IconImage image = ChooseIconImage(bytes, length);
  if (!image.data) return PictureFailed(PictureFailure::kTruncated);
  // The system reads the resource bits without changing them; the cast only meets its signature.
  auto* resource = const_cast<PBYTE>(image.data);
  const auto resourceSize = static_cast<DWORD>(image.size);
  HICON icon = CreateIconFromResourceEx(resource, resourceSize, TRUE, kIconFormatVersion,
                                        image.width, image.height, LR_DEFAULTCOLOR);
  if (!icon && image.bitCount != 16) icon = CreateIconFromResource(resource, resourceSize, TRUE, kIconFormatVersion);
  if (!icon) return PictureFailed(PictureFailure::kCorruptData);

  DecodeResult result;
  result.picture.kind = kind;
  result.picture.icon = icon;
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAP mask{};
    if (info.hbmMask && GetObjectW(info.hbmMask, sizeof mask, &mask)) {
      result.picture.width = mask.bmWidth;
      // Without a colour bitmap the mask holds both halves.
      result.picture.height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  return result;
}

void DestroyPictureIcon(PictureIcon icon) {
  if (icon) DestroyIcon(static_cast<HICON>(icon));
}
