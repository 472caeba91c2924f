// The worker: performs one request on its own thread and hands every piece of window work to the
// user-interface thread, waiting for each hand-over.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "corvane/engine/thread.h"
#include "corvane/engine/worker_context.h"

namespace corvane {

// Whether creating the worker for this code shows the console and disables its button.
bool RequestOpensConsole(std::int32_t code);

class batch : public Thread {
 public:
  // Runs on the user-interface thread: stores the code, allocates EnumBuffer, shows the console
  // for the codes that open it and opens the service control manager (an error box on failure;
  // the worker is created in every case).
  batch(std::int32_t code, const WorkerContext& context);

  const WorkerContext& Context() const { return context_; }
  RequestState& Request() const { return context_.request; }
  Catalogue& Services() const { return context_.program.catalogue; }

  // Runs `job` on the user-interface thread and waits for it.
  void OnUiThread(const std::function<void()>& job) { Synchronize(job); }

  // A line for the console; lines carry their own leading "\n".
  void ConsoleWrite(const std::string& text);
  // The line, then "\nerrorcode: " + the number + " - " + its message.
  void ConsoleWriteError(const std::string& text, std::uint32_t error);

  void ConsoleProgressToMinimum();
  void ConsoleProgressToMaximum();
  // Advances the console's progress bar (kept within 0 to 101) and returns the new position.
  int AdvanceConsoleProgress(int step);
  // As a service wait advances it: by ProgressStep up to 50, by ProgressStep / 3 above.
  int AdvanceConsoleProgressInWait();
  void EnableConsoleButton();

  // A message box on the user-interface thread.
  void ShowMessageBox(BoxOwner owner, const std::string& text, const std::string& caption,
                      DialogIcon icon = DialogIcon::Error);
  // The system's text for an error number.
  std::string SystemText(std::uint32_t error);

  // The catalogue refresh and the event-log reactivation on the user-interface thread, each
  // followed by one empty hand-over.
  void RefreshCatalogue();
  void ReactivateEventLogs();
  // Sets RequestServiceName and RequestDisplayName from the selection of the active page.
  void ResolveSelectedService();
  // Draws ProgressPercent into the status bar.
  void ShowProgress();

  // The endings of a request: console progress to its maximum, event-log reactivation and
  // catalogue refresh, clean-up; hide the console under AutoHide, clean-up; clean-up alone.
  void EndWithRefresh();
  void EndQuietly();
  void CleanUp();

 protected:
  void Execute() override;
  // Marks the worker idle once the completion routine has run, so that no request can start
  // between the end of Execute and the completion.
  void DoTerminate() override;

 private:
  void Dispatch();
  void RefreshRequest();
  void SingleServiceRequest();
  void SnapshotRefreshRequest();
  void ReleaseConnection();

  WorkerContext context_;
};

}  // namespace corvane
