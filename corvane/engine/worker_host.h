// What the worker asks of the windows. The worker never calls these itself: each call is handed to
// the user-interface thread through batch::Synchronize and the worker waits until it has run. The
// program implements them on its forms; tests record them.
#pragma once

#include <optional>
#include <string>

#include "corvane/shell/dialogs.h"

namespace corvane {

enum class MainPage { None, ServiceList, ServiceGroups, EventLog };

// The window a message box belongs to; Application is the application's own box.
enum class BoxOwner { MainWindow, Console, Application };

class WorkerHost {
 public:
  virtual ~WorkerHost() = default;

  // The console (TConsole). The line goes through the console's append routine with its colours.
  virtual void AppendConsoleLine(const std::string& line) = 0;
  virtual void ShowConsole() = 0;
  // May throw; the worker then shows "Unable to hide console !".
  virtual void HideConsole() = 0;
  virtual void SetConsoleButtonEnabled(bool enabled) = 0;
  virtual void SetConsoleButtonCaption(const std::string& caption) = 0;
  // The console's progress bar (0 to 101); a new position is repainted at once.
  virtual int ConsoleProgressPosition() = 0;
  virtual void SetConsoleProgressPosition(int position) = 0;
  // The AutoHide Console setting.
  virtual bool AutoHideConsole() = 0;

  // The main window (TMainForm).
  virtual void DrawStatusProgress(float percent) = 0;
  virtual MainPage ActivePage() = 0;
  // The "Name" cell of the selected row of ServList; nothing when no row is selected.
  virtual std::optional<std::string> SelectedServiceName() = 0;
  // The text of the selected node of Groups; nothing when no node is selected.
  virtual std::optional<std::string> SelectedGroupNodeText() = 0;
  // Lets pending window messages run.
  virtual void ProcessMessages() = 0;
  // RefreshCatalogue with the request's connection and buffers (RequestState, ProgramState).
  virtual void RefreshCatalogue() = 0;
  // The event-log reactivation (ReactivateEventLogs).
  virtual void ReactivateEventLogs() = 0;

  // A message box with one OK button.
  virtual void MessageBox(BoxOwner owner, const std::string& text, const std::string& caption,
                          DialogIcon icon) = 0;
  // Asks the application to terminate once the request has ended.
  virtual void TerminateApplication() = 0;
};

}  // namespace corvane
