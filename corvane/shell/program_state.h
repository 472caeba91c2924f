// Corvane's program-wide state: set up by the main window's creation, read by every window and by
// the worker. The running program has one instance, programState(); tests make their own.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/shell/settings.h"
#include "corvane/shell/text_lines.h"
#include "platform/registry.h"
#include "platform/scm.h"

namespace corvane {

// The running system, as the extra-descriptions files are chosen.
enum OsKindCode : int {
  OsKindOtherNt = 0,
  OsKindWindows2000 = 1,
  OsKindWindows2003 = 2,
  OsKindWindowsXP = 3,
};

// The separator of paths on this platform.
#ifdef _WIN32
inline constexpr char PathSeparator = '\\';
#else
inline constexpr char PathSeparator = '/';
#endif

// Records in each table before a pass needs more.
inline constexpr std::size_t InitialTableRecords = 500;

struct ProgramState {
  // The program folder, without a trailing separator.
  std::string InstallDir;
  // InstallDir + "/descriptions/extradesc.ini", "extradesc2000.ini", "extradesc2003.ini",
  // "extradescXP.ini" (with the platform's separator), indexed by OsKind.
  std::array<std::string, 4> ExtraDescFiles;
  int OsKind = OsKindOtherNt;
  // The lines of ExtraDescFiles[OsKind]; one empty line when it could not be loaded.
  TextLines ExtraDescriptions{{""}};
  // The text of the first status-bar panel: "Windows XP ver: 5.1.2600" and the like.
  std::string OsVersionText;

  // The snapshot file named on the command line, else empty.
  std::string StartupSnapshotPath;
  bool OpenSnapshotAtStart = false;
  // Cleared by every fatal start-up path: the main window is then never shown.
  bool ShowMainFormAtStart = true;
  // Set until the main window is first shown: requests are ignored meanwhile.
  bool RequestsBlocked = true;
  bool FullRefresh = true;
  bool RefreshAllViews = true;
  bool SnapshotRequest = false;
  int ServSortColumn = 0;
  int EventSortColumn = 1;

  // The answers of the configuration and status queries (the platform's 8192-byte buffers).
  platform::ServiceConfig ConfigBuffer;
  platform::ServiceStatus StatusBuffer;

  // ServiceTable, ServiceCount, GroupTable, GroupCount.
  Catalogue catalogue;
  // The snapshot entries being applied.
  std::vector<ServiceRecord> BatchList = std::vector<ServiceRecord>(InitialTableRecords);
  // Snapshots: the valid entries of BatchList, and what the batch applies (BatchModeStartTypes
  // or BatchModeStates).
  std::size_t BatchCount = 0;
  int BatchMode = 0;

  // The settings of settings.ini (corvane/shell/settings.h): read at the first showing of the
  // main window, changed by the settings dialog, written by "&Save" and the close.
  Settings settings;

  // The local-machine registry of the computer the program manages; set at start-up.
  platform::Registry* MainRegistry = nullptr;
};

// The state of the running program.
ProgramState& programState();

}  // namespace corvane
