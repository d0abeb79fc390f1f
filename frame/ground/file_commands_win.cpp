#include <vector>

#include "frame/ground/file_services.h"
#include "frame/ground/service_commands.h"

void CmdFindFile(ResultRecord* result, int argCount, const ArgRecord* args) {
  const ArgRecord mask = ArgAt(argCount, args, 1);
  auto* slot = static_cast<FindSlot*>(ArgPointer(ArgAt(argCount, args, 2)));
  // Without a slot there is nowhere to keep the search: it is closed again at once.
  FindSlot localSlot = nullptr;
  Text name = FindFile(ArgText(ArgAt(argCount, args, 0)), static_cast<std::uint32_t>(ArgInt(mask)),
                       ArgOmitted(mask), slot ? slot : &localSlot);
  CloseFindHandle(&localSlot);
  SetResultText(result, name);
}

void CmdCloseFindHandle(ResultRecord* result, int argCount, const ArgRecord* args) {
  if (auto* slot = static_cast<FindSlot*>(ArgPointer(ArgAt(argCount, args, 0)))) CloseFindHandle(slot);
  *result = {0, 0, kTypeOmitted};
}

void CmdReadFile(ResultRecord* result, int argCount, const ArgRecord* args) {
  SetResultBuffer(result, ReadFileBytes(ArgText(ArgAt(argCount, args, 0))));
}

void CmdWriteFile(ResultRecord* result, int argCount, const ArgRecord* args) {
  // A call whose name is no text, or whose data is no buffer, is refused before the file is touched:
  // the values could not be read as what they claim to be.
  const ArgRecord name = ArgAt(argCount, args, 0);
  if (name.type != kTypeText) {
    SetResultBool(result, false);
    return;
  }
  std::vector<ByteBuffer> buffers;
  for (int i = 1; i < argCount; ++i) {
    if (args[i].type != kTypeBuffer) {
      SetResultBool(result, false);
      return;
    }
    buffers.push_back(ArgBuffer(args[i]));
  }
  SetResultBool(result, WriteFileBytes(ArgText(name), buffers.data(),
                                       static_cast<int>(buffers.size())));
}
