#include "text/codepage.h"

#include <gtest/gtest.h>

namespace vellox {
namespace {

TEST(CodePage, Utf8AndGbkRoundTrip) {
  struct Case {
    const char* name;
    std::string utf8;
    Text gbk;
  };
  const Case cases[] = {
      {"ASCII", "abc 123\r\n", "abc 123\r\n"},
      {"Chinese", "所有地区", "\xCB\xF9\xD3\xD0\xB5\xD8\xC7\xF8"},
      {"full-width space", "\xE3\x80\x80", "\xA1\xA1"},
      {"trail byte that looks like a backslash", "乗", "\x81\x5C"},
      {"full-width digits", "１２", "\xA3\xB1\xA3\xB2"},
      {"euro sign of code page 936", "\xE2\x82\xAC", "\x80"},
      {"NUL byte", std::string("a\0b", 3), Text("a\0b", 3)},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk);
    EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8);
    Text strict;
    EXPECT_TRUE(utf8ToGbkStrict(c.utf8, strict));
    EXPECT_EQ(strict, c.gbk);
  }
}

TEST(CodePage, LossBecomesQuestionMarkAndNeverStops) {
  struct Case {
    const char* name;
    std::string utf8;
    Text gbk;
  };
  const Case cases[] = {
      {"character outside GBK", "a\xF0\x9F\x98\x80z", "a?z"},       // an emoji
      {"Korean outside GBK", "\xED\x95\x9C!", "?!"},                  // 한
      {"stray continuation byte", "a\x80z", "a?z"},
      {"truncated sequence at the end", "ab\xE4\xB8", "ab?"},
      {"truncated sequence in the middle", "\xE4\xB8z", "?z"},
      {"overlong encoding", "\xC0\xAFz", "??z"},
      {"encoded surrogate", "\xED\xA0\x80z", "???z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(utf8ToGbk(c.utf8), c.gbk);
    Text strict;
    EXPECT_FALSE(utf8ToGbkStrict(c.utf8, strict));
  }
}

TEST(CodePage, InvalidGbkBecomesQuestionMark) {
  struct Case {
    const char* name;
    Text gbk;
    std::string utf8;
  };
  const Case cases[] = {
      {"lead byte at the end", "ab\x81", "ab?"},
      {"lead byte before ASCII keeps the ASCII", "\x81\"x", "?\"x"},
      {"unassigned code", "\xA2\xA0z", "?z"},
      {"byte FF", "\xFFz", "?z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gbkToUtf8(c.gbk), c.utf8);
  }
}

TEST(CodePage, Utf16) {
  const Text gbk = "\xB1\xB1\xBE\xA9 x\x81\x5C";  // 北京 x乗
  const std::u16string utf16 = u"北京 x乗";
  EXPECT_EQ(gbkToUtf16(gbk), utf16);
  EXPECT_EQ(utf16ToGbk(utf16), gbk);
  EXPECT_EQ(utf16ToGbk(u"a\U0001F600b"), "a?b") << "a surrogate pair is one missing character";
  EXPECT_EQ(utf16ToGbk(std::u16string{u'a', char16_t(0xD800), u'b'}), "a?b");
  EXPECT_EQ(gbkToUtf16("\x81"), u"?");
}

TEST(CodePage, EveryGbkCharacterRoundTrips) {
  // Each assigned double-byte code decodes to one character that encodes back to the same code,
  // apart from the few codes that share a character with an earlier code.
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const Text gbk{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string u = gbkToUtf16(gbk);
      ASSERT_EQ(u.size(), 1u);
      if (u == u"?") continue;
      ++assigned;
      const Text back = utf16ToGbk(u);
      EXPECT_EQ(gbkToUtf16(back), u) << std::hex << lead << ' ' << trail;
    }
  }
  EXPECT_GT(assigned, 21000) << "GBK assigns about 21,900 double-byte codes";
}

}  // namespace
}  // namespace vellox
