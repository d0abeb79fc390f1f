// bmpsuite, the BMP test corpus in Debian's pillow source package (unpacked by tools/setup.sh, never
// committed), against ImageMagick's decoding of each file (tools/make-bmpsuite-references.sh). Its
// g/ folder holds good files: each decodes equal to ImageMagick, pixel for pixel. b/ holds bad and
// q/ questionable files: each either decodes equal to ImageMagick or is refused, and the refusals
// are exactly the ones listed below, so a file that starts or stops decoding is noticed.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "canvas/picture_rgb.h"
#include "picture_test_support.h"

namespace {

const std::string kCorpus = YJ_SOURCE_DIR "/build/sources/pillow/Tests/images/bmp/";
const std::string kReferences = YJ_SOURCE_DIR "/build/bmpsuite/";

// Files ImageMagick has no right picture for, each a good file with one header field changed; they
// show that good file's picture.
const std::map<std::string, std::string> kStandIns = {
    // ImageMagick refuses these over a field the decoding does not read or reads as it always has.
    {"b/badfilesize.bmp", "g/pal1.bmp"},   // a file size of 2 GB: the field is not read
    {"b/badplanes.bmp", "g/pal1.bmp"},     // planes 30000: not read
    {"b/badwidth.bmp", "g/pal1.bmp"},      // width -127: taken as its absolute value
    {"q/pal8oversizepal.bmp", "g/pal8.bmp"},  // 300 colours: read over, indexes reach 256 at most
    // ImageMagick 6.9 reads an OS/2 2.x colour table as 3-byte entries; this one has 4-byte entries
    // (the pixels start at 14 + 64 + 252 x 4 = 1086), and ImageMagick's colours come out wrong.
    {"q/pal8os2v2.bmp", "g/pal8.bmp"},
};

// The files that are refused, and why.
const std::map<std::string, std::string> kRefused = {
    {"b/badbitcount.bmp", "32,639 bits per pixel"},
    {"b/badheadersize.bmp", "a 66-byte info header, which no BMP version has"},
    {"b/badpalettesize.bmp", "a colour table longer than the file"},
    {"b/reallybig.bmp", "a picture far beyond the size limits"},
    {"b/rletopdown.bmp", "run-length rows stored top-down, which the format does not allow"},
    {"b/shortfile.bmp", "pixel rows cut off by the end of the file"},
    {"q/pal2.bmp", "2 bits per pixel (Windows CE only)"},
    {"q/rgb24jpeg.bmp", "a JPEG inside a BMP, for printers"},
    {"q/rgb24png.bmp", "a PNG inside a BMP, for printers"},
    {"q/rgba32abf.bmp", "compression 6 (alpha bit fields, Windows CE only)"},
};

struct CorpusFile {
  std::string name;  // "g/pal8.bmp"
  std::string path;
};

std::vector<CorpusFile> CorpusFiles() {
  std::vector<CorpusFile> files;
  for (const char* folder : {"g", "b", "q"}) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus + folder, error)) {
      if (entry.path().extension() != ".bmp") continue;
      files.push_back({std::string(folder) + "/" + entry.path().filename().string(), entry.path().string()});
    }
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return files;
}

// ImageMagick's picture of `name`, or an empty image when it made none.
RgbImage ReferenceOf(const std::string& name) {
  RgbImage image;
  const std::string ppm = kReferences + name.substr(0, name.size() - 4) + ".ppm";
  if (!std::filesystem::exists(ppm)) return image;
  const std::string error = ReadPpm(ppm, &image);
  EXPECT_EQ(error, "") << "reference of " << name;
  return image;
}

// Empty when the decoded picture shows the reference's pixels, else where it first differs.
std::string Difference(const DecodedPicture& picture, const RgbImage& reference) {
  if (picture.width != reference.width || picture.height != reference.height) {
    std::ostringstream out;
    out << "size " << picture.width << "x" << picture.height << ", ImageMagick's " << reference.width << "x"
        << reference.height;
    return out.str();
  }
  std::vector<std::uint8_t> rgb;
  if (!PictureToRgb(picture, &rgb)) return "no RGB view";
  int mismatches = 0;
  std::ostringstream first;
  for (int y = 0; y < reference.height; ++y) {
    for (int x = 0; x < reference.width; ++x) {
      const std::uint8_t* ours = &rgb[(static_cast<std::size_t>(y) * reference.width + x) * 3];
      const Rgb theirs = reference.At(x, y);
      if (Rgb{ours[0], ours[1], ours[2]} != theirs && mismatches++ == 0) {
        first << "first at (" << x << "," << y << "): ours " << +ours[0] << "," << +ours[1] << "," << +ours[2]
              << ", ImageMagick's " << +theirs[0] << "," << +theirs[1] << "," << +theirs[2];
      }
    }
  }
  if (mismatches == 0) return "";
  return std::to_string(mismatches) + " pixels differ, " + first.str();
}

TEST(Bmpsuite, GoodFilesDecodeAsImageMagickAndBadOnesAreRefusedOrDecodeAsWell) {
  const std::vector<CorpusFile> files = CorpusFiles();
  // bmpsuite 2.x has 23 good, 14 bad and 21 questionable files.
  ASSERT_GE(files.size(), 58u) << "bmpsuite is missing from " << kCorpus << ": run tools/setup.sh";

  std::set<std::string> refused;
  int decodedEqual = 0;
  for (const CorpusFile& file : files) {
    SCOPED_TRACE(file.name);
    const Bytes bytes = ReadFileBytes(file.path);
    ASSERT_FALSE(bytes.empty());
    const DecodeResult result = Decode(bytes);
    const bool good = file.name.starts_with("g/");
    if (!result) {
      EXPECT_FALSE(good) << "refused a good file: " << PictureFailureName(result.failure);
      refused.insert(file.name);
      continue;
    }
    const auto standIn = kStandIns.find(file.name);
    const RgbImage reference = ReferenceOf(standIn != kStandIns.end() ? standIn->second : file.name);
    if (reference.width == 0) {
      ADD_FAILURE() << "decoded, but ImageMagick refuses it and it stands in for no good file";
      continue;
    }
    const std::string difference = Difference(result.picture, reference);
    EXPECT_EQ(difference, "") << "decodes unlike ImageMagick";
    if (difference.empty()) ++decodedEqual;
  }

  for (const auto& [name, why] : kRefused) {
    EXPECT_TRUE(refused.count(name)) << name << " decodes, but is listed as refused for " << why;
  }
  for (const std::string& name : refused) EXPECT_TRUE(kRefused.count(name)) << name << " is refused unlisted";
  std::printf("bmpsuite: %d files decode as ImageMagick decodes them, %zu are refused\n", decodedEqual,
              refused.size());
}

}  // namespace
