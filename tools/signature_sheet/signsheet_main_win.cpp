// signsheet: draws names in the signature designs, one picture a name and design or one contact
// sheet of them all, with the program's fonts and drawing rules.
//
// Exit codes: 0 everything asked for was drawn; 1 drawn, but some names, lines or designs were
// skipped (each is reported); 2 nothing more could be done (a bad option, an option or path GBK
// cannot spell, an unreadable list, background or font folder, a folder or file that cannot be
// written, Ctrl+C).
//
// Every text inside is GBK, as in the program. The command line is read as Windows keeps it, in
// UTF-16, and each argument converted to GBK, so a name reaches the tool whole whatever code page
// the system runs with; what the tool says goes out through console_output_win.h.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <optional>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "frame/ground/file_services.h"
#include "frame/ground/gbk_text_win.h"
#include "frame/ground/memory.h"
#include "tools/signature_sheet/console_output_win.h"
#include "tools/signature_sheet/picture_files_win.h"
#include "tools/signature_sheet/sheet_options.h"
#include "tools/signature_sheet/signature_names.h"
#include "tools/signature_sheet/signature_renderer_win.h"

namespace {

constexpr int kExitSkipped = 1;
constexpr int kExitFailed = 2;
constexpr int kCaptionPoints = 12;
constexpr int kHeadingPoints = 16;
constexpr std::uint32_t kCaptionColour = 0x202020;
constexpr std::uint32_t kNoteColour = 0x808080;

// Set by Ctrl+C or Ctrl+Break: the run stops between two pictures, so the file being written is
// finished or dropped whole and no temporary file is left behind.
volatile LONG g_interrupted = 0;

BOOL WINAPI OnConsoleBreak(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  InterlockedExchange(&g_interrupted, 1);
  return TRUE;
}

bool Interrupted() { return InterlockedCompareExchange(&g_interrupted, 0, 0) != 0; }

void Say(const std::string& text) { WriteLine(OutputStream::kError, text); }

int Fail(const std::string& text) {
  Say("signsheet: " + text);
  return kExitFailed;
}

// The font folder in the program's folder, in GBK: by its short name where GBK cannot spell the
// long one (a program folder under a user name in Korean, say); nothing where neither will do.
std::optional<std::string> DefaultFontFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::nullopt;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 0x8000) return std::nullopt;
    path.resize(path.size() * 2);
  }
  const std::size_t separator = path.find_last_of(L"\\/");
  std::wstring folder = separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
  const std::string_view fontFolder(kFontFolder);  // with a trailing backslash
  folder += WideFromGbk(fontFolder.substr(0, fontFolder.size() - 1));
  return GbkPathFromWide(folder);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideFromGbk(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The characters of `wide` that GBK has no code for, each once, as "U+AC00": the message cannot
// show them, but it can say which they are.
std::string CharactersGbkLacks(std::wstring_view wide) {
  std::string lacking;
  std::vector<char32_t> said;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    const std::wstring_view character = wide.substr(i, pair ? 2 : 1);
    i += character.size();
    if (GbkHasCharacter(character)) continue;
    const char32_t code = pair ? 0x10000 + ((static_cast<char32_t>(character[0]) - 0xD800) << 10) +
                                     (static_cast<char32_t>(character[1]) - 0xDC00)
                               : static_cast<char32_t>(character[0]);
    if (std::find(said.begin(), said.end(), code) != said.end()) continue;
    said.push_back(code);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    if (!lacking.empty()) lacking += "、";
    lacking += text;
  }
  return lacking;
}

// The command line in the tool's GBK.
struct CommandLine {
  std::vector<std::string> arguments;
  // One for each name, in their order: empty, or why the name cannot be drawn at all (it holds a
  // character GBK has no code for; its argument then holds "?" in that place). Such a name is
  // reported and skipped like any other bad name.
  std::vector<std::string> nameFaults;
  // An option or a path that GBK cannot spell: the run cannot go on.
  std::string fault;
};

