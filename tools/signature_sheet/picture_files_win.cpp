#include "tools/signature_sheet/picture_files_win.h"

#include <windows.h>

#include "canvas/bitmap_export_win.h"
#include "canvas/dc_owners_win.h"
#include "frame/ground/file_services.h"
#include "frame/ground/memory.h"

namespace {

std::vector<std::uint8_t> RgbRows(const Rgba& picture) {
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(picture.width) * picture.height * 3);
  for (std::size_t i = 0, o = 0; i < picture.pixels.size(); i += 4, o += 3) {
    rgb[o] = picture.pixels[i];
    rgb[o + 1] = picture.pixels[i + 1];
    rgb[o + 2] = picture.pixels[i + 2];
  }
  return rgb;
}

bool WriteBytes(const std::string& path, const std::uint8_t* bytes, std::size_t length) {
  ReplacingFile file(path.c_str());
  file.Write(bytes, length);
  return file.Commit();
}

// Through a device bitmap and the panel's own export, so the file is laid out as the program's.
bool WriteBmp(const std::string& path, const Rgba& picture) {
  Rgba onWhite = Filled(picture.width, picture.height, 0xFFFFFF, 255);
  LayOver(&onWhite, 0, 0, picture);
  std::vector<std::uint8_t> bgra = onWhite.pixels;
  for (std::size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
  ScreenSurface screen;
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), picture.width, picture.height));
  if (!bitmap.Get()) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  if (SetDIBits(screen.Get(), bitmap.Get(), 0, picture.height, bgra.data(), &info, DIB_RGB_COLORS) != picture.height) {
    return false;
  }
  const ByteBuffer bmp = BitmapToBmpFile(bitmap.Get(), std::nullopt, std::nullopt);
  if (!bmp) return false;
  const bool written = WriteFileBytes(path.c_str(), &bmp, 1);
  FrameFree(bmp);
  return written;
}

}  // namespace

bool WritePicture(const std::string& path, const Rgba& picture, OutputFormat format, int dotsPerInch) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  if (format == OutputFormat::kBmp) return WriteBmp(path, picture);
  std::vector<std::uint8_t> png;
  if (IsOpaque(picture)) {
    const std::vector<std::uint8_t> rgb = RgbRows(picture);
    png = PackPng(picture.width, picture.height, PngPixels::kRgb, rgb.data(), picture.width * 3u, dotsPerInch);
  } else {
    png = PackPng(picture.width, picture.height, PngPixels::kRgba, picture.pixels.data(), picture.width * 4u,
                  dotsPerInch);
  }
  return !png.empty() && WriteBytes(path, png.data(), png.size());
}

StreamedPng::StreamedPng(const std::string& path)
    : file_(path.c_str()), writer_([this](const std::uint8_t* bytes, std::size_t size) { return file_.Write(bytes, size); }) {}

bool StreamedPng::Begin(int width, int height, int dotsPerInch) {
  row_.resize(static_cast<std::size_t>(width) * 3);
  return file_.Good() && writer_.Begin(width, height, PngPixels::kRgb, dotsPerInch);
}

bool StreamedPng::Append(const Rgba& rows) {
  for (int y = 0; y < rows.height; ++y) {
    for (int x = 0; x < rows.width; ++x) {
      const std::uint8_t* pixel = rows.At(x, y);
      std::copy_n(pixel, 3, row_.data() + x * 3);
    }
    if (!writer_.WriteRow(row_.data())) return false;
  }
  return true;
}

bool StreamedPng::Finish() { return writer_.Finish() && file_.Commit(); }
