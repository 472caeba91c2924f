#include "corvane/shell/os_version_check.h"

#include <string>

#include "common/atomic_file.h"

namespace corvane {

namespace {

std::string versionText(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(build);
}

}  // namespace

void FillExtraDescFiles(ProgramState& state) {
  static constexpr const char* names[] = {"extradesc.ini", "extradesc2000.ini", "extradesc2003.ini",
                                          "extradescXP.ini"};
  const std::string folder = state.InstallDir + PathSeparator + "descriptions" + PathSeparator;
  for (std::size_t k = 0; k < state.ExtraDescFiles.size(); ++k) {
    state.ExtraDescFiles[k] = folder + names[k];
  }
}

bool LoadExtraDescriptions(ProgramState& state) {
  try {
    state.ExtraDescriptions.loadFromFile(state.ExtraDescFiles.at(state.OsKind),
                                         MaxExtraDescriptionsBytes);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

StartupOutcome CheckOsVersion(ProgramState& state, platform::SystemInfo& systemInfo,
                              Dialogs& dialogs) {
  const platform::OsVersion version = systemInfo.version();
  if (!version.ntFamily) {
    dialogs.showMessage("Wrong OS version: " +
                        versionText(version.major, version.minor, version.build & 0x7FFFFFFFu) +
                        "\nThis program is made for WinNT based OSs!");
    return StartupOutcome::Terminate;
  }
  const char* prefix = "NT based OS ver: ";
  state.OsKind = OsKindOtherNt;
  switch (version.minor) {
    case 0:
      state.OsKind = OsKindWindows2000;
      prefix = "Windows 2000 ver: ";
      break;
    case 1:
      state.OsKind = OsKindWindowsXP;
      prefix = "Windows XP ver: ";
      break;
    case 2:
      state.OsKind = OsKindWindows2003;
      prefix = "Windows 2003 ver: ";
      break;
  }
  state.OsVersionText = prefix + versionText(version.major, version.minor, version.build);
  if (!LoadExtraDescriptions(state)) {
    dialogs.messageBox("Unable to open extra descriptions file.", "", DialogIcon::None,
                       DialogButtons::Ok);
  }
  return StartupOutcome::GoOn;
}

}  // namespace corvane
