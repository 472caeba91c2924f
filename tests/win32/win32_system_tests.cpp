// Version, message table, processes and icons of the Windows provider.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_system.h"
#include "win32_test_support.h"

namespace {

using platform::win32::narrow;
using platform::win32::widen;

std::string temporaryPath(const std::string& name) {
  wchar_t folder[MAX_PATH];
  const DWORD chars = GetTempPathW(MAX_PATH, folder);
  return narrow(std::wstring(folder, chars)) + win32_test::uniqueName(name);
}

std::string systemFolder() {
  wchar_t folder[MAX_PATH];
  const UINT chars = GetSystemDirectoryW(folder, MAX_PATH);
  return narrow(std::wstring(folder, chars));
}

std::string readFile(const std::string& path) {
  std::ifstream file(widen(path).c_str(), std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// A file the registry editor writes: UTF-16 with a byte-order mark, or 8-bit.
std::string readTextFile(const std::string& path) {
  const std::string bytes = readFile(path);
  if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
    return bytes;
  std::wstring text((bytes.size() - 2) / 2, L'\0');
  std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
  return narrow(text);
}

TEST(Win32SystemInfo, ReportsAnNtFamilyVersion) {
  const auto version = platform::win32::Win32SystemInfo().version();
  EXPECT_TRUE(version.ntFamily);
  EXPECT_GE(version.major, 5u);
  EXPECT_GT(version.build, 0u);
}

TEST(Win32Messages, TextsForErrorNumbersEndInALineBreak) {
  platform::win32::Win32Messages messages;
  for (const std::uint32_t code : {2u, 5u, 1056u, 1058u, 1060u, 1062u}) {
    SCOPED_TRACE(code);
    const std::string text = messages.messageText(code);
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  }
  EXPECT_EQ(messages.messageText(0x2FFFFFFF), "");
}

TEST(Win32Messages, TextsAreThoseOfWindows) {
  SKIP_UNDER_WINE("FormatMessage gives Wine's own wording");
  platform::win32::Win32Messages messages;
  EXPECT_EQ(messages.messageText(2), "The system cannot find the file specified.\r\n");
  EXPECT_EQ(messages.messageText(1062), "The service has not been started.\r\n");
}

TEST(Win32Processes, ArgumentsReachTheStartedProgramUnchanged) {
  const std::string eventName = win32_test::uniqueName("CorvaneArgs");
  const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, widen(eventName).c_str());
  ASSERT_NE(done, nullptr);
  const std::string output = temporaryPath("args.txt");
  const std::vector<std::string> arguments = {"plain",
                                              "with space",
                                              "quote\"inside",
                                              "trailing\\",
                                              "back\\\\slash \"q\"",
                                              "",
                                              "C:\\Program Files\\",
                                              "Gr\xC3\xBC\xC3\x9F"
                                              "e"};
  std::vector<std::string> commandLine = {"--record-args", eventName, output};
  commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
  std::string error;
  ASSERT_TRUE(platform::win32::Win32Processes().startDetached(win32_test::testServicePath(),
                                                              commandLine, error))
      << error;
  ASSERT_EQ(WaitForSingleObject(done, 20000), WAIT_OBJECT_0);
  CloseHandle(done);
  std::string expected;
  for (const auto& argument : arguments)
    expected += argument + '\n';
  EXPECT_EQ(readFile(output), expected);
  DeleteFileW(widen(output).c_str());
}

TEST(Win32Processes, StartingAMissingProgramFailsWithAReason) {
  std::string error;
  EXPECT_FALSE(platform::win32::Win32Processes().startDetached("C:\\corvane-missing\\nothing.exe",
                                                               {"x"}, error));
  EXPECT_FALSE(error.empty());
}

TEST(Win32Processes, RunAndWaitReturnsWhenTheProgramHasEnded) {
  const std::string output = temporaryPath("wait.txt");
  std::string error;
  // The program's own failure (exit code 3) is not examined.
  ASSERT_TRUE(platform::win32::Win32Processes().runAndWait(
      "cmd.exe", "/c echo done> \"" + output + "\" & exit 3", error))
      << error;
  EXPECT_EQ(readFile(output).substr(0, 4), "done");
  DeleteFileW(widen(output).c_str());
}

TEST(Win32Processes, RunAndWaitOfAMissingProgramGivesTheRunTimeLibrarysText) {
  std::string error;
  EXPECT_FALSE(platform::win32::Win32Processes().runAndWait("corvane-missing-program.exe",
                                                            "/e \"x.reg\"", error));
  EXPECT_EQ(error, "No such file or directory");
}

TEST(Win32Processes, TheRegistryEditorExportsAServiceKey) {
  win32_test::TestService service("CorvaneExport");
  ASSERT_TRUE(service.created());
  const std::string file = temporaryPath(service.name() + ".reg");
  const std::string key =
      "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + service.name();
  std::string error;
  ASSERT_TRUE(platform::win32::Win32Processes().runAndWait(
      "regedit.exe", "/e \"" + file + "\" \"" + key + "\"", error))
      << error;
  const std::string exported = readTextFile(file);
  EXPECT_NE(exported.find("[" + key + "]"), std::string::npos) << exported;
  EXPECT_NE(exported.find("\"DisplayName\"=\"" + service.options().displayName + "\""),
            std::string::npos)
      << exported;
  DeleteFileW(widen(file).c_str());
}

TEST(Win32Processes, ArgumentsAreQuotedOnlyWhenNeeded) {
  const struct {
    const char* argument;
    const char* quoted;
  } cases[] = {
      {"plain", "plain"},
      {"", "\"\""},
      {"two words", "\"two words\""},
      {"C:\\dir\\", "C:\\dir\\"},
      {"C:\\my dir\\", "\"C:\\my dir\\\\\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::win32::quoteArgument(c.argument), c.quoted) << c.argument;
  }
}

TEST(Win32Icons, TheFirstIconOfAProgramComesAsArgbPixels) {
  const auto icon = platform::win32::Win32Icons().firstIcon(systemFolder() + "\\notepad.exe");
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->width, GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(icon->height, GetSystemMetrics(SM_CYICON));
  ASSERT_EQ(icon->pixels.size(), static_cast<std::size_t>(icon->width * icon->height));
  std::size_t opaque = 0;
  std::size_t transparent = 0;
  for (const auto pixel : icon->pixels) {
    if (pixel >> 24 == 0xFF)
      ++opaque;
    if (pixel >> 24 == 0)
      ++transparent;
  }
  EXPECT_GT(opaque, 0u);
  EXPECT_GT(transparent, 0u);
}

TEST(Win32Icons, FilesWithoutIconsGiveNothing) {
  platform::win32::Win32Icons icons;
  EXPECT_EQ(icons.firstIcon(win32_test::testServicePath()), std::nullopt);
  EXPECT_EQ(icons.firstIcon("C:\\corvane-missing\\nothing.exe"), std::nullopt);
  EXPECT_EQ(icons.firstIcon(""), std::nullopt);
}

}  // namespace
