#include "frame/entry_operations.h"

#include "forms/properties.h"
#include "frame/ground/error_report.h"
#include "frame/ground/external_functions.h"
#include "frame/ground/file_services.h"
#include "frame/frame_loop.h"
#include "frame/ground/memory.h"

namespace {

void AllocateFree(void* block) { FrameFree(block); }
void* AllocateBlock(std::size_t size) { return FrameAllocate(size); }
void* ResizeBlock(void* block, std::size_t size) { return FrameResize(block, size); }
void EndProgramEntry(int exitCode) { EndProgram(exitCode); }
void ReportByCodeEntry(int code) { ReportRuntimeErrorByCode(code); }

}  // namespace

ResultRecord CallCommand(CommandFunction command, int argCount, const ArgRecord* args) {
  ResultRecord result{};
  command(&result, argCount, args);
  return result;
}

const EntryOperations& TheEntryOperations() {
  static const EntryOperations operations{
      InitialiseFrame, RegisterCleanupRoutine, LoadStartWindow, RunMessageLoop, EndProgramEntry,
      ReportByCodeEntry, AllocateBlock, ResizeBlock, AllocateFree, CallCommand, ReadProperty, WriteProperty,
      CallExternalFunctionWords, FindFile, CloseFindHandle, ProcessPendingEvents};
  return operations;
}

void RunProgram(int (*entryRoutine)()) {
  entryRoutine();
  EndProgram(LoopExitCode());
}
