#include "tools/signature_sheet/console_output_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>

#include "frame/ground/gbk_text_win.h"

namespace {

HANDLE HandleOf(OutputStream stream) {
  const HANDLE handle = GetStdHandle(stream == OutputStream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

bool IsConsoleHandle(HANDLE handle) {
  DWORD mode = 0;
  return handle && GetConsoleMode(handle, &mode) != 0;
}

// A console takes UTF-16 whatever its code page. Written in pieces: older consoles refuse one
// call of more than some 64 KB.
void WriteConsoleText(HANDLE console, const std::wstring& text) {
  constexpr std::size_t kPiece = 8192;
  for (std::size_t at = 0; at < text.size();) {
    const DWORD count = static_cast<DWORD>(std::min(kPiece, text.size() - at));
    DWORD written = 0;
    if (!WriteConsoleW(console, text.data() + at, count, &written, nullptr) || written == 0) return;
    at += written;
  }
}

// How many cells the progress line open on the console takes, 0 when none is open. A Chinese
// character takes two cells on many consoles, so two are counted for each.
std::size_t g_progressCells = 0;

void ClearProgress(HANDLE console) {
  if (g_progressCells == 0) return;
  WriteConsoleText(console, L"\r" + std::wstring(g_progressCells, L' ') + L"\r");
  g_progressCells = 0;
}

// A file or a pipe gets UTF-8, its lines ended as Windows' files are.
void WriteRedirectedText(HANDLE handle, const std::wstring& text) {
  std::wstring lines;
  lines.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) lines += L'\r';
    lines += text[i];
  }
  if (lines.empty() || lines.size() > INT_MAX / 4) return;
  const int size = static_cast<int>(lines.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, lines.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return;
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, lines.data(), size, utf8.data(), length, nullptr, nullptr);
  for (std::size_t at = 0; at < utf8.size();) {
    DWORD written = 0;
    if (!WriteFile(handle, utf8.data() + at, static_cast<DWORD>(utf8.size() - at), &written, nullptr) || written == 0) {
      return;
    }
    at += written;
  }
}

}  // namespace

bool IsConsole(OutputStream stream) { return IsConsoleHandle(HandleOf(stream)); }

void WriteText(OutputStream stream, std::string_view gbk) {
  const HANDLE handle = HandleOf(stream);
  if (!handle || gbk.empty()) return;
  const std::wstring text = WideFromGbk(gbk);
  if (IsConsoleHandle(handle)) {
    ClearProgress(handle);
    WriteConsoleText(handle, text);
  } else {
    WriteRedirectedText(handle, text);
  }
}

void WriteLine(OutputStream stream, std::string_view gbk) {
  std::string line(gbk);
  line += '\n';
  WriteText(stream, line);
}

void WriteProgress(OutputStream stream, std::string_view gbk) {
  const HANDLE handle = HandleOf(stream);
  if (!IsConsoleHandle(handle)) return;
  const std::wstring text = WideFromGbk(gbk);
  WriteConsoleText(handle, L"\r" + text);
  g_progressCells = std::max(g_progressCells, 2 * text.size());
}
