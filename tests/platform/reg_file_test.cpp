#include "platform/sim/reg_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/sim/reg_file_text.h"
#include "reg_hive_dump.h"

namespace platform::sim {
namespace {

using testing::dumpHive;

RegValue value(std::string name, RegKind kind, std::string data) {
  return RegValue{std::move(name), kind, std::move(data)};
}

std::string bytesUpTo(std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i)
    bytes.push_back(static_cast<char>(i * 7 + 3));
  return bytes;
}

// A hive with every value kind and the names and texts that need care in the file.
void fillFixture(RegistryKey& hive) {
  RegistryKey& service = hive.create("SYSTEM\\CurrentControlSet\\Services\\Odd Svc");
  service.setValue(value("", RegKind::String, stringData("the default value")));
  service.setValue(value("Type", RegKind::Dword, dwordData(0x10)));
  service.setValue(value("Start", RegKind::Dword, dwordData(0xFFFFFFFF)));
  service.setValue(value("ImagePath", RegKind::ExpandString,
                         stringData("%SystemRoot%\\system32\\svchost.exe -k netsvcs")));
  service.setValue(value("DependOnService", RegKind::MultiString,
                         multiStringData({"RpcSs", "Tcpip", "Ünïcødé"})));
  service.setValue(value("EmptyMulti", RegKind::MultiString, multiStringData({})));
  service.setValue(value("Empty", RegKind::String, stringData("")));
  service.setValue(value("Say \"hi\" \\ a=b", RegKind::String,
                         stringData("C:\\Program Files\\\"quoted\" = yes")));
  service.setValue(value("ключ 日本", RegKind::String, stringData("значение 語 €")));
  service.setValue(value("Emoji", RegKind::ExpandString, stringData("%X% 😀")));
  service.setValue(value("Blob", RegKind::Binary, bytesUpTo(300)));
  service.setValue(value("EmptyBlob", RegKind::Binary, ""));
  service.setValue(value("Qword", RegKind::Qword, bytesUpTo(8)));
  service.setValue(value("Nothing", RegKind::None, ""));
  service.setValue(value("BigEndian", RegKind::DwordBigEndian, "\x01\x02\x03\x04"));
  service.setValue(value("Resources", RegKind::ResourceList, bytesUpTo(40)));
  service.setValue(value("OddKind", static_cast<RegKind>(0x12345), "\xFF"));
  service.setValue(value("NoTerminator", RegKind::String, "abc"));
  service.setValue(value("TwoLines", RegKind::String, stringData("first\r\nsecond")));
  service.setValue(value("InnerZero", RegKind::String, std::string("a\0b\0", 4)));
  service.setValue(value("ShortDword", RegKind::Dword, "\x05\x06"));
  service.setValue(value(std::string(120, 'N'), RegKind::Binary, bytesUpTo(5)));
  service.create("Parameters")
      .setValue(value("ServiceDll", RegKind::ExpandString, stringData("%SystemRoot%\\x.dll")));
  service.create("Enum");
  service.create("a]b [c] = \"d\"");
  hive.create("SOFTWARE\\Zeta");
  hive.create("SOFTWARE\\alpha").setValue(value("_", RegKind::String, stringData("x")));
}

TEST(RegFileRoundTrip, EveryValueKindReadsBackIdenticallyInBothFormats) {
  RegistryKey original("HKEY_LOCAL_MACHINE");
  fillFixture(original);
  for (const RegFileFormat format : {RegFileFormat::Regedit4, RegFileFormat::Version5}) {
    SCOPED_TRACE(format == RegFileFormat::Regedit4 ? "REGEDIT4" : "5.00");
    const std::string file = exportRegFile(original, "HKEY_LOCAL_MACHINE", format);
    RegistryKey copy("HKEY_LOCAL_MACHINE");
    EXPECT_EQ(importRegFile(file, "fixture.reg", RegRoot::LocalMachine, copy), format);
    EXPECT_EQ(dumpHive(copy), dumpHive(original));
    EXPECT_EQ(exportRegFile(copy, "HKEY_LOCAL_MACHINE", format), file);
  }
}

TEST(RegFileRoundTrip, ExportOfOneKeyReadsBackUnderItsPath) {
  RegistryKey original("HKEY_LOCAL_MACHINE");
  fillFixture(original);
  const RegistryKey* services = original.find("SYSTEM\\CurrentControlSet\\Services");
  const std::string file = exportRegFile(
      *services->find("Odd Svc"),
      "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Odd Svc", RegFileFormat::Version5);
  RegistryKey copy("HKEY_LOCAL_MACHINE");
  importRegFile(file, "backup.reg", RegRoot::LocalMachine, copy);
  EXPECT_EQ(dumpHive(*copy.find("SYSTEM\\CurrentControlSet\\Services\\Odd Svc")),
            dumpHive(*services->find("Odd Svc")));
  EXPECT_EQ(copy.find("SOFTWARE"), nullptr);
}

TEST(RegFileWriter, WritesTheEditorsLayout) {
  RegistryKey key("Svc");
  key.setValue(value("Type", RegKind::Dword, dwordData(0x1f)));
  key.setValue(value("", RegKind::String, stringData("a \"b\" \\c")));
  key.setValue(value("ImagePath", RegKind::ExpandString, stringData("%S%\\x")));
  key.setValue(value("Deps", RegKind::MultiString, multiStringData({"A", "B"})));
  key.setValue(value("Q", RegKind::Qword, bytesUpTo(8)));
  key.create("Zed");
  key.create("beta").create("Inner");
  key.create("Alpha");

  EXPECT_EQ(exportRegFile(key, "HKEY_LOCAL_MACHINE\\S\\Svc", RegFileFormat::Regedit4),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\S\\Svc]\r\n"
            "\"Type\"=dword:0000001f\r\n"
            "@=\"a \\\"b\\\" \\\\c\"\r\n"
            "\"ImagePath\"=hex(2):25,53,25,5c,78,00\r\n"
            "\"Deps\"=hex(7):41,00,42,00,00\r\n"
            "\"Q\"=hex(b):03,0a,11,18,1f,26,2d,34\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\S\\Svc\\Alpha]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\S\\Svc\\beta]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\S\\Svc\\beta\\Inner]\r\n"
            "\r\n"
            "[HKEY_LOCAL_MACHINE\\S\\Svc\\Zed]\r\n"
            "\r\n");

