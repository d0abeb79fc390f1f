#include "canvas/picture_measure_win.h"

#include "canvas/prepared_picture_win.h"
#include "frame/file_services.h"
#include "frame/owned.h"
#include "frame/service_commands.h"

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
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {};
  return {info.bmWidth, info.bmHeight};
}

PictureSize MeasurePictureFile(const char* fileName) {
  OwnedBuffer bytes(ReadFileBytes(fileName));
  UniqueBitmap bitmap(PictureToBitmap(BufferBytes(bytes.Get()), BufferLength(bytes.Get())));
  if (!bitmap.Get() && fileName && *fileName) {
    bitmap.Reset(static_cast<HBITMAP>(
        LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  }
  return MeasureBitmap(bitmap.Get());
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
