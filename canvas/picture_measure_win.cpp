#include "canvas/picture_measure_win.h"

#include <optional>
#include <string>
#include <utility>

#include "canvas/prepared_picture_win.h"
#include "frame/ground/file_services.h"
#include "frame/ground/gbk_text_win.h"
#include "frame/ground/owned.h"
#include "frame/ground/service_commands.h"

HBITMAP PictureToBitmap(const std::uint8_t* bytes, std::size_t length) {
  if (DetectPictureKind(bytes, length) == PictureKind::kNone) return nullptr;
  DecodeResult decoded = DecodePicture(bytes, length);
  if (!decoded) return nullptr;
  ScreenSurface screen;
  if (!screen) return nullptr;
  PreparedPicture prepared = PreparePicture(screen.Get(), &decoded.picture);
  if (!prepared) return nullptr;
  if (!prepared.icon) return prepared.bitmap.Release();

  UniqueBitmap canvas(CreateCompatibleBitmap(screen.Get(), prepared.width, prepared.height));
  MemorySurface surface(screen.Get());
  if (!canvas.Get() || !surface) return nullptr;
  {
    ScopedSelect select(surface.Get(), canvas.Get());
    PatBlt(surface.Get(), 0, 0, prepared.width, prepared.height, WHITENESS);
    DrawIconEx(surface.Get(), 0, 0, prepared.icon, prepared.width, prepared.height, 0, nullptr, DI_NORMAL);
  }
  return canvas.Release();
}

namespace {

struct PictureSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

PictureSize MeasureBitmap(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
  return {info.bmWidth, info.bmHeight};
}

// A file as it is on disk now: its path, length and time of last writing.
struct FileStamp {
  std::string path;
  ULARGE_INTEGER length{};
  FILETIME written{};
  bool operator==(const FileStamp& other) const {
    return path == other.path && length.QuadPart == other.length.QuadPart &&
           CompareFileTime(&written, &other.written) == 0;
  }
};

std::optional<FileStamp> StampOf(const char* fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!fileName || !*fileName || !GetFileAttributesExW(WideFromGbk(fileName).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileStamp stamp;
  stamp.path = fileName;
  stamp.length.HighPart = data.nFileSizeHigh;
  stamp.length.LowPart = data.nFileSizeLow;
  stamp.written = data.ftLastWriteTime;
  return stamp;
}

// The size of the bitmap PictureToBitmap would make is the decoded picture's own (an icon's too, and
// a GIF's logical screen): it is taken from the decoding, without making the bitmap.
PictureSize MeasureFileNow(const char* fileName) {
  OwnedBuffer bytes(ReadFileBytes(fileName));
  const std::uint8_t* data = BufferBytes(bytes.Get());
  const std::size_t length = BufferLength(bytes.Get());
  if (DetectPictureKind(data, length) != PictureKind::kNone) {
    if (const DecodeResult decoded = DecodePicture(data, length)) return {decoded.picture.width, decoded.picture.height};
  }
  UniqueBitmap bitmap;
  if (fileName && *fileName) {
    bitmap.Reset(static_cast<HBITMAP>(
        LoadImageW(nullptr, WideFromGbk(fileName).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  }
  return MeasureBitmap(bitmap.Get());
}

// A program asks for a picture's width and then for its height: the second answer is the first
// measurement's, as long as the file has not changed in between. Measuring decodes the whole picture.
PictureSize MeasurePictureFile(const char* fileName) {
  static std::optional<std::pair<FileStamp, PictureSize>> last;
  const std::optional<FileStamp> stamp = StampOf(fileName);
  if (stamp && last && last->first == *stamp) return last->second;
  const PictureSize size = MeasureFileNow(fileName);
  // The file may have changed while it was read: keep the measurement only if it has not.
  const std::optional<FileStamp> after = StampOf(fileName);
  if (stamp && after && *after == *stamp) {
    last.emplace(*stamp, size);
  } else {
    last.reset();
  }
  return size;
}

}  // namespace

std::int32_t PictureWidth(const char* fileName) { return MeasurePictureFile(fileName).width; }
std::int32_t PictureHeight(const char* fileName) { return MeasurePictureFile(fileName).height; }

void CmdPictureWidth(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultInt(result, PictureWidth(ArgText(ArgAt(argCount, args, 0))));
}

void CmdPictureHeight(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultInt(result, PictureHeight(ArgText(ArgAt(argCount, args, 0))));
}