  const std::string wide =
      exportRegFile(key, "HKEY_LOCAL_MACHINE\\S\\Svc", RegFileFormat::Version5);
  ASSERT_TRUE(wide.starts_with("\xFF\xFE"));
  const Utf16Decoded text = utf8FromUtf16le(wide.substr(2));
  ASSERT_TRUE(text.valid);
  EXPECT_TRUE(text.text.starts_with("Windows Registry Editor Version 5.00\r\n\r\n"));
  EXPECT_NE(text.text.find("\"ImagePath\"=hex(2):25,00,53,00,25,00,5c,00,78,00,00,00\r\n"),
            std::string::npos);
  EXPECT_NE(text.text.find("\"Deps\"=hex(7):41,00,00,00,42,00,00,00,00,00\r\n"), std::string::npos);
}

TEST(RegFileWriter, WrapsLongHexValuesAtEightyCharacters) {
  RegistryKey key("K");
  key.setValue(value("Data", RegKind::Binary, bytesUpTo(50)));
  const std::string file = exportRegFile(key, "HKEY_LOCAL_MACHINE\\K", RegFileFormat::Regedit4);
  const std::string expected =
      "\"Data\"=hex:03,0a,11,18,1f,26,2d,34,3b,42,49,50,57,5e,65,6c,73,7a,81,88,8f,96,\\\r\n"
      "  9d,a4,ab,b2,b9,c0,c7,ce,d5,dc,e3,ea,f1,f8,ff,06,0d,14,1b,22,29,30,37,3e,45,\\\r\n"
      "  4c,53,5a\r\n";
  EXPECT_NE(file.find(expected), std::string::npos) << file;
}

TEST(RegFileWriter, NoHexLineIsLongerThanEightyCharactersWhateverTheNameLength) {
  for (std::size_t nameLength = 1; nameLength < 60; ++nameLength) {
    RegistryKey key("K");
    key.setValue(value(std::string(nameLength, 'n'), RegKind::ExpandString,
                       stringData(std::string(100, 'x'))));
    const std::string file = exportRegFile(key, "HKEY_LOCAL_MACHINE\\K", RegFileFormat::Version5);
    const std::string text = utf8FromUtf16le(file.substr(2)).text;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
  }
}

