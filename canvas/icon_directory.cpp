#include "canvas/icon_directory.h"

#include "canvas/byte_reader.h"

namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kImageHeaderPrefix = 16;  // the header fields read: size, width, height, planes, bit count

}  // namespace

IconImage ChooseIconImage(const std::uint8_t* bytes, std::size_t length) {
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
  if (!haveEntry || imageOffset > length || imageSize > length - imageOffset || imageSize == 0) return {};

  IconImage image;
  image.data = bytes + imageOffset;
  image.size = imageSize;
  if (image.size >= kImageHeaderPrefix) {
    image.width = static_cast<std::int32_t>(ByteReader::LoadLe32(image.data + 4));
    image.height = static_cast<std::int32_t>(ByteReader::LoadLe32(image.data + 8)) / 2;
    image.bitCount = ByteReader::LoadLe16(image.data + 14);
  }
  return image;
}
