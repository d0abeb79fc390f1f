#include "tools/signature_sheet/sheet_options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

#include "forms/layouts/window_ids.h"

const char* const kSheetUsage =
    "用法：signsheet 名字 [名字…] [选项]\n"
    "      signsheet --list 名单.txt [选项]\n"
    "名字写作 \"中文名/英文名\"（如 王小明/Xiaoming），也可只写其一：中文设计（0 至 8）写中文名，\n"
    "英文设计（9 至 12）写英文名。\n"
    "  --list 文件          每行一个名字，GBK 或带 BOM 的 UTF-8\n"
    "  --design N|all       只画设计 N（0 至 12），默认 all\n"
    "  --size 磅数          字体大小，默认 70\n"
    "  --color RRGGBB       字体颜色，默认 000000\n"
    "  --scale 1..8         放大倍数，供打印；默认 1，与程序像素相同\n"
    "  --background 文件|none  底图；none（默认）为透明\n"
    "  --at X,Y             底图上的书写位置，默认 165,130\n"
    "  --trim [边距]        裁去空白，四周留下边距像素，默认 16\n"
    "  --format png|bmp     输出格式，默认 png\n"
    "  --out 文件夹         输出文件夹，默认当前文件夹\n"
    "  --sheet 文件.png     把每个名字的各个设计排成一张总览图\n"
    "  --fonts 文件夹       字体文件 ma1.dat…ma13.dat 所在的文件夹\n";

namespace {

std::optional<int> WholeNumber(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> Colour(std::string_view text) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + 6, rgb, 16);
  if (error != std::errc() || end != text.data() + 6) return std::nullopt;
  // RRGGBB as written, 0x00BBGGRR as the system keeps colours.
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

constexpr std::string_view kValueOptions[] = {"--list",  "--design", "--size",   "--color",
                                              "--colour", "--scale", "--background", "--at",
                                              "--format", "--out",   "--sheet",  "--fonts"};
constexpr std::string_view kPathOptions[] = {"--list", "--background", "--out", "--sheet", "--fonts"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::string_view (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// "-" alone is a name (as it would be a file name), "--" ends the options.
bool IsOption(std::string_view argument) { return argument.size() >= 2 && argument.front() == '-'; }

// "--out" of "--out=签名".
std::string_view OptionName(std::string_view argument) { return argument.substr(0, argument.find('=')); }

// --trim takes the next argument as its margin only when it is a number.
bool IsTrimMargin(std::string_view argument) { return WholeNumber(argument, 0, 1 << 20).has_value(); }

// Built piece by piece: GCC 12 warns of an overlap (falsely) in "\"" + text + "\"" at -O2.
std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text);
  quoted += '"';
  return quoted;
}

}  // namespace

std::vector<ArgumentKind> ArgumentKinds(const std::vector<std::string>& arguments) {
  std::vector<ArgumentKind> kinds;
  bool onlyNames = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (onlyNames || !IsOption(argument)) {
      kinds.push_back(ArgumentKind::kName);
      continue;
    }
    onlyNames = argument == "--";
    const std::string_view name = OptionName(argument);
    const bool takesPath = IsOneOf(name, kPathOptions);
    if (name.size() != argument.size()) {
      kinds.push_back(takesPath ? ArgumentKind::kOptionAndPath : ArgumentKind::kOption);
      continue;
    }
    kinds.push_back(ArgumentKind::kOption);
    const bool takesNext =
        IsOneOf(name, kValueOptions) || (name == "--trim" && i + 1 < arguments.size() && IsTrimMargin(arguments[i + 1]));
    if (takesNext && i + 1 < arguments.size()) {
      kinds.push_back(takesPath ? ArgumentKind::kPath : ArgumentKind::kValue);
      ++i;
    }
  }
  return kinds;
}

