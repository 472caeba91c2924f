#include "corvane/shell/help_launch.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "corvane/shell/file_paths.h"
#include "corvane/shell/program_state.h"

namespace corvane {

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
  return folder + PathSeparator + name;
}

std::string helpFile(const std::string& installDir, const std::string& page) {
  return inFolder(inFolder(installDir, "help"), page);
}

}  // namespace

HelpLaunch HelpLaunchFor(const std::string& installDir, const std::string& page) {
  const bool about = page == HelpAboutPage;
  HelpLaunch launch;
  launch.program = inFolder(installDir, "Lorvin.exe");
  launch.arguments = {about ? "-cap:About" : "-cap:Corvane help",
                      "-home:" + helpFile(installDir, about ? HelpAboutPage : HelpIndexPage),
                      helpFile(installDir, page)};
  return launch;
}

std::optional<std::string> ContextHelpPage(const std::string& activeWindowCaption, int pageIndex) {
  if (activeWindowCaption != "Corvane") {
    return std::nullopt;
  }
  switch (pageIndex) {
    case 0:
      return "mainwindow.html#Service_panel";
    case 1:
      return "mainwindow.html#Group_panel";
    case 2:
      return "mainwindow.html#EventLog_panel";
    default:
      return std::nullopt;
  }
}

void OpenHelpPage(const std::string& installDir, const std::string& page,
                  platform::Processes& processes, Dialogs& dialogs) {
  try {
    const HelpLaunch launch = HelpLaunchFor(installDir, page);
    std::string errorText;
    if (!processes.startDetached(launch.program, launch.arguments, errorText)) {
      dialogs.messageBox(
          "Error calling external browser !\n'Lorvin.exe' must reside in Corvane current "
          "directory.",
          "Error", DialogIcon::Error, DialogButtons::Ok);
    }
  } catch (const std::exception&) {
    dialogs.messageBox("Exception error calling external browser !", "Error", DialogIcon::Error,
                       DialogButtons::Ok);
  }
}

void DeleteBrowseFlag(const std::string& installDir) {
  std::error_code ignored;
  std::filesystem::remove(pathOf(inFolder(installDir, "browse.flag")), ignored);
}

}  // namespace corvane
