// Icon and cursor files (kinds 3 and 4) become platform icons. The file's directory picks one image:
// the first with at least 16 colours and a width of 32, else the last entry read; its image data is
// handed to the system's icon creation.
#include <windows.h>

#include "canvas/byte_reader.h"
#include "canvas/picture_decoders.h"

namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr DWORD kIconFormatVersion = 0x00030000;

struct IconImage {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

// The chosen entry's image data, or none when the directory or the data lies outside the file.
IconImage ChooseImage(const std::uint8_t* bytes, std::size_t length) {
  ByteReader directory(bytes, length);
  directory.Skip(4);
  const unsigned count = directory.U16();
  if (directory.Failed() || count == 0) return {};

  std::uint32_t imageSize = 0, imageOffset = 0;
  bool haveEntry = false;
  for (unsigned i = 0; i < count; ++i) {
    ByteReader entry(bytes, length);
    entry.SeekTo(kDirectoryHeaderSize + kDirectoryEntrySize * i);
    const unsigned width = entry.U8();
    entry.Skip(1);
    const unsigned colourCount = entry.U8();
    entry.Skip(5);
    const std::uint32_t size = entry.U32();
    const std::uint32_t offset = entry.U32();
    if (entry.Failed()) break;  // the directory ends early: the last entry read stands
    imageSize = size;
    imageOffset = offset;
    haveEntry = true;
    if (colourCount >= 16 && width == 32) break;
  }
  if (!haveEntry || imageOffset > length || imageSize > length - imageOffset || imageSize == 0) {
    return {};
  }
  return {bytes + imageOffset, imageSize};
}

}  // namespace

DecodeResult DecodeIconPicture(const std::uint8_t* bytes, std::size_t length, PictureKind kind) {
  const IconImage image = ChooseImage(bytes, length);
  if (!image.data) return PictureFailed(PictureFailure::kTruncated);

  // The image header gives the size: its height counts the colour rows and the mask rows.
  int width = 0, height = 0, bitCount = 0;
  if (image.size >= 16) {
    width = static_cast<std::int32_t>(ByteReader::LoadLe32(image.data + 4));
    height = static_cast<std::int32_t>(ByteReader::LoadLe32(image.data + 8)) / 2;
    bitCount = ByteReader::LoadLe16(image.data + 14);
  }
  // The system reads the resource bits without changing them; the cast only meets its signature.
  auto* resource = const_cast<PBYTE>(image.data);
  const auto resourceSize = static_cast<DWORD>(image.size);
  HICON icon = CreateIconFromResourceEx(resource, resourceSize, TRUE, kIconFormatVersion, width,
                                        height, LR_DEFAULTCOLOR);
  if (!icon && bitCount != 16) icon = CreateIconFromResource(resource, resourceSize, TRUE, kIconFormatVersion);
  if (!icon) return PictureFailed(PictureFailure::kCorruptData);

  DecodeResult result;
  result.picture.kind = kind;
  result.picture.icon = icon;
  ICONINFO info{};
  if (GetIconInfo(icon, &info)) {
    BITMAP mask{};
    if (info.hbmMask && GetObjectA(info.hbmMask, sizeof mask, &mask)) {
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
