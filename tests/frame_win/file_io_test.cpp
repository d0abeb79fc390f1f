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

// The program's files live under its own folder, whose name is Chinese ("云笺签名设计\\背景图片"),
// and a saved signature takes the name the user typed. A GBK path read in another code page than
// 936 names another file or none, so each file must be found under its own UTF-16 name.
TEST(FileBytes, AChineseNameInAChineseFolderIsWrittenAndReadUnderItsOwnName) {
  ScratchFolder folder(L"云笺签名设计\\背景图片");
  std::string picture;
  for (int i = 0; i < 1000; ++i) picture += static_cast<char>(i * 7);  // every byte value, "\\" and NUL too
  OwnedBuffer head(MakeByteBuffer(picture.data(), 14));
  OwnedBuffer rest(MakeByteBuffer(picture.data() + 14, picture.size() - 14));
  const ByteBuffer buffers[] = {head.Get(), rest.Get()};
  ASSERT_TRUE(WriteFileBytes((folder / "王小明的签名.bmp").c_str(), buffers, 2));
  EXPECT_EQ(WideEntriesIn(folder.WidePath()), std::vector<std::wstring>{L"王小明的签名.bmp"});
  EXPECT_EQ(WideFileContents(folder / std::wstring(L"王小明的签名.bmp")), picture);
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes((folder / "王小明的签名.bmp").c_str())).Get()), picture);

  // A file someone else put there under its UTF-16 name is read by its GBK one.
  ASSERT_TRUE(folder.MakeFile(std::wstring(L"01-信纸.jpg"), "\xFF\xD8jpeg"));
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes((folder / "01-信纸.jpg").c_str())).Get()), "\xFF\xD8jpeg");
}

TEST(ReadFileBytes, OthersMayReadButNotWriteMeanwhile) {
  ScratchFolder folder;
  folder.MakeFile("shared.bin", "abc");
  // A reader that lets others read only: our read must still succeed.
  UniqueFileHandle reader(CreateFileW((folder / std::wstring(L"shared.bin")).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(reader);
  EXPECT_EQ(Contents(OwnedBuffer(ReadFileBytes((folder / "shared.bin").c_str())).Get()), "abc");
  // A writer: our read asks others not to write, so it fails.
  UniqueFileHandle writer(CreateFileW((folder / std::wstring(L"locked.bin")).c_str(), GENERIC_WRITE,
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
  EXPECT_NE(GetFileAttributesW((folder / std::wstring(L"empty.bmp")).c_str()), INVALID_FILE_ATTRIBUTES);
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
    UniqueFileHandle holder(CreateFileW((folder / std::wstring(L"keep.bmp")).c_str(), GENERIC_READ,
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
