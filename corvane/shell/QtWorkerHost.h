// The windows' side of the worker's hand-overs. QtUiThread queues each job into the Qt event loop
// of the main thread (the worker waits in batch::Synchronize until it has run); QtWorkerHost
// carries out what the worker asks of the main window and the console.
#pragma once

#include "corvane/engine/thread.h"
#include "corvane/engine/worker_host.h"

namespace platform {
class Platform;
}

namespace corvane {

class TMainForm;
class TConsole;
struct ProgramState;
struct RequestState;

class QtUiThread : public UiThread {
 public:
  void post(std::function<void()> job) override;
};

class QtWorkerHost : public WorkerHost {
 public:
  QtWorkerHost(TMainForm& form, platform::Platform& machine, Dialogs& dialogs,
               ProgramState& program, RequestState& request);

  // The console exists once it has been created after the main window.
  void SetConsole(TConsole* console) { console_ = console; }

  void AppendConsoleLine(const std::string& line) override;
  void ShowConsole() override;
  void HideConsole() override;
  void SetConsoleButtonEnabled(bool enabled) override;
  void SetConsoleButtonCaption(const std::string& caption) override;
  int ConsoleProgressPosition() override;
  void SetConsoleProgressPosition(int position) override;
  bool AutoHideConsole() override;

  void DrawStatusProgress(float percent) override;
  MainPage ActivePage() override;
  std::optional<std::string> SelectedServiceName() override;
  std::optional<std::string> SelectedGroupNodeText() override;
  void ProcessMessages() override;
  void RefreshCatalogue() override;
  void ReactivateEventLogs() override;
  void MessageBox(BoxOwner owner, const std::string& text, const std::string& caption,
                  DialogIcon icon) override;
  void TerminateApplication() override;

 private:
  TMainForm& form_;
  TConsole* console_ = nullptr;
  platform::Platform& machine_;
  Dialogs& dialogs_;
  ProgramState& program_;
  RequestState& request_;
};

}  // namespace corvane
