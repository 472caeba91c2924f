// Corvane's help: every help command starts a new Lorvin on one of the pages of the help folder,
// with a caption and a Home page, and goes on without waiting. Corvane deletes browse.flag when
// it closes, which closes every Lorvin.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "corvane/shell/dialogs.h"
#include "platform/system_info.h"

namespace corvane {

inline constexpr const char* HelpIndexPage = "index.html";
inline constexpr const char* HelpAboutPage = "about.html";
inline constexpr const char* HelpLegendPage = "legend.html";
inline constexpr const char* HelpConsolePage = "consolewindow.html";
inline constexpr const char* HelpSnapshotPage = "snapwindow.html";

// The program and its three arguments: caption, Home page and the page to show.
struct HelpLaunch {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const HelpLaunch&) const = default;
};

// For a page name as "mainwindow.html#Group_panel": "-cap:Corvane help" and Home index.html,
// or for "about.html" exactly "-cap:About" and Home about.html.
HelpLaunch HelpLaunchFor(const std::string& installDir, const std::string& page);

// The page of "&Context Help" (F1): only while the main window is the active window (its
// caption is exactly "Corvane"), by the index of its active page; nothing otherwise.
std::optional<std::string> ContextHelpPage(const std::string& activeWindowCaption, int pageIndex);

// Starts Lorvin on the page without waiting; a failure is shown in an error box.
void OpenHelpPage(const std::string& installDir, const std::string& page,
                  platform::Processes& processes, Dialogs& dialogs);

// Deletes InstallDir's browse.flag; a failure is ignored.
void DeleteBrowseFlag(const std::string& installDir);

}  // namespace corvane
