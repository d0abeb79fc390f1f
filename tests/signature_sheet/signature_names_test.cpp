#include "tools/signature_sheet/signature_names.h"

#include <gtest/gtest.h>

namespace {

NameList Read(const std::string& bytes) {
  return ReadNameList(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(SignatureNames, FormsAreToldApartByTheirCharacters) {
  const struct {
    const char* text;
    const char* chinese;
    const char* english;
  } cases[] = {
      {"王小明/Xiaoming", "王小明", "Xiaoming"},
      {"Liu Dehua / 刘德华", "刘德华", "Liu Dehua"},
      {"  吴郝 ", "吴郝", ""},
      {"Wu Hao", "", "Wu Hao"},
      {"　张伟　", "张伟", ""},  // ideographic spaces around it
      {"欧阳 娜娜", "欧阳 娜娜", ""},
  };
  for (const auto& c : cases) {
    std::string why;
    const std::optional<SignatureName> name = ParseSignatureName(c.text, &why);
    ASSERT_TRUE(name) << c.text << ": " << why;
    EXPECT_EQ(name->chinese, c.chinese) << c.text;
    EXPECT_EQ(name->english, c.english) << c.text;
    EXPECT_EQ(name->For(DesignName::kChinese), c.chinese);
  }
}

TEST(SignatureNames, BadNamesSayWhy) {
  const struct {
    std::string text;
    const char* why;
  } cases[] = {
      {"王\x81", "GBK"},                         // a lead byte without its trail
      {"a\x01" "b", "控制字符"},
      {"王小明/李娜", "两个都是中文名"},
      {"Li/Na", "两个都是英文名"},
      {"王/Wang/W", "多于两个"},
      {"王小明/", "一侧"},
      {"   ", "没有名字"},
      {std::string(65, 'a'), "太长"},
  };
  for (const auto& c : cases) {
    std::string why;
    EXPECT_FALSE(ParseSignatureName(c.text, &why)) << c.text;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.text << ": " << why;
  }
}

TEST(NameList, GbkListWithEveryLineEndingAndABadLineReportedByNumber) {
  const NameList list = Read("王小明/Xiaoming\r\n\r\n刘德华\n王小明/李娜\rWu Hao\n\xFF\xFF\n");
  ASSERT_TRUE(list.error.empty());
  ASSERT_EQ(list.names.size(), 3u);
  EXPECT_EQ(list.names[0].Label(), "王小明/Xiaoming");
  EXPECT_EQ(list.names[1].Label(), "刘德华");
  EXPECT_EQ(list.names[2].Label(), "Wu Hao");
  ASSERT_EQ(list.badLines.size(), 2u);
  EXPECT_EQ(list.badLines[0].number, 4);
  EXPECT_EQ(list.badLines[1].number, 6);
}

TEST(NameList, Utf8AfterAByteOrderMarkIsReadAsGbk) {
  // "张伟/Zhang Wei", "😀" (no GBK form), "李娜" in UTF-8.
  const NameList list = Read("\xEF\xBB\xBF\xE5\xBC\xA0\xE4\xBC\x9F/Zhang Wei\n\xF0\x9F\x98\x80\n\xE6\x9D\x8E\xE5\xA8\x9C\n\xC3\n");
  ASSERT_TRUE(list.error.empty());
  ASSERT_EQ(list.names.size(), 2u);
  EXPECT_EQ(list.names[0].chinese, "张伟");
  EXPECT_EQ(list.names[0].english, "Zhang Wei");
  EXPECT_EQ(list.names[1].chinese, "李娜");
  ASSERT_EQ(list.badLines.size(), 2u);
  EXPECT_EQ(list.badLines[0].number, 2);
  EXPECT_EQ(list.badLines[1].number, 4) << "a cut-off UTF-8 sequence";
}

TEST(NameList, Utf16IsRefusedAsAWholeAndAnEmptyFileHoldsNoNames) {
  EXPECT_FALSE(Read(std::string("\xFF\xFE" "a\0", 4)).error.empty());
  const NameList empty = Read("");
  EXPECT_TRUE(empty.error.empty());
  EXPECT_TRUE(empty.names.empty());
  EXPECT_TRUE(empty.badLines.empty());
}

TEST(PictureFileStem, ReservedCharactersBecomeUnderscoresButGbkTrailBytesStay) {
  EXPECT_EQ(PictureFileStem("王小明", 0), "王小明_00_青砚草签");
  EXPECT_EQ(PictureFileStem("J. R. \"Bob\"", 12), "J__R___Bob__12_英文签四");
  // GBK 81 5C is one character whose trail byte is a backslash: it stays whole.
  EXPECT_EQ(PictureFileStem("\x81\x5C", 3), "\x81\x5C_03_博洋草签");
}

}  // namespace
