#include <gtest/gtest.h>

#include <string>

#include "frame/ground/file_services.h"
#include "frame/ground/owned.h"
#include "frame/ground/service_commands.h"
#include "scratch_folder.h"

namespace {

// A listing and a save the way the program's handlers make them: pattern then empty patterns with
// one slot, and a write of one buffer read back whole.
TEST(FileCommands, ListThenWriteAndReadBack) {
  ScratchFolder folder;
  folder.MakeFile("a.jpg");
  folder.MakeFolder("b.jpg");

  FindSlot slot = nullptr;
  const std::string pattern = folder / "*.jpg";
  ArgRecord find[] = {MakeTextArg(pattern.c_str()), MakeOmittedArg(), MakePointerArg(&slot)};
  ResultRecord result;
  CmdFindFile(&result, 3, find);
  EXPECT_EQ(result.type, kTypeText);
  EXPECT_STREQ(OwnedText(static_cast<Text>(ResultPointer(result))).Get(), "a.jpg");
  find[0] = MakeTextArg("");
  CmdFindFile(&result, 3, find);
  EXPECT_EQ(ResultPointer(result), nullptr);
  EXPECT_EQ(slot, nullptr);
  const ArgRecord close = MakePointerArg(&slot);
  CmdCloseFindHandle(&result, 1, &close);

  OwnedBuffer bytes(MakeByteBuffer("BM", 2));
  const std::string name = folder / "签名.bmp";
  const ArgRecord write[] = {MakeTextArg(name.c_str()), MakeBufferArg(bytes.Get())};
  CmdWriteFile(&result, 2, write);
  EXPECT_EQ(result.type, kTypeBool);
  EXPECT_EQ(result.low, 1u);

  const ArgRecord read = MakeTextArg(name.c_str());
  CmdReadFile(&result, 1, &read);
  OwnedBuffer back(static_cast<ByteBuffer>(ResultPointer(result)));
  ASSERT_EQ(BufferLength(back.Get()), 2u);
  EXPECT_EQ(BufferBytes(back.Get())[1], 'M');
}

// A write whose data is no buffer, or whose name is no text, is refused and touches no file.
TEST(FileCommands, AWriteOfSomethingElseThanBuffersIsRefused) {
  ScratchFolder folder;
  const std::string name = folder / "x.bmp";
  OwnedBuffer bytes(MakeByteBuffer("BM", 2));
  const ArgRecord cases[][3] = {
      {MakeTextArg(name.c_str()), MakeBufferArg(bytes.Get()), MakeIntArg(7)},
      {MakeTextArg(name.c_str()), MakeTextArg("BM"), MakeOmittedArg()},
      {MakeIntArg(5), MakeBufferArg(bytes.Get()), MakeOmittedArg()},
  };
  const int counts[] = {3, 2, 2};
  for (int i = 0; i < 3; ++i) {
    ResultRecord result{};
    CmdWriteFile(&result, counts[i], cases[i]);
    EXPECT_EQ(result.type, kTypeBool) << i;
    EXPECT_EQ(result.low, 0u) << i;
    EXPECT_EQ(GetFileAttributesW(WideOf936(name).c_str()), INVALID_FILE_ATTRIBUTES) << "no file for case " << i;
  }
}

}  // namespace
