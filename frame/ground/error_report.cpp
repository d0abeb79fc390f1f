#include "frame/ground/error_report.h"

#include <string>

#include "frame/ground/platform.h"

namespace {

constexpr const char* kErrorTable[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
constexpr int kErrorTableSize = static_cast<int>(std::size(kErrorTable));
static_assert(kErrorTableSize == 11);

}  // namespace

const char* RuntimeErrorMessage(int code) {
  return code >= 1 && code <= kErrorTableSize ? kErrorTable[code - 1] : nullptr;
}

std::string FormatRuntimeErrorText(int code, const char* message) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) {
    text += "错误代码：";
    text += std::to_string(code);
    text += "\r\n\r\n";
  }
  if (message && *message) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}

void ReportRuntimeError(const char* message, int code) {
  AppFrame& frame = TheFrame();
  ++frame.eventSuppressionCount;
  bool showBox = true;
  if (frame.errorHook && !frame.errorHookRunning) {
    frame.errorHookRunning = true;
    showBox = frame.errorHook(code, message) == 0;
    frame.errorHookRunning = false;
  }
  if (showBox) PlatformShowErrorBox(FormatRuntimeErrorText(code, message).c_str(), "错误");
  frame.cleanupRoutine = nullptr;
  EndProgram(kRuntimeErrorExitCode);
}

void ReportRuntimeErrorByCode(int code) { ReportRuntimeError(RuntimeErrorMessage(code), code); }

void SetErrorHook(ErrorHook hook) { TheFrame().errorHook = hook; }

void RegisterCleanupRoutine(CleanupRoutine routine) { TheFrame().cleanupRoutine = routine; }