// Windows keeps the command line in UTF-16 whatever code page the system runs with. It is split by
// CommandLineToArgvW, whose rules are those msvcrt.dll gives every C program's argv (quotes group,
// backslashes escape only a quote; Wine's msvcrt alone reads "" inside quotes otherwise), and each
// argument converted by its kind. A path may still be spelt by its short (8.3) name, never with
// "?" for what GBK lacks, so no other file is ever reached.
CommandLine ReadCommandLine() {
  std::vector<std::wstring> wide;
  int count = 0;
  if (LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) wide.emplace_back(split[i]);  // the program's own path left out
    LocalFree(split);
  }
  CommandLine line;
  std::vector<std::string> shown;
  for (const std::wstring& argument : wide) shown.push_back(GbkFromWideForDisplay(argument));
  const std::vector<ArgumentKind> kinds = ArgumentKinds(shown);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const std::string place = "第 " + std::to_string(i + 1) + " 个参数";
    const auto lacking = [&] { return "含有 GBK 没有编码的字符 " + CharactersGbkLacks(wide[i]); };
    if (kinds[i] == ArgumentKind::kPath || kinds[i] == ArgumentKind::kOptionAndPath) {
      // The option's own name, and the "=" after it, are ASCII.
      const std::size_t start = kinds[i] == ArgumentKind::kPath ? 0 : wide[i].find(L'=') + 1;
      const std::string option = kinds[i] == ArgumentKind::kPath ? shown[i - 1] : shown[i].substr(0, start - 1);
      const std::optional<std::string> path = GbkPathFromWide(wide[i].substr(start));
      if (!path) {
        line.fault = place + "（" + option + " 的路径）" + lacking() + "，也没有 GBK 写得出的短文件名";
        return line;
      }
      line.arguments.push_back(shown[i].substr(0, start) + *path);
      continue;
    }
    const std::optional<std::string> gbk = GbkFromWide(wide[i]);
    if (kinds[i] == ArgumentKind::kName) {
      line.nameFaults.push_back(gbk ? std::string() : place + lacking());
      line.arguments.push_back(gbk ? *gbk : shown[i]);
      continue;
    }
    if (!gbk) {
      line.fault = place + (kinds[i] == ArgumentKind::kValue ? "（" + shown[i - 1] + " 的取值）" : "") + lacking();
      return line;
    }
    line.arguments.push_back(*gbk);
  }
  return line;
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + "\\" + name;
}

std::string DesignLabel(int design) { return std::to_string(design) + " " + kDesignTable[design].caption; }

// The progress of a long list, in steps (a name's pictures; a sheet takes two steps a name): one
// line kept up to date on a console, a line a tenth otherwise.
class Progress {
 public:
  explicit Progress(std::size_t total) : total_(total), console_(IsConsole(OutputStream::kError)) {}
  void Done(std::size_t done) {
    if (total_ < kLongList) return;
    const std::string line = "进度：" + std::to_string(done) + "/" + std::to_string(total_);
    if (console_ && done < total_) {
      WriteProgress(OutputStream::kError, line);
    } else if (console_ || done == total_ || done % std::max<std::size_t>(total_ / 10, 1) == 0) {
      Say(line);
    }
  }

 private:
  static constexpr std::size_t kLongList = 10;
  std::size_t total_;
  bool console_ = false;
};

// Why a design draws no picture of a name.
struct Skip {
  bool noForm = false;  // the name has no form of the design's kind: said once a name and kind
  std::string why;
};

std::optional<Skip> Obstacle(SignatureRenderer& renderer, const SignatureName& name, int design) {
  const DesignName kind = kDesignTable[design].name;
  if (name.For(kind).empty()) return Skip{true, kind == DesignName::kChinese ? "没有中文名" : "没有英文名"};
  Skip skip;
  if (!renderer.CanDraw(design, name.For(kind), &skip.why)) return skip;
  return std::nullopt;
}

struct Run {
  const SheetOptions& options;
  SignatureRenderer& renderer;
  std::vector<int> designs;
  bool skipped = false;
  std::array<Rgba, kDesignCount> captions;  // made once: every name's block shows them

  const Rgba& CaptionOf(int design) {
    if (captions[design].width == 0) {
      captions[design] = FinishedPicture(renderer.Caption(DesignLabel(design), kCaptionPoints, kCaptionColour),
                                         std::nullopt, false, kCaptionColour);
    }
    return captions[design];
  }

