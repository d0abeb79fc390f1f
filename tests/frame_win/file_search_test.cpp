#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frame/ground/file_services.h"
#include "frame/ground/owned.h"
#include "scratch_folder.h"

namespace {

// Every name a listing returns, sorted (the file system's order is not ours to fix).
std::vector<std::string> ListAll(const std::string& pattern, std::uint32_t mask, bool maskOmitted,
                                 FindSlot* slot) {
  std::vector<std::string> names;
  for (OwnedText name(FindFile(pattern.c_str(), mask, maskOmitted, slot)); name;
       name.Reset(FindFile("", mask, maskOmitted, slot))) {
    names.emplace_back(name.Get());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.MakeFile("a.jpg");
    folder_.MakeFile("背景.jpg");
    folder_.MakeFile("c.gif");
    folder_.MakeFolder("folder.jpg");
    folder_.MakeFolder("sub");
    folder_.MakeFile("hidden.jpg");
    SetFileAttributesW((folder_ / std::wstring(L"hidden.jpg")).c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  ScratchFolder folder_;
};

TEST_F(FindFileTest, MaskOmittedNeverReturnsDirectories) {
  FindSlot slot = nullptr;
  EXPECT_EQ(ListAll(folder_ / "*.jpg", 0, true, &slot),
            (std::vector<std::string>{"a.jpg", "hidden.jpg", "背景.jpg"}));
  EXPECT_EQ(slot, nullptr) << "the slot is reset after the last entry";

  EXPECT_EQ(ListAll(folder_ / "*", 0, true, &slot),
            (std::vector<std::string>{"a.jpg", "c.gif", "hidden.jpg", "背景.jpg"}))
      << "\".\", \"..\" and folders stay out";
}

TEST_F(FindFileTest, ExplicitMasksSelectByAttribute) {
  FindSlot slot = nullptr;
  EXPECT_EQ(ListAll(folder_ / "*", kAttrDirectory, false, &slot),
            (std::vector<std::string>{".", "..", "folder.jpg", "sub"}));
  EXPECT_EQ(ListAll(folder_ / "*.jpg", kAttrHidden, false, &slot),
            (std::vector<std::string>{"hidden.jpg"}));
  // Bits outside read-only, hidden, system, directory and archive are ignored.
  EXPECT_EQ(ListAll(folder_ / "*.jpg", 0x80 | kAttrHidden, false, &slot),
            (std::vector<std::string>{"hidden.jpg"}));
  EXPECT_EQ(slot, nullptr);
}

TEST_F(FindFileTest, EmptyPatternWithoutAnOpenSearchAnswersEmpty) {
  FindSlot slot = nullptr;
  EXPECT_EQ(FindFile("", 0, true, &slot), nullptr);
  EXPECT_EQ(FindFile(nullptr, 0, true, &slot), nullptr);
  EXPECT_EQ(slot, nullptr);
}

TEST_F(FindFileTest, NewPatternReplacesTheOpenSearchAndCloseResetsTheSlot) {
  FindSlot slot = nullptr;
  OwnedText first(FindFile((folder_ / "*.jpg").c_str(), 0, true, &slot));
  ASSERT_TRUE(first);
  ASSERT_NE(slot, nullptr) << "the listing is still open";
  OwnedText gif(FindFile((folder_ / "*.gif").c_str(), 0, true, &slot));
  EXPECT_STREQ(gif.Get(), "c.gif");
  EXPECT_EQ(OwnedText(FindFile("", 0, true, &slot)).Get(), nullptr);
  EXPECT_EQ(slot, nullptr);

  first.Reset(FindFile((folder_ / "*.jpg").c_str(), 0, true, &slot));
  CloseFindHandle(&slot);
  EXPECT_EQ(slot, nullptr);
  CloseFindHandle(&slot);  // closing a closed slot is harmless
}

TEST_F(FindFileTest, NoMatchLeavesTheSlotEmpty) {
  FindSlot slot = nullptr;
  EXPECT_EQ(FindFile((folder_ / "*.bmp").c_str(), 0, true, &slot), nullptr);
  EXPECT_EQ(FindFile((folder_ / "missing\\*.jpg").c_str(), 0, true, &slot), nullptr);
  EXPECT_EQ(slot, nullptr);
}

// The program lists its backgrounds in "背景图片" under its own folder and finds them by name.
TEST(FindFile, AChineseFolderListsItsChineseNamesAsGbk) {
  ScratchFolder folder(L"云笺签名设计\\背景图片");
  for (const wchar_t* name : {L"01-信纸.jpg", L"a.jpg", L"宣纸 (2).jpg", L"不是图片.txt"}) ASSERT_TRUE(folder.MakeFile(name));
  FindSlot slot = nullptr;
  EXPECT_EQ(ListAll(folder / "*.jpg", 0, true, &slot), (std::vector<std::string>{"01-信纸.jpg", "a.jpg", "宣纸 (2).jpg"}));
  EXPECT_EQ(slot, nullptr);
  OwnedText one(FindFile((folder / "宣纸*").c_str(), 0, true, &slot));
  EXPECT_STREQ(one.Get(), "宣纸 (2).jpg") << "a Chinese pattern";
  CloseFindHandle(&slot);
}

// The short (8.3) name the volume keeps for `path`'s last part, if any.
std::optional<std::wstring> ShortNameOf(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = L"";
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  const std::wstring whole(shortPath, length);
  return whole.substr(whole.rfind(L'\\') + 1);
}

// A name with a character GBK has no code for (a Korean syllable, "ë", an emoji) cannot be given
// to the program as it is: "?" in its place would open nothing, or another file. It is answered by
// its short name where the volume keeps one, which opens the same file, or passed over.
TEST(FindFile, ANameGbkCannotSpellIsAnsweredByItsShortNameOrPassedOver) {
  ScratchFolder folder(L"背景图片");
  ASSERT_TRUE(folder.MakeFile(std::wstring(L"背景.jpg"), "gbk"));
  const struct {
    const wchar_t* name;
    const char* content;
  } files[] = {{L"한.jpg", "hangul"}, {L"Zo\u00EB.jpg", "e with diaeresis"}, {L"a\U0001F600b.jpg", "emoji"}};
  for (const auto& file : files) {
    ASSERT_FALSE(GbkOf936(file.name)) << "GBK spells the name: no case";
    ASSERT_TRUE(folder.MakeFile(std::wstring(file.name), file.content));
  }

  // Each name the program is answered, with what the program's own reader reads by it.
  FindSlot slot = nullptr;
  std::map<std::string, std::string> answered;
  for (const std::string& name : ListAll(folder / "*.jpg", 0, true, &slot)) {
    EXPECT_EQ(name.find('?'), std::string::npos) << name;
    OwnedBuffer bytes(ReadFileBytes((folder / name).c_str()));
    answered[name] = bytes ? std::string(reinterpret_cast<const char*>(BufferBytes(bytes.Get())), BufferLength(bytes.Get()))
                           : "(opens nothing)";
  }
  std::map<std::string, std::string> expected{{"背景.jpg", "gbk"}};
  for (const auto& file : files) {
    const std::optional<std::wstring> shortName = ShortNameOf(folder / std::wstring(file.name));
    if (const std::optional<std::string> gbk = shortName ? GbkOf936(*shortName) : std::nullopt) {
      expected[*gbk] = file.content;
    }
  }
  EXPECT_EQ(answered, expected);
}

}  // namespace
