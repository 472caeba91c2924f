#include "sim_machine_generator.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "common/atomic_file.h"

namespace bench {

namespace {

constexpr int kGroupCount = 20;

std::string numbered(const char* pattern, int number) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, number);
  return text;
}

// The bytes of a REGEDIT4 hex value: "hex(7):41,00,00".
std::string hexValue(const char* kind, const std::string& bytes) {
  std::string text = std::string(kind) + ":";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(bytes[i]));
    if (i > 0)
      text += ',';
    text += pair;
  }
  return text;
}

std::string multiString(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const std::string& text : texts) {
    bytes += text;
    bytes.push_back('\0');
  }
  bytes.push_back('\0');
  return bytes;
}

std::string dword(std::uint32_t value) {
  return numbered("dword:%08x", static_cast<int>(value));
}

std::string serviceName(int index) {
  return numbered("Svc%05d", index);
}
std::string groupName(int index) {
  return numbered("Group %02d", index % kGroupCount);
}

std::string registryText(int serviceCount) {
  std::string text = "REGEDIT4\r\n\r\n";
  text +=
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
      "\"CurrentVersion\"=\"5.1\"\r\n\"CurrentBuildNumber\"=\"2600\"\r\n"
      "\"CSDVersion\"=\"Service Pack 2\"\r\n\"ProductName\"=\"Microsoft Windows XP\"\r\n\r\n";
  text +=
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\r\n"
      "\"ComputerName\"=\"BENCH\"\r\n\r\n";
  std::vector<std::string> groups;
  for (int i = 0; i < kGroupCount; ++i)
    groups.push_back(groupName(i));
  text +=
      "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder]\r\n\"List\"=" +
      hexValue("hex(7)", multiString(groups)) + "\r\n\r\n";
  constexpr std::uint32_t kTypes[] = {0x10, 0x20, 0x1, 0x2, 0x110};
  for (int i = 0; i < serviceCount; ++i) {
    const std::string name = serviceName(i);
    const std::uint32_t type = kTypes[i % 5];
    const bool driver = type < 0x10;
    text += "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + name + "]\r\n";
    text += "\"Type\"=" + dword(type) + "\r\n";
    text +=
        "\"Start\"=" +
        dword(driver ? static_cast<std::uint32_t>(i % 5) : static_cast<std::uint32_t>(2 + i % 3)) +
        "\r\n";
    text += "\"ErrorControl\"=" + dword(1) + "\r\n";
    const std::string image = driver ? "system32\\DRIVERS\\" + name + ".sys"
                                     : "%SystemRoot%\\System32\\" + name + ".exe -k netsvcs";
    text += "\"ImagePath\"=" + hexValue("hex(2)", image + '\0') + "\r\n";
    text += "\"DisplayName\"=\"Generated " + std::string(driver ? "Driver " : "Service ") +
            numbered("%05d", i) + "\"\r\n";
    if (driver)
      text += "\"Group\"=\"" + groupName(i) + "\"\r\n";
    if (!driver)
      text += "\"ObjectName\"=\"LocalSystem\"\r\n";
    text += "\"Description\"=\"Generated entry " + numbered("%d", i) +
            " of the benchmark computer, with a description of ordinary length.\"\r\n";
    if (i % 4 == 3) {
      text +=
          "\"DependOnService\"=" + hexValue("hex(7)", multiString({serviceName(i - 1)})) + "\r\n";
      text += "\"DependOnGroup\"=" + hexValue("hex(7)", multiString({groupName(i)})) + "\r\n";
    }
    text += "\r\n";
    text += "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" + name +
            "\\Parameters]\r\n\"Level\"=" + dword(static_cast<std::uint32_t>(i % 3)) + "\r\n\r\n";
  }
  return text;
}

std::string servicesText(int serviceCount) {
  std::string text;
  for (int i = 0; i < serviceCount; ++i) {
    text.append("[").append(serviceName(i)).append("]\r\n");
    text += i % 3 == 0 ? "State=running\r\n" : "State=stopped\r\n";
    text += i % 2 == 0 ? "Accepts=stop,pause\r\n" : "Accepts=stop\r\n";
    text += "StartMs=" + std::to_string(100 + i % 7 * 100) + "\r\nStopMs=200\r\n";
    text += "CheckPoints=2\r\nWaitHint=2000\r\n\r\n";
  }
  return text;
}

std::string systemLogText(int serviceCount) {
  std::string text = "[Log]\r\nNextRecord=" + std::to_string(serviceCount + 1) + "\r\n\r\n";
  for (int i = 0; i < serviceCount; ++i) {
    text.append("[").append(std::to_string(i + 1)).append("]\r\n");
    text += "Type=4\r\nTime=2006-12-11 08:02:14\r\n";
    text += "Source=Service Control Manager\r\nEventID=1073748860\r\nComputer=BENCH\r\n";
    text += "String1=" + serviceName(i) + "\r\nString2=running\r\n\r\n";
  }
  return text;
}

}  // namespace

void writeGeneratedMachine(const std::filesystem::path& folder, int serviceCount) {
  std::filesystem::create_directories(folder / "eventlogs");
  common::writeFileAtomically(folder / "registry.reg", registryText(serviceCount));
  common::writeFileAtomically(folder / "services.ini", servicesText(serviceCount));
  common::writeFileAtomically(folder / "eventlogs" / "System.ini", systemLogText(serviceCount));
  common::writeFileAtomically(folder / "eventlogs" / "Application.ini",
                              "[Log]\r\nNextRecord=1\r\n");
  common::writeFileAtomically(folder / "eventlogs" / "Security.ini", "[Log]\r\nNextRecord=1\r\n");
  common::writeFileAtomically(
      folder / "eventlogs" / "messages.ini",
      "[Service Control Manager]\r\n7036=The %1 service entered the %2 state.\r\n");
}

GeneratedMachine::GeneratedMachine(int serviceCount) {
  std::random_device random;
  root_ = std::filesystem::temp_directory_path() /
          ("corvane-bench-" + std::to_string(random()) + std::to_string(random()));
  folder_ = root_ / "machine";
  writeGeneratedMachine(folder_, serviceCount);
}

GeneratedMachine::~GeneratedMachine() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

}  // namespace bench