  // The name's picture in the design, or why there is none.
  std::optional<Rgba> Picture(const SignatureName& name, int design, Skip* skip) {
    if (std::optional<Skip> obstacle = Obstacle(renderer, name, design)) {
      *skip = *obstacle;
      return std::nullopt;
    }
    const DrawnSignature drawn = renderer.Draw(design, name.For(kDesignTable[design].name));
    if (drawn.picture.width == 0) {
      skip->why = "图片太大，画不出来（超过 6700 万像素或内存不足）";
      return std::nullopt;
    }
    Rgba picture = FinishedPicture(drawn, options.trimMargin, renderer.HasBackground(), options.colour);
    if (picture.width == 0) {
      skip->why = "没有画出任何笔迹";
      return std::nullopt;
    }
    return picture;
  }

  // Reports a skipped design; `saidNoForm` remembers, per kind, that a name's missing form was said.
  void Report(const SignatureName& name, int design, const Skip& skip, bool (&saidNoForm)[2]) {
    skipped = true;
    const DesignName kind = kDesignTable[design].name;
    if (!skip.noForm) {
      Say(name.Label() + "：设计 " + DesignLabel(design) + " 不画：" + skip.why);
      return;
    }
    if (std::exchange(saidNoForm[static_cast<int>(kind)], true)) return;
    Say(name.Label() + "：" + skip.why + "，" + (kind == DesignName::kChinese ? "中文设计" : "英文设计") + "不画");
  }

  SheetBlock Block(const SignatureName& name) {
    SheetBlock block;
    block.heading = FinishedPicture(renderer.Caption(name.Label(), kHeadingPoints, 0), std::nullopt, false, 0);
    for (const int design : designs) {
      SheetRow row;
      row.caption = CaptionOf(design);
      Skip skip;
      if (std::optional<Rgba> picture = Picture(name, design, &skip)) {
        row.picture = std::move(*picture);
      } else {
        row.picture = FinishedPicture(renderer.Caption("（" + skip.why + "）", kCaptionPoints, kNoteColour),
                                      std::nullopt, false, kNoteColour);
      }
      block.rows.push_back(std::move(row));
    }
    return block;
  }
};

int WriteSheet(Run& run, const std::vector<SignatureName>& names) {
  const SheetOptions& options = run.options;
  // The sheet's size must be known before its first row: every block is drawn once to measure it,
  // and again when its rows are written, so no more than one block is held at a time.
  int captionWidth = 0;
  int pictureWidth = 1;
  int headingWidth = 0;
  long long height = 0;
  const SheetLayout spacing(options.scale, 0, 0);  // a block's height does not depend on the widths
  Progress progress(2 * names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Interrupted()) return Fail("已中断，总览图没有写出");
    const SheetBlock block = run.Block(names[i]);
    progress.Done(i + 1);
    height += spacing.BlockHeight(block);
    headingWidth = std::max(headingWidth, block.heading.width);
    for (const SheetRow& row : block.rows) {
      captionWidth = std::max(captionWidth, row.caption.width);
      pictureWidth = std::max(pictureWidth, row.picture.width);
    }
  }
  // A heading may reach over the caption column into the pictures'.
  const SheetLayout layout(options.scale, captionWidth, std::max(pictureWidth, headingWidth - captionWidth));
  if (height <= 0 || height > 0x7FFFFFFF) return Fail("总览图太高：" + options.sheetFile);
  StreamedPng sheet(options.sheetFile);
  if (!sheet.Begin(layout.Width(), static_cast<int>(height), run.renderer.DotsPerInch() * options.scale)) {
    return Fail("无法写入总览图：" + options.sheetFile);
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Interrupted()) return Fail("已中断，总览图没有写出");
    if (!sheet.Append(layout.Compose(run.Block(names[i])))) return Fail("无法写入总览图：" + options.sheetFile);
    progress.Done(names.size() + i + 1);
  }
  if (!sheet.Finish()) return Fail("无法写入总览图：" + options.sheetFile);
  return 0;
}