// A 5.00 file as the platform's editor writes it: UTF-16LE with a byte-order mark, CRLF.
std::string asWideFile(const std::string& text) {
  return "\xFF\xFE" + utf16leFromUtf8(text);
}

TEST(RegFileReader, ReadsTheEditorsUtf16Files) {
  const std::string file = asWideFile(
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Ä]\r\n"
      "\"DisplayName\"=\"Dienst für Ä\"\r\n"
      "\"ImagePath\"=hex(2):25,00,c4,00,25,00,00,00\r\n"
      "\"Deps\"=hex(7):41,00,00,00,3d,d8,00,de,00,00,00,00\r\n"
      "\"Raw\"=hex(1):41,00,00,00\r\n"
      "\"Bin\"=hex:41,00\r\n"
      "\r\n");
  RegistryKey hive("HKEY_LOCAL_MACHINE");
  EXPECT_EQ(importRegFile(file, "x.reg", RegRoot::LocalMachine, hive), RegFileFormat::Version5);
  const RegistryKey* key = hive.find("system\\currentcontrolset\\services\\Ä");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->value("displayname")->data, stringData("Dienst für Ä"));
  EXPECT_EQ(key->value("ImagePath")->kind, RegKind::ExpandString);
  EXPECT_EQ(key->value("ImagePath")->data, stringData("%Ä%"));
  EXPECT_EQ(key->value("Deps")->data, multiStringData({"A", "😀"}));
  EXPECT_EQ(key->value("Raw")->data, stringData("A"));
  EXPECT_EQ(key->value("Bin")->data, std::string("A\0", 2));
}

TEST(RegFileReader, AcceptsUtf8WithOrWithoutBomLfShortRootsCommentsAndContinuations) {
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    const std::string file = bom +
                             "REGEDIT4\n"
                             "; a comment\n"
                             "\n"
                             "[hklm\\Software\\Ünï]\n"
                             "  @=\"default\"\n"
                             "\"Count\" = DWORD:1F\n"
                             "\"Deps\"=hex(7):41,00,\\\n"
                             "    42,00,\\\n"
                             "  00\n"
                             "\"Wide\"=hex(2):c3,a4,00\n"
                             "\"Q\"=hex(B):01,02,03,04,05,06,07,08\n"
                             "\"Empty\"=hex(0):\n"
                             "\"Trailing\"=hex:AA,bb,\n";
    RegistryKey hive("HKEY_LOCAL_MACHINE");
    EXPECT_EQ(importRegFile(file, "x.reg", RegRoot::LocalMachine, hive), RegFileFormat::Regedit4);
    const RegistryKey* key = hive.find("SOFTWARE\\Ünï");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->value("")->data, stringData("default"));
    EXPECT_EQ(key->value("Count")->data, dwordData(0x1F));
    EXPECT_EQ(key->value("Deps")->data, multiStringData({"A", "B"}));
    EXPECT_EQ(key->value("Wide")->data, stringData("ä"));  // 8-bit bytes as they are
    EXPECT_EQ(key->value("Q")->kind, RegKind::Qword);
    EXPECT_EQ(key->value("Q")->data, "\x01\x02\x03\x04\x05\x06\x07\x08");
    EXPECT_EQ(key->value("Empty")->kind, RegKind::None);
    EXPECT_EQ(key->value("Empty")->data, "");
    EXPECT_EQ(key->value("Trailing")->data, "\xAA\xBB");
  }
}

