// The probe's picture verb: its line of output, its exit code and the PPM file it writes.
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "picture_test_support.h"

int ProbePicture(int argc, char** argv);

namespace {

struct ProbeRun {
  int exitCode;
  std::string output;
};

ProbeRun RunProbe(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  testing::internal::CaptureStdout();
  const int exitCode = ProbePicture(static_cast<int>(argv.size()), argv.data());
  std::string output = testing::internal::GetCapturedStdout();
  // Windows' text-mode stdout may end the line with a carriage return.
  std::erase(output, '\r');
  return {exitCode, output};
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

TEST(ProbePicture, WritesTheLogicalScreenOfAGifTopRowFirst) {
  const std::string out = TempPath("yj_probe_gif_small_image.ppm");
  std::filesystem::remove(out);
  const ProbeRun run = RunProbe({"probe", "picture", CanvasTestPath("fixtures", "gif_small_image.gif"), out});
  EXPECT_EQ(run.exitCode, 0) << "exit code";
  EXPECT_EQ(run.output, "5 60 40\n") << "kind, width, height";
  RgbImage written;
  RgbImage reference;
  ASSERT_EQ(ReadPpm(out, &written), "") << "the probe's PPM";
  ASSERT_EQ(ReadPpm(CanvasTestPath("fixtures", "gif_small_image.gif.ppm"), &reference), "") << "reference";
  ASSERT_EQ(written.width, 60) << "PPM width";
  ASSERT_EQ(written.height, 40) << "PPM height";
  int wrong = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 60; ++x) {
      const Rgb expected = x < reference.width && y < reference.height ? reference.At(x, y) : Rgb{0, 0, 0};
      wrong += written.At(x, y) != expected;
    }
  }
  EXPECT_EQ(wrong, 0) << "pixels differing from the image in the top-left corner on black";
  std::filesystem::remove(out);
}

TEST(ProbePicture, WritesBottomUpPicturesTopRowFirst) {
  const std::string out = TempPath("yj_probe_bmp.ppm");
  const ProbeRun run = RunProbe({"probe", "picture", CanvasTestPath("fixtures", "bmp_24_bottom_up.bmp"), out});
  EXPECT_EQ(run.exitCode, 0) << "exit code";
  EXPECT_EQ(run.output, "2 37 23\n") << "kind, width, height";
  EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(CanvasTestPath("fixtures", "bmp_24_bottom_up.bmp.ppm")))
      << "the PPM equals ImageMagick's";
  std::filesystem::remove(out);
}

TEST(ProbePicture, AnswersZerosForWhatDoesNotDecode) {
  const ProbeRun missing = RunProbe({"probe", "picture", TempPath("yj_no_such_picture.jpg")});
  EXPECT_EQ(missing.output, "0 0 0\n") << "missing file";
  EXPECT_EQ(missing.exitCode, 1) << "exit code for a missing file";
  const ProbeRun notAPicture = RunProbe({"probe", "picture", CanvasTestPath("fixtures", "gif87a.gif.ppm")});
  EXPECT_EQ(notAPicture.output, "0 0 0\n") << "a PPM file is no picture of ours";
  EXPECT_EQ(RunProbe({"probe", "picture"}).exitCode, 2) << "exit code without a file";
}

}  // namespace
