#include "tools/signature_sheet/sheet_options.h"

#include <gtest/gtest.h>

namespace {

SheetOptions Parsed(std::vector<std::string> arguments) {
  const ParsedOptions parsed = ParseSheetOptions(arguments);
  EXPECT_TRUE(parsed.options) << parsed.error;
  return parsed.options.value_or(SheetOptions{});
}

TEST(SheetOptions, DefaultsAreTheProgramsTemplate) {
  const SheetOptions options = Parsed({"王小明/Xiaoming"});
  EXPECT_EQ(options.names, std::vector<std::string>{"王小明/Xiaoming"});
  EXPECT_FALSE(options.design);
  EXPECT_EQ(options.size, 70);
  EXPECT_EQ(options.colour, 0u);
  EXPECT_EQ(options.scale, 1);
  EXPECT_TRUE(options.background.empty());
  EXPECT_EQ(options.atX, 165);
  EXPECT_EQ(options.atY, 130);
  EXPECT_FALSE(options.trimMargin);
  EXPECT_EQ(options.format, OutputFormat::kPng);
  EXPECT_EQ(options.outFolder, ".");
}

TEST(SheetOptions, EveryOptionInBothSpellings) {
  const SheetOptions options =
      Parsed({"--design", "9", "--size=48", "--color", "#1A2B3C", "--scale=4", "--background", "paper.jpg",
              "--at=10,-20", "--format", "bmp", "--out=pictures", "--sheet", "all.png", "--fonts", "fonts", "李娜"});
  EXPECT_EQ(options.design, 9);
  EXPECT_EQ(options.size, 48);
  EXPECT_EQ(options.colour, 0x3C2B1Au) << "RRGGBB is kept as 0x00BBGGRR";
  EXPECT_EQ(options.scale, 4);
  EXPECT_EQ(options.background, "paper.jpg");
  EXPECT_EQ(options.atX, 10);
  EXPECT_EQ(options.atY, -20);
  EXPECT_EQ(options.format, OutputFormat::kBmp);
  EXPECT_EQ(options.outFolder, "pictures");
  EXPECT_EQ(options.sheetFile, "all.png");
  EXPECT_EQ(options.fontFolder, "fonts");
  EXPECT_EQ(options.names, std::vector<std::string>{"李娜"});
}

TEST(SheetOptions, TheTrimMarginIsOptionalAndANameAfterItStaysAName) {
  EXPECT_EQ(Parsed({"--trim", "李娜"}).trimMargin, kDefaultTrimMargin);
  EXPECT_EQ(Parsed({"--trim", "李娜"}).names, std::vector<std::string>{"李娜"});
  EXPECT_EQ(Parsed({"--trim", "4", "李娜"}).trimMargin, 4);
  EXPECT_EQ(Parsed({"李娜", "--trim=0"}).trimMargin, 0);
  EXPECT_EQ(Parsed({"李娜", "--trim"}).trimMargin, kDefaultTrimMargin);
}

TEST(SheetOptions, OnlyASheetWritesNoPicturesAndBackgroundNoneIsTransparent) {
  const SheetOptions options = Parsed({"--list", "names.txt", "--sheet", "s.png", "--background", "none"});
  EXPECT_TRUE(options.outFolder.empty());
  EXPECT_TRUE(options.background.empty());
  EXPECT_EQ(options.listFile, "names.txt");
  EXPECT_EQ(Parsed({"--", "--odd name"}).names, std::vector<std::string>{"--odd name"});
}

TEST(SheetOptions, BadOptionsAreRefusedNamingTheOption) {
  const struct {
    std::vector<std::string> arguments;
    const char* named;
  } cases[] = {
      {{"--colour", "12345", "a"}, "--colour"},   {{"--color", "GG0000", "a"}, "--color"},
      {{"--scale", "0", "a"}, "--scale"},         {{"--scale", "9", "a"}, "--scale"},
      {{"--size", "12.5", "a"}, "--size"},        {{"--size", "0", "a"}, "--size"},
      {{"--design", "13", "a"}, "--design"},      {{"--design", "-1", "a"}, "--design"},
      {{"--format", "gif", "a"}, "--format"},     {{"--at", "10", "a"}, "--at"},
      {{"--trim=x", "a"}, "--trim"},              {{"--bold", "a"}, "--bold"},
      {{"-x", "a"}, "-x"},                        {{"a", "--out"}, "--out"},
      {{"a", "--bogus"}, "未知选项：--bogus"},
      {{}, "--list"},                             {{"a", "--list", "n.txt"}, "--list"},
  };
  for (const auto& c : cases) {
    const ParsedOptions parsed = ParseSheetOptions(c.arguments);
    EXPECT_FALSE(parsed.options) << c.named;
    EXPECT_NE(parsed.error.find(c.named), std::string::npos) << parsed.error;
  }
}

}  // namespace