ParsedOptions ParseSheetOptions(const std::vector<std::string>& arguments) {
  SheetOptions options;
  const auto fail = [](std::string why) { return ParsedOptions{std::nullopt, std::move(why)}; };
  // Which argument is a value of the option before it is decided in one place, for the tool's
  // conversion of its arguments and for this parse alike.
  const std::vector<ArgumentKind> kinds = ArgumentKinds(arguments);
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (kinds[i] == ArgumentKind::kName) {
      options.names.emplace_back(argument);
      continue;
    }
    if (argument == "--") continue;
    if (argument.substr(0, 2) != "--") return fail("未知选项：" + std::string(argument));
    // --option=value and --option value alike.
    std::string name(OptionName(argument));
    std::optional<std::string> inlineValue;
    if (name.size() != argument.size()) inlineValue = std::string(argument.substr(name.size() + 1));
    const bool valueFollows =
        i + 1 < arguments.size() && (kinds[i + 1] == ArgumentKind::kValue || kinds[i + 1] == ArgumentKind::kPath);
    if (name == "--help") {
      options.help = true;
      continue;
    }
    if (name == "--trim") {
      // The margin is optional: the next argument is taken only when it is a number.
      std::optional<std::string> margin = inlineValue;
      if (!margin && valueFollows) margin = arguments[++i];
      if (!margin) {
        options.trimMargin = kDefaultTrimMargin;
      } else if (const auto value = WholeNumber(*margin, 0, 4096)) {
        options.trimMargin = *value;
      } else {
        return fail("--trim 的边距应为 0 至 4096 的整数：" + Quoted(*margin));
      }
      continue;
    }
    if (!IsOneOf(name, kValueOptions)) return fail("未知选项：" + name);
    std::string value;
    if (inlineValue) {
      value = *inlineValue;
    } else if (valueFollows) {
      value = arguments[++i];
    } else {
      return fail(name + " 后缺少取值");
    }
    const std::string bad = name + " 的取值无效：" + Quoted(value);
    if (name == "--list") {
      if (value.empty()) return fail(bad);
      options.listFile = value;
    } else if (name == "--design") {
      if (value == "all") {
        options.design.reset();
      } else if (const auto design = WholeNumber(value, 0, kDesignCount - 1)) {
        options.design = *design;
      } else {
        return fail(name + " 应为 0 至 12 或 all：" + Quoted(value));
      }
    } else if (name == "--size") {
      const auto size = WholeNumber(value, 1, kMaxSize);
      if (!size) return fail(name + " 应为 1 至 500 的整数：" + Quoted(value));
      options.size = *size;
    } else if (name == "--color" || name == "--colour") {
      const auto colour = Colour(value);
      if (!colour) return fail(name + " 应为六位十六进制 RRGGBB：" + Quoted(value));
      options.colour = *colour;
    } else if (name == "--scale") {
      const auto scale = WholeNumber(value, 1, kMaxScale);
      if (!scale) return fail(name + " 应为 1 至 8 的整数：" + Quoted(value));
      options.scale = *scale;
    } else if (name == "--background") {
      if (value.empty()) return fail(bad);
      options.background = value == "none" ? std::string() : value;
    } else if (name == "--at") {
      const std::size_t comma = value.find(',');
      const auto x = comma == std::string::npos ? std::nullopt : WholeNumber(value.substr(0, comma), -100000, 100000);
      const auto y = comma == std::string::npos ? std::nullopt : WholeNumber(value.substr(comma + 1), -100000, 100000);
      if (!x || !y) return fail(name + " 应写作 X,Y：" + Quoted(value));
      options.atX = *x;
      options.atY = *y;
    } else if (name == "--format") {
      if (value == "png") {
        options.format = OutputFormat::kPng;
      } else if (value == "bmp") {
        options.format = OutputFormat::kBmp;
      } else {
        return fail(name + " 应为 png 或 bmp：" + Quoted(value));
      }
    } else if (name == "--out") {
      if (value.empty()) return fail(bad);
      options.outFolder = value;
    } else if (name == "--sheet") {
      if (value.empty()) return fail(bad);
      options.sheetFile = value;
    } else if (name == "--fonts") {
      if (value.empty()) return fail(bad);
      options.fontFolder = value;
    }
  }
  if (options.help) return {options, {}};
  if (options.names.empty() && options.listFile.empty()) return fail("没有要画的名字：给出名字或 --list 文件");
  if (!options.names.empty() && !options.listFile.empty()) return fail("名字和 --list 只能给出其一");
  if (options.outFolder.empty() && options.sheetFile.empty()) options.outFolder = ".";
  return {options, {}};
}
