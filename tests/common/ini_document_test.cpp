#include "common/ini_document.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"

using corvane::testing::TempFolder;

namespace {

using common::IniDocument;
using common::IniError;
using namespace std::string_literals;

constexpr const char* kMissing = "<default>";

struct LookupCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::string expected;
};

class IniReading : public ::testing::TestWithParam<LookupCase> {};

TEST_P(IniReading, FindsTheValueTheRulesGive) {
  const LookupCase& c = GetParam();
  const IniDocument document = IniDocument::parse(c.text);
  EXPECT_EQ(document.readString(c.section, c.key, kMissing), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReading,
    ::testing::Values(
        LookupCase{"BlanksAroundEqualsAndValue", "[Svc]\r\n  StartupType  =   auto  \r\n", "Svc",
                   "StartupType", "auto"},
        LookupCase{"KeyNameIgnoresCase", "[Svc]\r\nstartuptype=manual\r\n", "Svc", "StartupType",
                   "manual"},
        LookupCase{"SectionNameIgnoresCase", "[ALERTER]\r\nk=v\r\n", "Alerter", "k", "v"},
        LookupCase{"BlanksInsideBrackets", "[  Svc  ]\r\nk=v\r\n", "Svc", "k", "v"},
        LookupCase{"ControlCharactersStripped", "\t[Svc]\x01\r\n\x02k=\tv\x7f\x1f\r\n", "Svc", "k",
                   "v"},
        LookupCase{"RepeatedKeyLastWins", "[S]\r\nk=first\r\nK=second\r\n", "S", "k", "second"},
        LookupCase{"RepeatedSectionLastWins", "[S]\r\nk=first\r\n[T]\r\n[s]\r\nk=second\r\n", "S",
                   "k", "second"},
        LookupCase{"KeyOnlyInEarlierOccurrenceIsNotFound", "[S]\r\nonlyfirst=1\r\n[S]\r\nk=2\r\n",
                   "S", "onlyfirst", kMissing},
        LookupCase{"LinesBeforeFirstSectionIgnored", "k=v\r\n[S]\r\nother=1\r\n", "S", "k",
                   kMissing},
        LookupCase{"CommentLineIgnored", "[S]\r\n;k=v\r\n", "S", "k", kMissing},
        LookupCase{"IndentedCommentIgnored", "[S]\r\n   ; k=v\r\n", "S", "k", kMissing},
        LookupCase{"SemicolonLaterInLineIsPartOfValue", "[S]\r\nk=v ; note\r\n", "S", "k",
                   "v ; note"},
        LookupCase{"FirstEqualsSplits", "[S]\r\nk = a=b \r\n", "S", "k", "a=b"},
        LookupCase{"EmptyValueIsNotMissing", "[S]\r\nk=\r\n", "S", "k", ""},
        LookupCase{"MissingSection", "[S]\r\nk=v\r\n", "T", "k", kMissing},
        LookupCase{"LineFeedOnly", "[S]\nk=v\n", "S", "k", "v"},
        LookupCase{"CarriageReturnOnly", "[S]\rk=v\r", "S", "k", "v"},
        LookupCase{"NoFinalLineBreak", "[S]\r\nk=v", "S", "k", "v"},
        LookupCase{"UnclosedBracketIsNoSection", "[S]\r\n[T\r\nk=v\r\n", "S", "k", "v"},
        LookupCase{"HeaderWinsOverEquals", "[S]\r\n[a=b]\r\nk=v\r\n", "a=b", "k", "v"},
        LookupCase{"NulInsideValueKept", "[S]\r\nk=a\0b\0\r\n"s, "S", "k", "a\0b"s},
        LookupCase{"EightBitBytesKept", "[S]\r\nk=\xe4\xf6\xfc\r\n", "S", "k", "\xe4\xf6\xfc"},
        LookupCase{"CaseRuleIsAsciiOnly", "[\xc4]\r\nk=v\r\n", "\xe4", "k", kMissing}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST(IniDocument, PlainLinesStayInTheirSectionButAreNoKeys) {
  const IniDocument document =
      IniDocument::parse("[S]\r\nplain text\r\nk=v\r\n  another plain  \r\n[T]\r\n");
  EXPECT_EQ(document.keyNames("s"), std::vector<std::string>{"k"});
  EXPECT_EQ(document.sectionLines("S"),
            (std::vector<std::string>{"plain text", "k=v", "another plain"}));
  EXPECT_FALSE(document.valueExists("S", "plain text"));
  EXPECT_EQ(document.serialize(), "[S]\r\nplain text\r\nk=v\r\nanother plain\r\n\r\n[T]\r\n\r\n");
}

TEST(IniDocument, SectionNamesInFileOrderWithRepeats) {
  const IniDocument document = IniDocument::parse("junk\r\n[b]\r\n[A]\r\n[B]\r\n[]\r\n");
  EXPECT_EQ(document.sectionNames(), (std::vector<std::string>{"b", "A", "B", ""}));
  EXPECT_TRUE(document.sectionExists(""));
  EXPECT_FALSE(document.sectionExists("c"));
}

TEST(IniDocument, TwoSectionsOfOneKeyAreWrittenAsSixLines) {
  IniDocument document;
  document.writeString("First", "Alpha", "1");
  document.writeString("Second", "Beta", "two words");
  EXPECT_EQ(document.serialize(), "[First]\r\nAlpha=1\r\n\r\n[Second]\r\nBeta=two words\r\n\r\n");
}

TEST(IniDocument, ChangesKeepExistingPlacesAndAppendNewOnes) {
  IniDocument document = IniDocument::parse("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
  document.writeString("a", "X", "10");   // in place, original spelling kept
  document.writeString("A", "new", "4");  // end of its section, not of the document
  document.writeString("C", "k", "5");    // new section at the end
  EXPECT_EQ(document.serialize(),
            "[A]\r\nx=10\r\ny=2\r\nnew=4\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nk=5\r\n\r\n");
}

TEST(IniDocument, WritingARepeatedNameChangesTheOccurrenceLookupsFind) {
  IniDocument document = IniDocument::parse("[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\nk=4\r\n");
  document.writeString("S", "k", "new");
  document.writeString("S", "added", "a");
  EXPECT_EQ(document.readString("S", "k", kMissing), "new");
  EXPECT_EQ(document.readString("S", "added", kMissing), "a");
  EXPECT_EQ(document.serialize(),
            "[S]\r\nk=1\r\nk=2\r\n\r\n[S]\r\nk=3\r\nk=new\r\nadded=a\r\n\r\n");
}

// Small sections are searched line by line, large ones through an index: both must follow the
// same rules, also while a section grows from one kind into the other.
TEST(IniDocument, SectionsOfEverySizeFollowTheSameRules) {
  for (int keys : {1, 12, 13, 14, 40}) {
    std::string text = "[S]\r\n";
    for (int i = 0; i < keys; ++i) {
      text.append("Key").append(std::to_string(i)).append("=").append(std::to_string(i));
      text.append("\r\n");
    }
    text += "key0=last\r\n";
    IniDocument document = IniDocument::parse(text);
    const std::string lastKey = "KEY" + std::to_string(keys - 1);
    EXPECT_EQ(document.readString("S", "KEY0", kMissing), "last") << keys;
    EXPECT_EQ(document.readString("s", lastKey, kMissing),
              keys == 1 ? "last" : std::to_string(keys - 1));
    EXPECT_FALSE(document.valueExists("S", "Key" + std::to_string(keys)));

    document.writeString("S", "Key0", "changed");
    for (int i = 0; i < 3; ++i) {
      document.writeString("S", "New" + std::to_string(i), "n");
    }
    document.writeString("S", "new1", "again");
    EXPECT_EQ(document.readString("S", "key0", kMissing), "changed") << keys;
    EXPECT_EQ(document.readString("S", "NEW1", kMissing), "again") << keys;
    const std::vector<std::string> lines = document.sectionLines("S");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(keys) + 4) << keys;
    EXPECT_EQ(lines[0], "Key0=0") << keys;
    EXPECT_EQ(lines[static_cast<std::size_t>(keys)], "key0=changed") << keys;
    EXPECT_EQ(lines.back(), "New2=n") << keys;
  }
}

TEST(IniDocument, RefusesTextsThatWouldReadBackAsSomethingElse) {
  const std::vector<std::vector<std::string>> refused = {
      {"S\r\n[T]", "k", "v"}, {"S", "k\nx", "v"}, {"S", "k", "line1\r\nline2"}, {"S", "k", "v\r"},
      {"S", "a=b", "v"},      {"S", ";k", "v"},   {"S", "  ;k", "v"},           {"S", "[k", "v]"}};
  for (const auto& texts : refused) {
    IniDocument document = IniDocument::parse("[S]\r\nk=old\r\n");
    EXPECT_THROW(document.writeString(texts[0], texts[1], texts[2]), IniError)
        << texts[0] << "/" << texts[1] << "/" << texts[2];
    EXPECT_EQ(document.serialize(), "[S]\r\nk=old\r\n\r\n");
  }
}

TEST(IniDocument, EraseSectionRemovesEveryOccurrenceAndKeepsLookupsRight) {
  IniDocument document = IniDocument::parse(
      "[A]\r\nk=a\r\n[B]\r\nk=b1\r\n[C]\r\nk=c\r\n[b]\r\nk=b2\r\n[D]\r\nk=d\r\n");
  document.eraseSection("B");
  EXPECT_EQ(document.sectionNames(), (std::vector<std::string>{"A", "C", "D"}));
  EXPECT_FALSE(document.sectionExists("b"));
  EXPECT_EQ(document.readString("C", "k", kMissing), "c");
  EXPECT_EQ(document.readString("D", "k", kMissing), "d");
  document.writeString("D", "k", "d2");
  EXPECT_EQ(document.serialize(), "[A]\r\nk=a\r\n\r\n[C]\r\nk=c\r\n\r\n[D]\r\nk=d2\r\n\r\n");

  document.eraseSections();
  EXPECT_EQ(document.serialize(), "");
  EXPECT_EQ(document.readString("A", "k", kMissing), kMissing);
}

TEST(IniDocument, SerializedDocumentReadsBackUnchanged) {
  const IniDocument original = IniDocument::parse(
      "; header\r\n[-options-]\r\nApplyStatus = 1\r\n[Alerter]\r\n"
      "DisplayName=Alerter\r\nplain\r\n=empty key\r\n[]\r\n[x]\r\nk=a=b\r\n");
  const std::string text = original.serialize();
  EXPECT_EQ(IniDocument::parse(text).serialize(), text);
  EXPECT_EQ(IniDocument::parse(text).readString("-OPTIONS-", "applystatus", kMissing), "1");
}

// Arbitrary bytes, NUL included, parse without harm, and what they give writes and reads back
// as the same document.
TEST(IniDocument, BinaryInputParsesAndRoundTrips) {
  std::mt19937 random(12345);
  const std::string alphabet = "[]=;\r\n \t\0abcAB\x80\xff"s;
  for (int round = 0; round < 20; ++round) {
    std::string bytes(64 * 1024, '\0');
    for (char& c : bytes) {
      c = round % 2 == 0 ? static_cast<char>(random() & 0xFF)
                         : alphabet[random() % alphabet.size()];
    }
    const std::string once = IniDocument::parse(bytes).serialize();
    EXPECT_EQ(IniDocument::parse(once).serialize(), once) << "round " << round;
  }
}

TEST(IniDocument, HugeLineAndManySections) {
  std::string text = "[S]\r\nk=" + std::string(4 * 1024 * 1024, 'x') + "\r\n";
  for (int i = 0; i < 5000; ++i) {
    text.append("[").append(std::to_string(i)).append("]\r\nType=");
    text.append(std::to_string(i % 7)).append("\r\n");
  }
  const IniDocument document = IniDocument::parse(text);
  EXPECT_EQ(document.readString("S", "k", "").size(), 4u * 1024 * 1024);
  EXPECT_EQ(document.readString("4999", "type", kMissing), "1");
  EXPECT_EQ(document.sectionNames().size(), 5001u);
}

class IniFile : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(IniFile, MissingFileIsAnEmptyDocument) {
  const IniDocument document = IniDocument::open(folder / "settings.ini");
  EXPECT_EQ(document.path(), folder / "settings.ini");
  EXPECT_TRUE(document.sectionNames().empty());
  EXPECT_EQ(document.readString("Settings", "Colour", "default"), "default");
}

TEST_F(IniFile, FolderOrOversizedFileIsAnErrorNamingIt) {
  try {
    IniDocument::open(folder.path());
    FAIL() << "a folder was opened";
  } catch (const IniError& error) {
    EXPECT_EQ(error.path(), folder.path());
    EXPECT_NE(std::string(error.what()).find(folder.path()), std::string::npos);
  }
  // A sparse file stands in for a huge one without using the disk.
  const auto huge = folder / "huge.ini";
  TempFolder::writeFile(huge, "[S]\r\n");
  std::filesystem::resize_file(huge, IniDocument::kMaxFileBytes + 1);
  EXPECT_THROW(IniDocument::open(huge), IniError);
}

TEST_F(IniFile, UpdateWritesTheWholeDocument) {
  const auto file = folder / "settings.ini";
  TempFolder::writeFile(file, "[Old]\nk=v\n");
  IniDocument document = IniDocument::open(file);
  document.writeString("New", "a", "b");
  document.update();
  EXPECT_EQ(TempFolder::readFile(file), "[Old]\r\nk=v\r\n\r\n[New]\r\na=b\r\n\r\n");
  EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(IniFile, FailedUpdateLeavesNothingAndSaysWhy) {
  IniDocument inMissingFolder = IniDocument::open(folder / "gone" / "settings.ini");
  inMissingFolder.writeString("S", "k", "v");
  EXPECT_THROW(inMissingFolder.update(), IniError);
  EXPECT_FALSE(std::filesystem::exists(folder / "gone"));

  IniDocument withoutFile;
  EXPECT_THROW(withoutFile.update(), IniError);
}

TEST_F(IniFile, ReadModifyWriteKeepsTheOtherWritersKeys) {
  const auto file = folder / "settings.ini";
  TempFolder::writeFile(file, "[Settings]\r\nColour=1\r\n");
  const IniDocument openedEarlier = IniDocument::open(file);

  // Another program changes the file after this one read it.
  IniDocument::modifyFile(file,
                          [](IniDocument& d) { d.writeString("LorvinStyle", "MainTop", "5"); });
  IniDocument::modifyFile(file, [](IniDocument& d) { d.writeString("Settings", "Colour", "2"); });

  const IniDocument now = IniDocument::open(file);
  EXPECT_EQ(now.readString("LorvinStyle", "MainTop", kMissing), "5");
  EXPECT_EQ(now.readString("Settings", "Colour", kMissing), "2");
  EXPECT_EQ(openedEarlier.readString("Settings", "Colour", kMissing), "1");
}

}  // namespace