TEST(RegFileReader, DeletesKeysAndValuesAndChangesInOrder) {
  RegistryKey hive("HKEY_CURRENT_USER");
  hive.create("Software\\Old\\Deep").setValue(value("v", RegKind::String, stringData("x")));
  RegistryKey& kept = hive.create("Software\\Kept");
  kept.setValue(value("Gone", RegKind::String, stringData("x")));
  kept.setValue(value("Changed", RegKind::Dword, dwordData(1)));
  kept.setValue(value("Same", RegKind::Dword, dwordData(2)));

  importRegFile(
      "REGEDIT4\r\n\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
      "[-HKCU\\Software\\Missing\\Key]\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\KEPT]\r\n"
      "\"gone\"=-\r\n"
      "\"NeverThere\"=-\r\n"
      "\"Changed\"=dword:00000009\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Recreated]\r\n"
      "[HKEY_CURRENT_USER\\Software\\Recreated]\r\n"
      "\"v\"=\"new\"\r\n",
      "x.reg", RegRoot::CurrentUser, hive);

  EXPECT_EQ(hive.find("Software\\Old"), nullptr);
  EXPECT_EQ(kept.value("Gone"), nullptr);
  EXPECT_EQ(kept.value("Changed")->data, dwordData(9));
  EXPECT_EQ(kept.value("Same")->data, dwordData(2));
  EXPECT_EQ(kept.values().front().name, "Changed");  // replaced in place
  EXPECT_EQ(hive.find("Software\\Recreated")->value("v")->data, stringData("new"));
}

struct MalformedCase {
  const char* what;
  std::string text;
  int line;
  const char* problem;  // a part of the message
};

// Every case changes the hive on its first lines, so applying anything before the fault shows.
const std::string kGoodStart =
    "REGEDIT4\r\n"
    "\r\n"
    "[-HKEY_LOCAL_MACHINE\\Keep]\r\n"
    "[HKEY_LOCAL_MACHINE\\New]\r\n"
    "\"x\"=\"y\"\r\n";  // line 5

std::vector<MalformedCase> malformedCases() {
  return {
      {"unknown header", "REGEDIT5\r\n[HKEY_LOCAL_MACHINE\\A]\r\n", 1, "not a registry file"},
      {"header not first", "\r\nREGEDIT4\r\n", 1, "not a registry file"},
      {"empty file", "", 0, "empty"},
      {"binary file",
       std::string("REGEDIT4\r\n\r\n\x7F"
                   "ELF\x02\x01\x01\x00\x00",
                   21),
       3, "binary"},
      {"value outside any key", "REGEDIT4\r\n\r\n\"x\"=\"y\"\r\n", 3, "outside any key"},
      {"value after a deletion", kGoodStart + "[-HKLM\\New]\r\n\"z\"=\"y\"\r\n", 7,
       "outside any key"},
      {"stray text", kGoodStart + "Type=dword:1\r\n", 6, "expected a key"},
      {"missing equals", kGoodStart + "\"a\" \"b\"\r\n", 6, "expected '='"},
      {"unknown data", kGoodStart + "\"a\"=word:1\r\n", 6, "bad value data"},
      {"text after a string", kGoodStart + "\"a\"=\"b\" c\r\n", 6, "after the quoted value"},
      {"unterminated string", kGoodStart + "\"a\"=\"abc\r\n\"b\"=\"c\"\r\n", 6, "closing"},
      {"unterminated name", kGoodStart + "\"abc=\"d\r\n", 6, "expected '='"},
      {"bad escape", kGoodStart + "\"a\"=\"C:\\Windows\"\r\n", 6, "backslash"},
      {"dword too long", kGoodStart + "\"a\"=dword:123456789\r\n", 6, "dword"},
      {"dword not hex", kGoodStart + "\"a\"=dword:0000001g\r\n", 6, "dword"},
      {"empty dword", kGoodStart + "\"a\"=dword:\r\n", 6, "dword"},
      {"bad hex byte", kGoodStart + "\"a\"=hex:01,zz\r\n", 6, "bad hex byte \"zz\""},
      {"one-digit hex byte", kGoodStart + "\"a\"=hex:01,2\r\n", 6, "bad hex byte"},
      {"empty hex byte", kGoodStart + "\"a\"=hex:01,,02\r\n", 6, "bad hex byte"},
      {"bad hex on a continuation line",
       kGoodStart + "\"a\"=hex:01,02,\\\r\n  03,04,\\\r\n  05,0x\r\n", 8, "bad hex byte \"0x\""},
      {"continuation past the end", kGoodStart + "\"a\"=hex:01,\\", 6, "past the end"},
      {"bad value kind", kGoodStart + "\"a\"=hex(zz):00\r\n", 6, "kind"},
      {"kind without colon", kGoodStart + "\"a\"=hex(2)00\r\n", 6, "kind"},
      {"key outside the root", kGoodStart + "[HKEY_CURRENT_USER\\Software]\r\n", 6,
       "not under HKEY_LOCAL_MACHINE"},
      {"other root by prefix", kGoodStart + "[HKEY_LOCAL_MACHINEX\\A]\r\n", 6, "not under"},
      {"key without bracket", kGoodStart + "[HKEY_LOCAL_MACHINE\\A\r\n", 6, "must end with ']'"},
      {"empty key name", kGoodStart + "[HKEY_LOCAL_MACHINE\\A\\\\B]\r\n", 6, "empty key name"},
      {"trailing backslash in key", kGoodStart + "[HKEY_LOCAL_MACHINE\\A\\]\r\n", 6,
       "empty key name"},
      {"deleting the root", kGoodStart + "[-HKEY_LOCAL_MACHINE]\r\n", 6, "root"},
      {"key name too long", kGoodStart + "[HKLM\\" + std::string(256, 'k') + "]\r\n", 6, "255"},
      {"key too deep",
       kGoodStart + "[HKLM" +
           [] {
             std::string path;
             for (int i = 0; i < 513; ++i)
               path += "\\k";
             return path;
           }() +
           "]\r\n",
       6, "512"},
      {"UTF-16 value in a 5.00 file",
       "Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\New]\r\n\"a\"=\"b\"\r\n"
       "\"c\"=hex(2):41,00,\\\r\n  42\r\n",
       5, "UTF-16"},
      {"lone surrogate value in a 5.00 file",
       "Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\New]\r\n\"c\"=hex(7):00,dc,00,00\r\n", 4,
       "UTF-16"},
      {"big-endian UTF-16", "\xFE\xFF", 0, "big-endian"},
      {"invalid UTF-16 file",
       asWideFile("Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\New]\r\n\"x\"=\"") +
           std::string("\x00\xD8", 2) + utf16leFromUtf8("\"\r\n"),
       4, "invalid UTF-16"},
      {"odd-sized UTF-16 file", asWideFile("REGEDIT4\r\n\r\n") + "\x41", 3, "invalid UTF-16"},
  };
}

