#include "frame/ground/program_path.h"

#include "frame/ground/app_frame.h"
#include "frame/ground/platform.h"

namespace {

// GBK lead bytes are 0x81-0xFE; the byte after a lead byte is its trail byte, whatever its value.
bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

std::size_t FindLastSeparator(std::string_view gbkPath) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < gbkPath.size(); ++i) {
    const auto byte = static_cast<unsigned char>(gbkPath[i]);
    if (IsGbkLeadByte(byte) && i + 1 < gbkPath.size()) {
      ++i;
    } else if (byte == '\\') {
      last = i;
    }
  }
  return last;
}

ProgramPathParts SplitProgramPath(std::string_view gbkPath) {
  const std::size_t separator = FindLastSeparator(gbkPath);
  if (separator == std::string_view::npos) return {"", std::string(gbkPath)};
  return {std::string(gbkPath.substr(0, separator)), std::string(gbkPath.substr(separator + 1))};
}

bool RecordProgramDirectory() {
  AppFrame& frame = TheFrame();
  const std::optional<std::string> programPath = PlatformProgramPath();
  if (!programPath) return false;
  ProgramPathParts parts = SplitProgramPath(*programPath);
  frame.programDirectory = std::move(parts.directory);
  frame.programFileName = std::move(parts.fileName);
  frame.programDirectoryWithSeparator =
      frame.programDirectory.empty() ? std::string() : frame.programDirectory + "\\";
  if (frame.programDirectory.empty()) return true;
  // "C:" alone names the drive's current directory, not its root; a program in the root wants
  // the root.
  if (frame.programDirectory.back() == ':') {
    PlatformSetCurrentDirectory(frame.programDirectoryWithSeparator.c_str());
  } else {
    PlatformSetCurrentDirectory(frame.programDirectory.c_str());
  }
  return true;
}

Text RunDirectory() { return CopyText(TheFrame().programDirectory.c_str()); }
