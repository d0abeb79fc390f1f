// Runs the signature sheet tool as a user's console would, and keeps what it said and its exit code.
// Everything crosses to Windows in UTF-16, so the runs are the same whatever code page the system
// runs with; the tool's redirected output is UTF-8.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 as UTF-16; nothing when the bytes are no UTF-8.
inline bool Utf16FromUtf8(std::string_view utf8, std::wstring* wide) {
  wide->clear();
  if (utf8.empty()) return true;
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<std::size_t>(length));
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide->data(), length);
  return true;
}

// UTF-16 as UTF-8, for a test's messages.
inline std::string Utf8FromUtf16(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

struct ToolRun {
  DWORD exitCode = 0xFFFFFFFF;  // stays so when the tool did not start or did not end in time
  std::string output;           // stdout and stderr together, the bytes as written
  bool utf8 = false;            // whether they are UTF-8
  std::wstring text;            // the same read as UTF-8
  bool Says(std::wstring_view part) const { return text.find(part) != std::wstring::npos; }
};

inline std::vector<std::uint8_t> ReadFileWhole(const std::wstring& path) {
  std::vector<std::uint8_t> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  std::uint8_t buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.insert(bytes.end(), buffer, buffer + read);
  CloseHandle(file);
  return bytes;
}

// Waits for the process, pumping messages meanwhile so that a broadcast from the tool would reach
// this thread's windows; ends it after two minutes.
inline DWORD AwaitProcess(const PROCESS_INFORMATION& process) {
  DWORD exitCode = 0xFFFFFFFF;
  const DWORD deadline = GetTickCount() + 120000;
  for (;;) {
    const DWORD now = GetTickCount();
    const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
    const DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, left, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &exitCode);
      break;
    }
    if (woken != WAIT_OBJECT_0 + 1) {
      TerminateProcess(process.hProcess, 99);
      break;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

// `arguments` as one command line after the program's quoted path, run in `workFolder`. Its output
// goes to a new temporary file of its own (a finished process may still hold the last one's handle
// for a moment), read back and deleted when the tool has ended.
inline ToolRun RunTool(const std::wstring& program, const std::wstring& arguments, const std::wstring& workFolder) {
  ToolRun run;
  wchar_t temporaryFolder[MAX_PATH];
  wchar_t outputPath[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, temporaryFolder) || !GetTempFileNameW(temporaryFolder, L"sst", 0, outputPath)) return run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE output = CreateFileW(outputPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) return run;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, workFolder.c_str(), &startup, &process);
  CloseHandle(output);
  if (started) run.exitCode = AwaitProcess(process);
  const std::vector<std::uint8_t> bytes = ReadFileWhole(outputPath);
  DeleteFileW(outputPath);
  run.output.assign(bytes.begin(), bytes.end());
  run.utf8 = Utf16FromUtf8(run.output, &run.text);
  return run;
}

// A run whose standard output and error are a console of this process's own, set to `codePage`,
// and the console's rows afterwards (trailing blanks dropped), as a user in that console sees them.
// `console` is false when no console could be made.
struct ConsoleRun {
  bool console = false;
  DWORD exitCode = 0xFFFFFFFF;
  std::vector<std::wstring> rows;
};

inline ConsoleRun RunToolInConsole(const std::wstring& program, const std::wstring& arguments,
                                   const std::wstring& workFolder, UINT codePage) {
  ConsoleRun run;
  const HANDLE standard[3] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                              GetStdHandle(STD_ERROR_HANDLE)};
  FreeConsole();
  if (!AllocConsole()) return run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inheritable, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  run.console = screen != INVALID_HANDLE_VALUE && SetConsoleOutputCP(codePage) &&
                GetConsoleScreenBufferInfo(screen, &info);
  if (run.console) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = screen;
    startup.hStdError = screen;
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, workFolder.c_str(),
                       &startup, &process)) {
      run.exitCode = AwaitProcess(process);
    }
    GetConsoleScreenBufferInfo(screen, &info);
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
      DWORD read = 0;
      ReadConsoleOutputCharacterW(screen, row.data(), info.dwSize.X, COORD{0, y}, &read);
      std::wstring text = row.substr(0, read);
      text.erase(text.find_last_not_of(L' ') + 1);
      run.rows.push_back(text);
    }
  }
  if (screen != INVALID_HANDLE_VALUE) CloseHandle(screen);
  FreeConsole();
  SetStdHandle(STD_INPUT_HANDLE, standard[0]);
  SetStdHandle(STD_OUTPUT_HANDLE, standard[1]);
  SetStdHandle(STD_ERROR_HANDLE, standard[2]);
  return run;
}
