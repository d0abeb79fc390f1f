#include <gtest/gtest.h>

#include <algorithm>
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
    SetFileAttributesA((folder_ / "hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
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

}  // namespace
