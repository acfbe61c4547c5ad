#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "content/ini.h"
#include "core/memory.h"
#include "core/wide_string.h"

using namespace std::string_literals;

namespace {

// A document as one line of UTF-8 for readable comparisons:
// "[Section] Key=<value><value> Other=" (a key without values ends in "=").
std::string Describe(const IniDocument& document) {
  std::string out;
  for (const IniSection* section : document.sections) {
    if (!out.empty()) out += ' ';
    out += "[" + Utf8FromWide(section->name) + "]";
    for (const IniKey* key : section->keys) {
      out += " " + Utf8FromWide(key->name) + "=";
      for (const IniValue* value : key->values) out += "<" + Utf8FromWide(value->text) + ">";
    }
  }
  return out;
}

std::string Describe(const IniKey& key) {
  std::string out;
  for (const IniValue* value : key.values) out += "<" + Utf8FromWide(value->text) + ">";
  return out;
}

bool Load(IniDocument& document, const std::string& bytes) {
  return document.LoadFromBuffer(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
}

struct DocumentCase {
  const char* label;
  std::string bytes;     // the file as stored (Windows-1252)
  const char* expected;  // Describe() of the parse, UTF-8
};

void ExpectDocuments(const DocumentCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(cases[i].label);
    IniDocument document;
    EXPECT_TRUE(Load(document, cases[i].bytes));
    EXPECT_EQ(Describe(document), cases[i].expected);
  }
}

TEST(IniDocumentTest, SectionHeaders) {
  const DocumentCase cases[] = {
      {"empty input", "", ""},
      {"no bracket at all", "Name = 5\n", ""},
      {"text before the first bracket", "Kestrel content\r\n; a heading\r\nA = 1\r\n[Main]\r\nB = 2\r\n", "[Main] B=<2>"},
      {"blanks around the name", "[  Missions ]", "[Missions]"},
      {"inner blank runs, line ends included", "[ Big \t  Sky\r\n  Ranch ]", "[Big Sky Ranch]"},
      {"empty name", "[]\n[ \t ]\nA=1\n[Next]", "[Next]"},
      {"unclosed at the end", "[Main]\nA=1\n[Unclosed", "[Main] A=<1>"},
      {"unclosed header runs on to the next close", "[Unclosed\n[Next]\nA=1", "[Unclosed [Next] A=<1>"},
      {"header without a body", "[A][B]\r\n\r\n[C]", "[A] [B] [C]"},
      {"same name twice", "[Main]\nA=1\n[MAIN]\nA=2", "[Main] A=<1> [MAIN] A=<2>"},
      {"24 characters kept whole", "[ABCDEFGHIJKLMNOPQRSTUVWX]", "[ABCDEFGHIJKLMNOPQRSTUVWX]"},
      {"longer names keep their first 24", "[ABCDEFGHIJKLMNOPQRSTUVWXYZ0123]\nA=1", "[ABCDEFGHIJKLMNOPQRSTUVWX] A=<1>"},
      {"cut after a joining space", "[ABCDEFGHIJKLMNOPQRSTUVW  XYZ]", "[ABCDEFGHIJKLMNOPQRSTUVW ]"},
  };
  ExpectDocuments(cases, std::size(cases));
}

TEST(IniDocumentTest, BracketEndsTheBody) {
  const DocumentCase cases[] = {
      {"in a comment",
       "[Mission]\nName = Alpha\n// see [notes]\nTime = 5\n",
       "[Mission] Name=<Alpha> [notes] Time=<5>"},
      {"in a value", "[Mission]\nText = a[b]\nX = 1\n", "[Mission] Text=<a> [b] X=<1>"},
      {"in a quoted value", "[Mission]\nText = \"one [two]\"\n", "[Mission] Text=<one> [two]"},
  };
  ExpectDocuments(cases, std::size(cases));
}

TEST(IniDocumentTest, KeyLines) {
  const DocumentCase cases[] = {
      {"two values", "[C]\nForward = 120 60", "[C] Forward=<120><60>"},
      {"nothing after the equals sign", "[C]\nKey=\nKey =  \t\r\nOther = 1", "[C] Other=<1>"},
      {"empty quotes give a key without values", "[C]\nName = \"\"", "[C] Name="},
      {"inner blank runs in the name", "[C]\nResource \t  Splash=301", "[C] Resource Splash=<301>"},
      {"empty name", "[C]\n= 5", "[C] =<5>"},
      {"comments", "[C]\n// A = 1\n/ B = 2\n/\nC = 3 // not a comment", "[C] C=<3><//><not><a><comment>"},
      {"a line without equals sign", "[C]\nno equals here\nA=1", "[C] A=<1>"},
      {"indented, blanks around everything", "[C]\n   Indented  =   x  \t ", "[C] Indented=<x>"},
      {"repeated names are all kept", "[C]\nA = 1\na = 2", "[C] A=<1> a=<2>"},
      {"CR LF lines", "[C]\r\nA = 1\r\nB = \"two words\"\r\nC =\r\n\r\nD = x y \r\n",
       "[C] A=<1> B=<two words> D=<x><y>"},
      {"a body ending without a line end", "[C]\nA = 1", "[C] A=<1>"},
      {"equals signs inside the value", "[C]\nA = b=c", "[C] A=<b=c>"},
      {"long key names keep their first 24 characters",
       "[C]\nABCDEFGHIJKLMNOPQRSTUVWXYZ0123 = 7\nB = 8",
       "[C] ABCDEFGHIJKLMNOPQRSTUVWX=<7> B=<8>"},
      {"a 24-character name before blanks",
       "[C]\nABCDEFGHIJKLMNOPQRSTUVWX   = 7", "[C] ABCDEFGHIJKLMNOPQRSTUVWX=<7>"},
  };
  ExpectDocuments(cases, std::size(cases));
}

TEST(IniDocumentTest, ZeroByteEndsTheText) {
  const DocumentCase cases[] = {
      {"between sections", "[A]\nX = 1\n\0[B]\nY = 2"s, "[A] X=<1>"},
      {"inside a value", "[A]\nX = 12\0 34\nY = 5"s, "[A] X=<12>"},
      {"inside a header", "[A\0]\nX = 1"s, ""},
      {"first byte", "\0[A]\nX = 1"s, ""},
  };
  ExpectDocuments(cases, std::size(cases));
}

TEST(IniDocumentTest, Windows1252BytesBecomeTheirCharacters) {
  const DocumentCase cases[] = {
      {"Latin-1 letters", "[Caf\xE9]\nNa\xEFve = \xC0 \xFF", "[Caf\u00E9] Na\u00EFve=<\u00C0><\u00FF>"},
      {"0x80..0x9F", "[S]\nP = \x80 \x8A \x99 \x9F", "[S] P=<\u20AC><\u0160><\u2122><\u0178>"},
      {"an unassigned byte becomes its C1 control", "[S]\nP = a\x81" "b", "[S] P=<a\u0081b>"},
      // Curly quotes are letters, not the quote of the format; a no-break space is no blank.
      {"curly quotes", "[S]\nQ = \x93Hi there\x94", "[S] Q=<\u201CHi><there\u201D>"},
      {"no-break space", "[S]\nQ = a\xA0" "b", "[S] Q=<a\u00A0b>"},
  };
  ExpectDocuments(cases, std::size(cases));

  IniDocument document;
  ASSERT_TRUE(Load(document, "[Caf\xE9 Ol\xE9]\nR\xC9SUM\xC9 = 1"));
  const IniSection* section = document.FindSection(u"CAF\u00C9 OL\u00C9");
  ASSERT_NE(section, nullptr);
  EXPECT_NE(section->FindKey(u"r\u00E9sum\u00E9"), nullptr);
}

TEST(IniDocumentTest, EmptyAndAbsentInput) {
  IniDocument document;
  EXPECT_TRUE(document.LoadFromBuffer(nullptr, 0));
  EXPECT_EQ(document.sections.Count(), 0);
  EXPECT_TRUE(document.LoadFromBuffer(nullptr, 100));
  EXPECT_EQ(document.sections.Count(), 0);
  document.ParseText(nullptr);
  EXPECT_EQ(document.sections.Count(), 0);
  EXPECT_EQ(document.FindSection(u"Main"), nullptr);
  EXPECT_EQ(document.FindSection(u""), nullptr);
}

TEST(IniDocumentTest, LoadingAgainReplacesEverything) {
  IniDocument document;
  ASSERT_TRUE(Load(document, "[A]\nX = 1\n[B]\nY = 2"));
  ASSERT_TRUE(Load(document, "[C]\nZ = 3"));
  EXPECT_EQ(Describe(document), "[C] Z=<3>");
  ASSERT_TRUE(Load(document, ""));
  EXPECT_EQ(Describe(document), "");
}

TEST(IniDocumentTest, LookupsIgnoreCaseAndReturnTheFirstMatch) {
  IniDocument document;
  ASSERT_TRUE(Load(document,
                   "[Missions]\nCount = 1\n"
                   "[MISSIONS]\nCount = 2\n"
                   "[Chopper]\nResource   Splash = 301\nSpeed = 10\nSPEED = 20\n"));
  const IniSection* missions = document.FindSection(u"missions");
  ASSERT_NE(missions, nullptr);
  EXPECT_EQ(missions, document.sections[0]);

  const IniSection* chopper = document.FindSection(u"CHOPPER");
  ASSERT_NE(chopper, nullptr);
  const IniKey* splash = chopper->FindKey(u"resource splash");
  ASSERT_NE(splash, nullptr);
  EXPECT_EQ(Describe(*splash), "<301>");
  const IniKey* speed = chopper->FindKey(u"speed");
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(Describe(*speed), "<10>");

  EXPECT_EQ(chopper->FindKey(u"Resource Splash "), nullptr);
  EXPECT_EQ(chopper->FindKey(u"Missing"), nullptr);
  EXPECT_EQ(document.FindSection(u"Mission"), nullptr);
}

// An allocator that gives out a set number of blocks and then fails, to run the parser out of
// memory at every step in turn. Installed process-wide for the length of one test.
class OutOfMemoryTest : public testing::Test {
 protected:
  static void* Reallocate(void* block, size_t size) {
    if (allocationsLeft == 0) return nullptr;
    --allocationsLeft;
    return std::realloc(block, size);
  }
  void SetUp() override {
    MemoryHooks hooks;
    hooks.reallocate = Reallocate;
    SetMemoryHooks(hooks);
  }
  void TearDown() override { SetMemoryHooks(MemoryHooks{}); }