int Main(const CommandLine& commandLine) {
  if (!commandLine.fault.empty()) return Fail(commandLine.fault);
  const ParsedOptions parsed = ParseSheetOptions(commandLine.arguments);
  if (!parsed.options) {
    Say("signsheet: " + parsed.error);
    Say("用 signsheet --help 查看用法");
    return kExitFailed;
  }
  const SheetOptions& options = *parsed.options;
  if (options.help) {
    WriteText(OutputStream::kOut, kSheetUsage);
    return 0;
  }

  bool skipped = false;
  std::vector<SignatureName> names;
  if (!options.listFile.empty()) {
    const ByteBuffer bytes = ReadFileBytes(options.listFile.c_str());
    if (!bytes) return Fail("无法读取名单：" + options.listFile);
    NameList list = ReadNameList(BufferBytes(bytes), BufferLength(bytes));
    FrameFree(bytes);
    if (!list.error.empty()) return Fail("名单" + options.listFile + list.error);
    for (const BadLine& bad : list.badLines) Say(options.listFile + " 第 " + std::to_string(bad.number) + " 行：" + bad.why + "，已跳过");
    skipped = !list.badLines.empty();
    names = std::move(list.names);
  } else {
    for (std::size_t i = 0; i < options.names.size(); ++i) {
      const std::string& text = options.names[i];
      std::string why = i < commandLine.nameFaults.size() ? commandLine.nameFaults[i] : std::string();
      if (!why.empty()) {
        Say("名字“" + text + "”：" + why + "，已跳过");
        skipped = true;
      } else if (std::optional<SignatureName> name = ParseSignatureName(text, &why)) {
        names.push_back(std::move(*name));
      } else {
        Say("名字“" + text + "”：" + why + "，已跳过");
        skipped = true;
      }
    }
  }
  if (names.empty()) return Fail("没有可画的名字");

  std::string fontFolder = options.fontFolder;
  if (fontFolder.empty()) {
    const std::optional<std::string> programFonts = DefaultFontFolder();
    if (!programFonts) return Fail("程序所在文件夹的路径含有 GBK 没有编码的字符，也没有短文件名：请用 --fonts 给出字体文件夹");
    fontFolder = *programFonts;
  }
  const PrivateDesignFonts fonts(fontFolder);
  bool anyFont = false;
  for (int design = 0; design < kDesignCount; ++design) anyFont |= fonts.Added(design);
  if (!anyFont) return Fail("找不到字体文件 ma1.dat…ma13.dat：" + fontFolder);

  SignatureRenderer renderer(fonts, {options.size, options.colour, options.scale, options.atX, options.atY});
  if (!options.background.empty()) {
    const ByteBuffer bytes = ReadFileBytes(options.background.c_str());
    if (!bytes) return Fail("无法读取底图：" + options.background);
    std::string why;
    const bool laid = renderer.SetBackground(BufferBytes(bytes), BufferLength(bytes), &why);
    FrameFree(bytes);
    if (!laid) return Fail("底图" + options.background + why);
  }

  Run run{options, renderer, {}, false, {}};
  for (int design = 0; design < kDesignCount; ++design) {
    if (!options.design || *options.design == design) run.designs.push_back(design);
  }

  if (!options.outFolder.empty()) {
    if (!IsFolder(options.outFolder) && !CreateDirectoryW(WideFromGbk(options.outFolder).c_str(), nullptr)) {
      return Fail("无法建立输出文件夹：" + options.outFolder);
    }
    const char* extension = options.format == OutputFormat::kPng ? ".png" : ".bmp";
    Progress progress(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      bool saidNoForm[2] = {false, false};
      for (const int design : run.designs) {
        if (Interrupted()) return Fail("已中断");
        Skip skip;
        const std::optional<Rgba> picture = run.Picture(names[i], design, &skip);
        if (!picture) {
          run.Report(names[i], design, skip, saidNoForm);
          continue;
        }
        const std::string drawn = names[i].For(kDesignTable[design].name);
        const std::string path = Joined(options.outFolder, PictureFileStem(drawn, design) + extension);
        if (!WritePicture(path, *picture, options.format, renderer.DotsPerInch() * options.scale)) {
          return Fail("无法写入：" + path);
        }
      }
      progress.Done(i + 1);
    }
  }
  if (!options.sheetFile.empty()) {
    // With no pictures asked for, the sheet's rows are where skipped designs are reported.
    const bool report = options.outFolder.empty();
    if (report) {
      for (const SignatureName& name : names) {
        bool saidNoForm[2] = {false, false};
        for (const int design : run.designs) {
          if (const std::optional<Skip> skip = Obstacle(renderer, name, design)) run.Report(name, design, *skip, saidNoForm);
        }
      }
    }
    if (const int failed = WriteSheet(run, names)) return failed;
  }
  return skipped || run.skipped ? kExitSkipped : 0;
}

}  // namespace

int main() {
  SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
  int exitCode;
  try {
    exitCode = Main(ReadCommandLine());
  } catch (const std::bad_alloc&) {
    exitCode = Fail("内存不足");
  }
  return exitCode;
}
