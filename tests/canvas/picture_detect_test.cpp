// Recognising a picture by its first six bytes, and what DecodePicture answers for data that is
// too short to be any picture.
#include <gtest/gtest.h>

#include "canvas/picture.h"
#include "picture_test_support.h"

namespace {

struct DetectCase {
  const char* name;
  Bytes bytes;
  PictureKind kind;
};

const DetectCase kDetectCases[] = {
    {"four bytes of BM are too short", {'B', 'M', 0, 0}, PictureKind::kNone},
    {"six bytes of BM are a BMP", {'B', 'M', 0, 0, 0, 0}, PictureKind::kBmp},
    {"five bytes of a GIF are too short", {'G', 'I', 'F', '8', '9'}, PictureKind::kNone},
    {"JPEG start-of-image", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, PictureKind::kJpeg},
    {"icon: reserved 0, type 1, count 2", {0, 0, 1, 0, 2, 0}, PictureKind::kIcon},
    {"cursor: reserved 0, type 2, count 1", {0, 0, 2, 0, 1, 0}, PictureKind::kCursor},
    {"icon directory with no entries", {0, 0, 1, 0, 0, 0}, PictureKind::kNone},
    {"icon type 3", {0, 0, 3, 0, 1, 0}, PictureKind::kNone},
    {"icon with reserved word 1", {1, 0, 1, 0, 1, 0}, PictureKind::kNone},
    {"GIF87a", {'G', 'I', 'F', '8', '7', 'a'}, PictureKind::kGif},
    {"GIF89a", {'G', 'I', 'F', '8', '9', 'a'}, PictureKind::kGif},
    {"GIF88a", {'G', 'I', 'F', '8', '8', 'a'}, PictureKind::kNone},
    {"GIF89b", {'G', 'I', 'F', '8', '9', 'b'}, PictureKind::kNone},
    {"PCX version 5, 8 bits", {0x0A, 5, 1, 8, 0, 0}, PictureKind::kPcx8},
    {"PCX version 0, 8 bits", {0x0A, 0, 1, 8, 0, 0}, PictureKind::kPcx8},
    {"PCX version 6, 8 bits", {0x0A, 6, 1, 8, 0, 0}, PictureKind::kNone},
    {"PCX not run-length encoded", {0x0A, 5, 0, 8, 0, 0}, PictureKind::kNone},
    {"PCX version 3, 1 bit", {0x0A, 3, 1, 1, 0, 0}, PictureKind::kPcx1},
    {"PCX version 5, 1 bit", {0x0A, 5, 1, 1, 0, 0}, PictureKind::kNone},
    {"PCX version 3, 4 bits", {0x0A, 3, 1, 4, 0, 0}, PictureKind::kNone},
    // The tests run in order and the first match wins: BM before the icon words.
    {"BM followed by icon words", {'B', 'M', 1, 0, 1, 0}, PictureKind::kBmp},
    {"PNG", {0x89, 'P', 'N', 'G', 0x0D, 0x0A}, PictureKind::kNone},
};

TEST(DetectPictureKind, RecognisesByTheFirstSixBytes) {
  for (const DetectCase& c : kDetectCases) {
    EXPECT_EQ(DetectPictureKind(c.bytes.data(), c.bytes.size()), c.kind) << c.name;
  }
}

TEST(DecodePicture, RefusesDataTooShortForAnyPicture) {
  const Bytes fourBytesOfBm = {'B', 'M', 0, 0};
  const Bytes sixBytesOfBm = {'B', 'M', 0, 0, 0, 0};
  EXPECT_EQ(DecodePicture(nullptr, 0).failure, PictureFailure::kEmpty) << "no data";
  EXPECT_EQ(Decode(Bytes{}).failure, PictureFailure::kEmpty) << "length 0";
  EXPECT_EQ(Decode(fourBytesOfBm).failure, PictureFailure::kUnrecognised) << "four bytes of BM";
  EXPECT_EQ(Decode(sixBytesOfBm).failure, PictureFailure::kTruncated) << "six bytes of BM: no 54-byte header";
  const DecodeResult failed = Decode(sixBytesOfBm);
  EXPECT_FALSE(failed.picture) << "a failure carries no picture";
  EXPECT_EQ(failed.picture.pixels, nullptr) << "a failure carries no pixel block";
}

}  // namespace
