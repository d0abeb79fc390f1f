// signsheet: draws names in the signature designs, one picture a name and design or one contact
// sheet of them all, with the program's fonts and drawing rules.
//
// Exit codes: 0 everything asked for was drawn; 1 drawn, but some names, lines or designs were
// skipped (each is reported); 2 nothing more could be done (a bad option, an unreadable list,
// background or font folder, a folder or file that cannot be written, Ctrl+C).
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "frame/ground/file_services.h"
#include "frame/ground/memory.h"
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

void Say(const std::string& text) {
  std::fputs(text.c_str(), stderr);
  std::fputc('\n', stderr);
}

int Fail(const std::string& text) {
  Say("signsheet: " + text);
  return kExitFailed;
}

// The program's folder: the fonts sit in its font folder.
std::string ProgramFolder() {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  const std::size_t separator = folder.find_last_of("\\/");
  return separator == std::string::npos ? std::string(".") : folder.substr(0, separator);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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
  explicit Progress(std::size_t total) : total_(total) {
    DWORD mode = 0;
    console_ = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
  }
  void Done(std::size_t done) {
    if (total_ < kLongList) return;
    const std::string line = "进度：" + std::to_string(done) + "/" + std::to_string(total_);
    if (console_) {
      std::fprintf(stderr, "\r%s", line.c_str());
      if (done == total_) std::fputc('\n', stderr);
    } else if (done == total_ || done % std::max<std::size_t>(total_ / 10, 1) == 0) {
      Say(line);
    }
    std::fflush(stderr);
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

int Main(const std::vector<std::string>& arguments) {
  const ParsedOptions parsed = ParseSheetOptions(arguments);
  if (!parsed.options) {
    Say("signsheet: " + parsed.error);
    Say("用 signsheet --help 查看用法");
    return kExitFailed;
  }
  const SheetOptions& options = *parsed.options;
  if (options.help) {
    std::fputs(kSheetUsage, stdout);
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
    for (const std::string& text : options.names) {
      std::string why;
      if (std::optional<SignatureName> name = ParseSignatureName(text, &why)) {
        names.push_back(std::move(*name));
      } else {
        Say("名字“" + text + "”：" + why + "，已跳过");
        skipped = true;
      }
    }
  }
  if (names.empty()) return Fail("没有可画的名字");

  const std::string fontFolder =
      options.fontFolder.empty() ? ProgramFolder() + std::string(kFontFolder, std::strlen(kFontFolder) - 1)
                                 : options.fontFolder;
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
    if (!IsFolder(options.outFolder) && !CreateDirectoryA(options.outFolder.c_str(), nullptr)) {
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

int main(int argc, char** argv) {
  // Messages in the program's code page while the tool runs; the console gets its own back after.
  const UINT consolePage = GetConsoleOutputCP();
  if (consolePage) SetConsoleOutputCP(936);
  SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  int exitCode;
  try {
    exitCode = Main(arguments);
  } catch (const std::bad_alloc&) {
    exitCode = Fail("内存不足");
  }
  std::fflush(stdout);
  std::fflush(stderr);
  if (consolePage) SetConsoleOutputCP(consolePage);
  return exitCode;
}
