// The signature sheet tool's command line: what to draw, how, and where the pictures go.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class OutputFormat { kPng, kBmp };

struct SheetOptions {
  std::vector<std::string> names;  // as given on the command line, GBK
  std::string listFile;            // --list: one name a line
  std::optional<int> design;       // --design N; none draws every design
  int size = 70;                   // points at the display's resolution, as the program's size box
  std::uint32_t colour = 0;        // 0x00BBGGRR
  int scale = 1;                   // 1 draws the program's pixels; up to 8 for print
  std::string background;          // a picture file; empty: transparent
  int atX = 165, atY = 130;        // the write position on a background, in its pixels
  std::optional<int> trimMargin;   // --trim: crop to the ink and this many pixels around it
  OutputFormat format = OutputFormat::kPng;
  std::string outFolder;           // --out; "." unless only a sheet is asked for
  std::string sheetFile;           // --sheet: one contact sheet of every name
  std::string fontFolder;          // --fonts; the program folder's font folder by default
  bool help = false;
};

inline constexpr int kMaxScale = 8;
inline constexpr int kMaxSize = 500;
inline constexpr int kDefaultTrimMargin = 16;

// The options, or an error text (GBK) naming the option at fault.
struct ParsedOptions {
  std::optional<SheetOptions> options;
  std::string error;
};
ParsedOptions ParseSheetOptions(const std::vector<std::string>& arguments);

// What each argument is to ParseSheetOptions, told by the options before it. Windows gives the
// arguments in UTF-16 and the tool converts each to GBK by its kind: a file whose long name GBK
// cannot spell may still be reached by its short name, a name to draw cannot be drawn at all.
// Option names are ASCII, so a spelling with "?" for what GBK lacks is told apart like the text.
enum class ArgumentKind {
  kOption,         // an option, and its value after "=" when that is no path; or "--"
  kOptionAndPath,  // an option with its file or folder after "=": "--out=签名"
  kValue,          // the value of the option before it, when that is no path: "--size 48"
  kPath,           // the file or folder of the option before it: "--list 名单.txt"
  kName,           // a name to draw
};
std::vector<ArgumentKind> ArgumentKinds(const std::vector<std::string>& arguments);

// What --help prints.
extern const char* const kSheetUsage;