  static inline int allocationsLeft = 0;
};

TEST_F(OutOfMemoryTest, LoadGivesUpCleanlyAtEveryStep) {
  const std::string text = "[Chopper]\nName = \"Kestrel Mk II\"\nForward = 120 60\n[Weapon]\nKind = Rocket\n";
  allocationsLeft = 1000;
  IniDocument complete;
  ASSERT_TRUE(Load(complete, text));
  const int needed = 1000 - allocationsLeft;

  for (int available = 0; available < needed; ++available) {
    SCOPED_TRACE(available);
    IniDocument document;
    allocationsLeft = available;
    // The wide copy of the file is the first block: without it there is nothing to parse.
    EXPECT_EQ(Load(document, text), available > 0);
    if (available == 0) {
      EXPECT_EQ(document.sections.Count(), 0);
    }
    // Whatever was read is whole: no value without its text.
    for (const IniSection* section : document.sections) {
      for (const IniKey* key : section->keys) {
        for (const IniValue* value : key->values) {
          ASSERT_NE(value->text, nullptr);
          EXPECT_NE(value->text[0], 0);
        }
      }
    }
  }
  allocationsLeft = needed;
  IniDocument document;
  ASSERT_TRUE(Load(document, text));
  EXPECT_EQ(Describe(document), Describe(complete));
}

TEST(IniSectionTest, ParseBodyReplacesTheKeys) {
  IniSection section;
  section.ParseBody(u"A = 1\nB = 2");
  ASSERT_EQ(section.keys.Count(), 2);
  section.ParseBody(u"C = 3");
  ASSERT_EQ(section.keys.Count(), 1);
  EXPECT_EQ(std::u16string(section.keys[0]->name), u"C");
  section.ParseBody(nullptr);
  EXPECT_EQ(section.keys.Count(), 0);
  EXPECT_EQ(section.FindKey(u"C"), nullptr);
}

TEST(IniKeyTest, ValueLists) {
  struct Case {
    const char16_t* text;
    const char* expected;
  };
  const Case cases[] = {
      {u"100 250 -40", "<100><250><-40>"},
      {u"  spaced   out  ", "<spaced><out>"},
      {u"\"Fly low and fast\"", "<Fly low and fast>"},
      {u"\"  keeps  spaces \" next", "<  keeps  spaces ><next>"},
      {u"\"\" \"\"", ""},
      {u"a \"\" b", "<a><b>"},
      {u"\"unterminated  text", "<unterminated  text>"},
      {u"\"ends at the line\nnext", "<ends at the line><next>"},
      {u"tab\tinside", "<tab\tinside>"},
      {u"\tleading tab", "<leading><tab>"},
      {u"a\"b\"c", "<a><b><c>"},
      // A quote right after an unquoted value is taken as a separator, so it opens nothing.
      {u"1 \"two words\" 3", "<1><two><words><3>"},
      {u"\"a b\"\"c d\"", "<a b><c d>"},
      {u"one\ntwo\r\nthree", "<one><two\r><three>"},
      {u"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.text));
    IniKey key;
    key.ParseValues(c.text);
    EXPECT_EQ(Describe(key), c.expected);
  }
}

TEST(IniKeyTest, ParseValuesStopsAtTheGivenLength) {
  IniKey key;
  key.ParseValues(u"abc def ghi", 5);
  EXPECT_EQ(Describe(key), "<abc><d>");
  key.ParseValues(u"\"abc def\" ghi", 4);
  EXPECT_EQ(Describe(key), "<abc>");
  key.ParseValues(u"abc", 0);
  EXPECT_EQ(Describe(key), "");
  key.ParseValues(u"abc", 100);  // the terminator comes first
  EXPECT_EQ(Describe(key), "<abc>");
  key.ParseValues(nullptr, 10);
  EXPECT_EQ(key.values.Count(), 0);
}

// Names and values past the limits of the format stay within their buffers: names keep their
// first 24 characters and a value line its first 255. Run under the sanitizer build as well.
TEST(IniDocumentTest, OverlongNamesAndValuesStayInBounds) {
  const std::string longName(5000, 'N');
  const std::string longValue(5000, 'v');
  std::string manyValues;
  for (int i = 0; i < 1000; ++i) manyValues += "ab ";
  std::string spacedName;
  for (int i = 0; i < 200; ++i) spacedName += "w  ";

  IniDocument document;
  ASSERT_TRUE(Load(document, "[" + longName + "]\n" +
                                 longName + " = 1\n" +
                                 spacedName + "= 2\n"
                                 "Long = " + longValue + "\n"
                                 "Many = " + manyValues + "\n"
                                 "Quoted = \"" + longValue + "\"\n"
                                 "After = 3\n"
                                 "[" + spacedName + "]\n"));
  ASSERT_EQ(document.sections.Count(), 2);
  const IniSection* section = document.sections[0];
  EXPECT_EQ(Utf8FromWide(section->name), std::string(24, 'N'));
  EXPECT_EQ(Utf8FromWide(document.sections[1]->name), "w w w w w w w w w w w w ");

  ASSERT_EQ(section->keys.Count(), 6);
  EXPECT_EQ(Utf8FromWide(section->keys[0]->name), std::string(24, 'N'));
  EXPECT_EQ(Describe(*section->keys[0]), "<1>");
  EXPECT_EQ(Utf8FromWide(section->keys[1]->name), "w w w w w w w w w w w w ");
  EXPECT_EQ(Describe(*section->keys[1]), "<2>");

  const IniKey* longKey = section->FindKey(u"Long");
  ASSERT_NE(longKey, nullptr);
  EXPECT_EQ(Describe(*longKey), "<" + std::string(255, 'v') + ">");

  // 255 characters hold 85 "ab " groups.
  const IniKey* many = section->FindKey(u"Many");
  ASSERT_NE(many, nullptr);
  EXPECT_EQ(many->values.Count(), 85);

  const IniKey* quoted = section->FindKey(u"Quoted");
  ASSERT_NE(quoted, nullptr);
  EXPECT_EQ(Describe(*quoted), "<" + std::string(254, 'v') + ">");

  const IniKey* after = section->FindKey(u"After");
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(Describe(*after), "<3>");
}

TEST(IniValueTest, ToInt) {
  struct Case {
    const char16_t* text;
    uint32_t expected;
  };
  const Case cases[] = {
      {u"0", 0},
      {u"120", 120},
      {u"007", 7},
      {u"12.5", 12},
      {u"300m", 300},
      {u"-3", 0},
      {u"+3", 0},
      {u" 5", 0},
      {u"abc", 0},
      {u"0x1f", 31},
      {u"0xAbC", 0xABC},
      {u"0X1F", 0},
      {u"0x", 0},
      {u"0xg1", 0},
      {u"0x1fz", 31},
      {u"4294967295", 4294967295u},
      {u"4294967296", 0},  // wraps modulo 2^32
      {u"4294967297", 1},
      {u"0xFFFFFFFF", 0xFFFFFFFFu},
      {u"0x100000002", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.text));
    IniValue value(c.text, StringLength(c.text));
    EXPECT_EQ(value.ToInt(), c.expected);
  }
}

TEST(IniValueTest, ToBool) {
  struct Case {
    const char16_t* text;
    bool expected;
  };
  const Case cases[] = {
      {u"1", true},     {u"True", true},   {u"true", true},  {u"TRUE", true}, {u"t", true},
      {u"10", true},    {u"tiger", true},  {u"0", false},    {u"False", false}, {u"yes", false},
      {u"on", false},   {u"2", false},     {u" true", false}, {u"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.text));
    IniValue value(c.text, StringLength(c.text));
    EXPECT_EQ(value.ToBool(), c.expected);
  }
}

TEST(IniValueTest, Equals) {
  struct Case {
    const char16_t* text;
    const char16_t* word;
    bool expected;
  };
  const Case cases[] = {
      {u"Destroy", u"destroy", true},
      {u"RESCUE", u"Rescue", true},
      {u"Caf\u00C9", u"caf\u00E9", true},
      {u"Destroy", u"Destroyed", false},
      {u"Destroyed", u"Destroy", false},
      {u"Destroy", u"Destroy ", false},
      {u"Destroy", u"", false},
      {u"Destroy", nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8FromWide(c.text) + " / " + Utf8FromWide(c.word));
    IniValue value(c.text, StringLength(c.text));
    EXPECT_EQ(value.Equals(c.word), c.expected);
  }
}

TEST(IniValueTest, NullTextConvertsToNothing) {
  const IniValue value;
  EXPECT_EQ(value.ToInt(), 0u);
  EXPECT_FALSE(value.ToBool());
  EXPECT_FALSE(value.Equals(u""));
  EXPECT_FALSE(value.Equals(nullptr));
}

// The calling pattern of every definition reader: find, check the value count, convert.
TEST(IniDocumentTest, DefinitionFileReadsBack) {
  IniDocument document;
  ASSERT_TRUE(Load(document,
                   "// Kestrel helicopter list\r\n"
                   "[Chopper]\r\n"
                   "Name = \"Kestrel Mk II\"\r\n"
                   "Forward = 120 60\r\n"
                   "Armed = True\r\n"
                   "Colour = 0x1f\r\n"
                   "Kind = Light\r\n"
                   "Empty =\r\n"));
  const IniSection* chopper = document.FindSection(u"chopper");
  ASSERT_NE(chopper, nullptr);

  const IniKey* name = chopper->FindKey(u"Name");
  ASSERT_NE(name, nullptr);
  ASSERT_EQ(name->values.Count(), 1);
  EXPECT_EQ(std::u16string(name->values[0]->text), u"Kestrel Mk II");

  const IniKey* forward = chopper->FindKey(u"forward");
  ASSERT_NE(forward, nullptr);
  ASSERT_EQ(forward->values.Count(), 2);
  EXPECT_EQ(forward->values[0]->ToInt(), 120u);
  EXPECT_EQ(forward->values[1]->ToInt(), 60u);

  EXPECT_TRUE(chopper->FindKey(u"Armed")->values[0]->ToBool());
  EXPECT_EQ(chopper->FindKey(u"Colour")->values[0]->ToInt(), 31u);
  EXPECT_TRUE(chopper->FindKey(u"Kind")->values[0]->Equals(u"LIGHT"));
  EXPECT_EQ(chopper->FindKey(u"Empty"), nullptr);
}

}  // namespace
