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

// The tool converts each argument from UTF-16 by its kind: a path may fall back to its short name.
TEST(ArgumentKinds, APathIsToldFromANameOrAnotherValueByTheOptionBeforeIt) {
  constexpr ArgumentKind O = ArgumentKind::kOption, OP = ArgumentKind::kOptionAndPath, V = ArgumentKind::kValue,
                         P = ArgumentKind::kPath, N = ArgumentKind::kName;
  const struct {
    std::vector<std::string> arguments;
    std::vector<ArgumentKind> kinds;
  } cases[] = {
      {{"--out", "签名", "王小明"}, {O, P, N}},
      {{"--out=签名", "王小明"}, {OP, N}},
      {{"--list", "名单.txt", "--background", "纸.jpg", "--sheet", "总览.png", "--fonts", "字体"}, {O, P, O, P, O, P, O, P}},
      {{"--list=名单.txt", "--background=纸.jpg", "--sheet=总览.png", "--fonts=字体"}, {OP, OP, OP, OP}},
      {{"--size", "48", "--design=3", "--colour", "#000000", "--format", "bmp", "--at", "1,2", "李娜"},
       {O, V, O, O, V, O, V, O, V, N}},
      {{"--trim", "4", "李娜"}, {O, V, N}},
      {{"--trim", "李娜"}, {O, N}},
      {{"--trim=4", "李娜"}, {O, N}},
      {{"李娜", "--", "--out", "签名"}, {N, O, N, N}},
      {{"-", "李娜"}, {N, N}},
      // A value option takes the next argument whatever it is, as the parse does.
      {{"--out", "--trim", "李娜"}, {O, P, N}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgumentKinds(c.arguments), c.kinds) << c.arguments.front();
    // Every argument the parse draws as a name is one of kind kName, in order.
    const ParsedOptions parsed = ParseSheetOptions(c.arguments);
    ASSERT_TRUE(parsed.options) << c.arguments.front() << ": " << parsed.error;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < c.arguments.size(); ++i) {
      if (c.kinds[i] == N) names.push_back(c.arguments[i]);
    }
    EXPECT_EQ(parsed.options->names, names) << c.arguments.front();
  }
  // Options the parse refuses are options all the same: what follows keeps its kind.
  EXPECT_EQ(ArgumentKinds({"-x", "--bogus", "李娜", "--out"}), std::vector<ArgumentKind>({O, O, N, O}));
}

}  // namespace
