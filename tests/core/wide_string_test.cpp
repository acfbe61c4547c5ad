#include <gtest/gtest.h>

#include "core/memory.h"
#include "core/wide_string.h"

namespace {

TEST(DupString, CopiesWithTerminator) {
  char16_t* copy = nullptr;
  EXPECT_EQ(DupString(&copy, u"Apache"), copy);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(std::u16string(copy), u"Apache");
  FreeString(&copy);
  EXPECT_EQ(copy, nullptr);
  FreeString(&copy);  // freeing an empty holder does nothing
}

TEST(DupStringN, CopiesExactlyNOrStopsAtTheTerminator) {
  const struct {
    const char16_t* source;
    size_t n;
    std::u16string expected;
  } cases[] = {
      {u"Hellfire", 4, u"Hell"},
      {u"Hi", 5, u"Hi"},  // stops at the source's terminator, still terminated at n
      {u"abc", 0, u""},
  };
  for (const auto& c : cases) {
    char16_t* copy = nullptr;
    DupStringN(&copy, c.source, c.n);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::u16string(copy), c.expected);
    EXPECT_EQ(copy[c.n], 0);
    FreeString(&copy);
  }
}

TEST(CompareNoCase, IgnoresCaseOfAsciiAndLatin1) {
  EXPECT_EQ(CompareNoCase(u"Missions", u"MISSIONS"), 0);
  EXPECT_EQ(CompareNoCase(u"\u00C9t\u00C9", u"\u00E9t\u00E9"), 0);  // É and é
  EXPECT_NE(CompareNoCase(u"\u00D7", u"\u00F7"), 0);                // × and ÷ are not letters
  EXPECT_LT(CompareNoCase(u"abc", u"ABD"), 0);
  EXPECT_GT(CompareNoCase(u"abcd", u"ABC"), 0);
  EXPECT_TRUE(EqualsNoCase(nullptr, u""));
  EXPECT_FALSE(EqualsNoCase(u"a", u"b"));
}

TEST(Cp1252, WidensOneCharacterPerByte) {
  EXPECT_EQ(WideFromCp1252(std::string("A\x80\x9F\xE9\x81")), std::u16string(u"A\u20AC\u0178\u00E9\u0081"));
  EXPECT_EQ(Cp1252FromWide(u"A\u20AC\u00E9\u0081\u4E00"), std::string("A\x80\xE9\x81?"));
}

TEST(Utf8, RoundTripsIncludingSurrogatePairs) {
  const std::u16string text = u"Caf\u00E9 \u20AC \U0001F681";
  const std::string utf8 = Utf8FromWide(text.c_str());
  EXPECT_EQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9A\x81");
  EXPECT_EQ(WideFromUtf8(utf8), text);
  EXPECT_EQ(WideFromUtf8("a\xC3"), std::u16string(u"a\uFFFD"));  // truncated sequence
}

}  // namespace