TEST(RegFileReader, MalformedFilesNameTheLineAndLeaveTheHiveAlone) {
  for (const MalformedCase& c : malformedCases()) {
    SCOPED_TRACE(c.what);
    RegistryKey hive("HKEY_LOCAL_MACHINE");
    hive.create("Keep").setValue(value("v", RegKind::String, stringData("kept")));
    const std::string before = dumpHive(hive);
    try {
      importRegFile(c.text, "registry.reg", RegRoot::LocalMachine, hive);
      ADD_FAILURE() << "no error";
    } catch (const RegFileError& error) {
      const std::string where =
          c.line > 0 ? "registry.reg, line " + std::to_string(c.line) + ": " : "registry.reg: ";
      EXPECT_TRUE(std::string(error.what()).starts_with(where)) << error.what();
      EXPECT_NE(std::string(error.what()).find(c.problem), std::string::npos) << error.what();
      EXPECT_EQ(error.line(), c.line);
    }
    EXPECT_EQ(dumpHive(hive), before);
  }
}

TEST(RegFileReader, RefusesFilesAboveTheSizeLimit) {
  const std::string huge = "REGEDIT4\r\n" + std::string(kMaxRegFileBytes, ';');
  RegistryKey hive("HKEY_LOCAL_MACHINE");
  EXPECT_THROW(importRegFile(huge, "big.reg", RegRoot::LocalMachine, hive), RegFileError);
}

TEST(RegFileReader, FileErrorsNameTheFile) {
  const std::filesystem::path missing =
      std::filesystem::path(::testing::TempDir()) / "reg_file_test_missing.reg";
  RegistryKey hive("HKEY_LOCAL_MACHINE");
  try {
    importRegFile(missing, RegRoot::LocalMachine, hive);
    ADD_FAILURE() << "no error";
  } catch (const RegFileError& error) {
    EXPECT_EQ(std::string(error.what()), missing.string() + ": the file does not exist");
  }
}

}  // namespace
}  // namespace platform::sim
