// The registry provider against a test key under HKEY_CURRENT_USER, created and deleted by each
// test; values of other kinds are written with the Windows calls directly.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "win32_test_support.h"

namespace {

using platform::RegKind;
using platform::RegRoot;
using platform::win32::widen;

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(registry.createKey(RegRoot::CurrentUser, key)); }
  void TearDown() override { registry.deleteKeyTree(RegRoot::CurrentUser, key); }

  // Writes a value of any kind with the Windows call, bytes as given.
  void writeRaw(const std::string& name, DWORD kind, const void* data, std::size_t bytes) {
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, widen(key).c_str(), 0, KEY_SET_VALUE, &opened),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(opened, widen(name).c_str(), 0, kind, static_cast<const BYTE*>(data),
                             static_cast<DWORD>(bytes)),
              ERROR_SUCCESS);
    RegCloseKey(opened);
  }
  void writeWide(const std::string& name, DWORD kind, const std::wstring& text) {
    writeRaw(name, kind, text.data(), text.size() * sizeof(wchar_t));
  }

  platform::win32::Win32Registry registry;
  const std::string key = "Software\\CorvaneTests\\" + win32_test::uniqueName("Registry");
};

TEST_F(Win32RegistryTest, TextsRoundTripInUtf8) {
  const std::string text =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x9C\x93 C:\\Program Files";
  ASSERT_TRUE(registry.writeText(RegRoot::CurrentUser, key, "InstallDir", text));
  EXPECT_EQ(registry.readText(RegRoot::CurrentUser, key, "InstallDir"), text);
  EXPECT_EQ(registry.valueKind(RegRoot::CurrentUser, key, "InstallDir"), RegKind::String);
  EXPECT_EQ(registry.readBytes(RegRoot::CurrentUser, key, "installdir", 100), text + '\0');
}

TEST_F(Win32RegistryTest, ValuesComeBackInTheFormOfThe8BitInterface) {
  const DWORD number = 0x12345678;
  const unsigned char binary[] = {0, 1, 2, 0xFF};
  writeRaw("Dword", REG_DWORD, &number, sizeof(number));
  writeRaw("Binary", REG_BINARY, binary, sizeof(binary));
  writeWide("Multi", REG_MULTI_SZ, std::wstring(L"Boot Bus Extender\0System Bus\0\0", 31));
  writeWide("Expand", REG_EXPAND_SZ, std::wstring(L"%SystemRoot%\\x.dll\0", 19));
  // Stored without its terminator, as careless writers leave texts.
  writeWide("Unterminated", REG_SZ, L"abc");
  const struct {
    const char* name;
    RegKind kind;
    std::string bytes;
  } cases[] = {
      {"Dword", RegKind::Dword, std::string("\x78\x56\x34\x12", 4)},
      {"Binary", RegKind::Binary, std::string("\0\1\2\xFF", 4)},
      {"Multi", RegKind::MultiString, std::string("Boot Bus Extender\0System Bus\0\0", 30)},
      {"Expand", RegKind::ExpandString, std::string("%SystemRoot%\\x.dll\0", 19)},
      {"Unterminated", RegKind::String, std::string("abc\0", 4)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(registry.valueKind(RegRoot::CurrentUser, key, c.name), c.kind);
    EXPECT_EQ(registry.readBytes(RegRoot::CurrentUser, key, c.name, 8192), c.bytes);
    EXPECT_EQ(registry.readBytes(RegRoot::CurrentUser, key, c.name, c.bytes.size() - 1),
              std::nullopt);
  }
  EXPECT_EQ(registry.readText(RegRoot::CurrentUser, key, "Expand"), "%SystemRoot%\\x.dll");
  EXPECT_EQ(registry.readText(RegRoot::CurrentUser, key, "Unterminated"), "abc");
  EXPECT_EQ(registry.readText(RegRoot::CurrentUser, key, "Dword"), std::nullopt);
  EXPECT_EQ(registry.readText(RegRoot::CurrentUser, key, "Multi"), std::nullopt);

  auto values = registry.values(RegRoot::CurrentUser, key);
  std::sort(values.begin(), values.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0].name, "Binary");
  EXPECT_EQ(values[1].name, "Dword");
  EXPECT_EQ(values[1].kind, RegKind::Dword);
  EXPECT_EQ(values[3].name, "Multi");
  EXPECT_EQ(values[3].data, cases[2].bytes);
}

TEST_F(Win32RegistryTest, MissingKeysAndValuesAnswerNothing) {
  const std::string missing = key + "\\Missing";
  EXPECT_FALSE(registry.keyExists(RegRoot::CurrentUser, missing));
  EXPECT_EQ(registry.valueKind(RegRoot::CurrentUser, key, "Nothing"), std::nullopt);
  EXPECT_EQ(registry.readText(RegRoot::CurrentUser, missing, "Nothing"), std::nullopt);
  EXPECT_EQ(registry.readBytes(RegRoot::CurrentUser, key, "Nothing", 100), std::nullopt);
  EXPECT_FALSE(registry.writeText(RegRoot::CurrentUser, missing, "Value", "x"));
  EXPECT_FALSE(registry.keyExists(RegRoot::CurrentUser, missing));
  EXPECT_TRUE(registry.subkeyNames(RegRoot::CurrentUser, missing).empty());
  EXPECT_TRUE(registry.values(RegRoot::CurrentUser, missing).empty());
}

TEST_F(Win32RegistryTest, KeysAreCreatedWithTheirParentsAndDeletedWithEverythingBelow) {
  ASSERT_TRUE(registry.createKey(RegRoot::CurrentUser, key + "\\A\\Deep\\Deeper"));
  ASSERT_TRUE(registry.createKey(RegRoot::CurrentUser, key + "\\B"));
  ASSERT_TRUE(registry.writeText(RegRoot::CurrentUser, key + "\\A\\Deep", "Value", "x"));
  EXPECT_TRUE(registry.keyExists(RegRoot::CurrentUser, key + "\\a\\DEEP"));
  auto names = registry.subkeyNames(RegRoot::CurrentUser, key);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));

  ASSERT_TRUE(registry.deleteKeyTree(RegRoot::CurrentUser, key + "\\A"));
  EXPECT_FALSE(registry.keyExists(RegRoot::CurrentUser, key + "\\A"));
  EXPECT_EQ(registry.subkeyNames(RegRoot::CurrentUser, key), std::vector<std::string>{"B"});
  EXPECT_FALSE(registry.deleteKeyTree(RegRoot::CurrentUser, key + "\\A"));
  EXPECT_FALSE(registry.deleteKeyTree(RegRoot::CurrentUser, ""));
}

TEST(Win32RegistryMachine, ReadsTheServiceGroupOrderOfTheLocalMachine) {
  platform::win32::Win32Registry registry;
  const std::string groupOrder = "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";
  ASSERT_TRUE(registry.keyExists(RegRoot::LocalMachine, groupOrder));
  const auto list = registry.readBytes(RegRoot::LocalMachine, groupOrder, "List", 8192);
  ASSERT_TRUE(list.has_value());
  EXPECT_GE(list->size(), 2u);
  EXPECT_EQ(list->substr(list->size() - 2), std::string(2, '\0'));
  EXPECT_EQ(registry.valueKind(RegRoot::LocalMachine, groupOrder, "List"), RegKind::MultiString);
}

}  // namespace
