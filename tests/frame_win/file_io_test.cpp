#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/ground/file_services.h"
#include "frame/ground/owned.h"
#include "frame/ground/win_handles.h"
#include "scratch_folder.h"

namespace {

std::string Contents(ByteBuffer buffer) {
  return std::string(reinterpret_cast<const char*>(BufferBytes(buffer)), BufferLength(buffer));
}

TEST(ReadFileBytes, MissingEmptyAndNormalFiles) {
  ScratchFolder folder;
  folder.MakeFile("empty.bin", "");
  folder.MakeFile("签名.bmp", std::string("BM\0\x01tail", 7));

  EXPECT_EQ(ReadFileBytes((folder / "missing.bin").c_str()), nullptr);
  EXPECT_EQ(ReadFileBytes((folder / "empty.bin").c_str()), nullptr);
  EXPECT_EQ(ReadFileBytes(""), nullptr);
  EXPECT_EQ(ReadFileBytes(nullptr), nullptr);
  EXPECT_EQ(ReadFileBytes(folder.Path().c_str()), nullptr) << "a folder is no file";

  OwnedBuffer bytes(ReadFileBytes((folder / "签名.bmp").c_str()));
  EXPECT_EQ(Contents(bytes.Get()), std::string("BM\0\x01tail", 7));
}

TEST(ReadFileBytes, OthersMayReadButNotWriteMeanwhile) {
  ScratchFolder folder;
  folder.MakeFile("shared.bin", "abc");
  // A reader that lets others read only: our read must still succeed.
  UniqueFileHandle reader(CreateFileA((folder / "shared.bin").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes((folder / "shared.bin").c_str())).Get()), "abc");
  // A writer: our read asks others not to write, so it fails.
  UniqueFileHandle writer(CreateFileA((folder / "locked.bin").c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS, 0,
                                      nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(ReadFileBytes((folder / "locked.bin").c_str()), nullptr);
}

TEST(WriteFileBytes, WritesEveryBufferInOrder) {
  ScratchFolder folder;
  OwnedBuffer head(MakeByteBuffer("BM", 2));
  OwnedBuffer tail(MakeByteBuffer("rows", 4));
  const ByteBuffer buffers[] = {head.Get(), nullptr, tail.Get()};
  const std::string name = folder / "签名.bmp";
  ASSERT_TRUE(WriteFileBytes(name.c_str(), buffers, 3));
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes(name.c_str())).Get()), "BMrows");

  // Replacing a longer file leaves nothing of the old content.
  folder.MakeFile("long.bin", "0123456789");
  ASSERT_TRUE(WriteFileBytes((folder / "long.bin").c_str(), buffers, 1));
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes((folder / "long.bin").c_str())).Get()), "BM");
  EXPECT_EQ(folder.Entries().size(), 2u) << "no temporary file is left behind";
}

TEST(WriteFileBytes, AnEmptyBufferCreatesAnEmptyFile) {
  ScratchFolder folder;
  const ByteBuffer nothing[] = {nullptr};
  const std::string name = folder / "empty.bmp";
  EXPECT_TRUE(WriteFileBytes(name.c_str(), nothing, 1));
  EXPECT_NE(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileBytes(name.c_str()), nullptr);
  EXPECT_TRUE(WriteFileBytes((folder / "none.bmp").c_str(), nullptr, 0));
}

TEST(WriteFileBytes, AFailedWriteKeepsTheOldFile) {
  ScratchFolder folder;
  folder.MakeFile("keep.bmp", "old content");
  OwnedBuffer fresh(MakeByteBuffer("new", 3));
  const ByteBuffer buffers[] = {fresh.Get()};
  {
    // Someone holds the file open without letting it be replaced.
    UniqueFileHandle holder(CreateFileA((folder / "keep.bmp").c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(WriteFileBytes((folder / "keep.bmp").c_str(), buffers, 1));
  }
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes((folder / "keep.bmp").c_str())).Get()), "old content");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"keep.bmp"}) << "the temporary file is gone";

  EXPECT_FALSE(WriteFileBytes((folder / "no such folder\\x.bmp").c_str(), buffers, 1));
  EXPECT_FALSE(WriteFileBytes("", buffers, 1));
}

}  // namespace
