// A small simulated computer on a virtual clock, a worker host and a main window that record
// what they are asked, and the user-interface queues the worker hands its work to.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "corvane/engine/Thread_batch.h"
#include "corvane/engine/main_window_view.h"
#include "corvane/engine/request_state.h"
#include "corvane/engine/worker_context.h"
#include "corvane/engine/worker_host.h"
#include "corvane/shell/program_state.h"
#include "platform/clock.h"
#include "platform/sim/message_table.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_scm.h"
#include "platform/sim/simulated_machine.h"

namespace corvane::testing {

// Runs every job at once, on the thread that hands it over.
class InlineUi : public UiThread {
 public:
  void post(std::function<void()> job) override { job(); }
};

// A user-interface thread of the test's own: jobs wait in a queue until the test runs them.
class QueueUi : public UiThread {
 public:
  void post(std::function<void()> job) override {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
    posted_.notify_all();
  }
  // Runs jobs as they come until `done` holds (checked between jobs).
  void RunUntil(const std::function<bool()>& done) {
    while (!done())
      RunOne();
  }
  // Waits for one job and runs it.
  void RunOne() {
    std::function<void()> job;
    {
      std::unique_lock lock(mutex_);
      posted_.wait(lock, [this] { return !jobs_.empty(); });
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
  // Waits until a job is queued, without running it.
  void WaitForJob() {
    std::unique_lock lock(mutex_);
    posted_.wait(lock, [this] { return !jobs_.empty(); });
  }
  void RunQueued() {
    for (;;) {
      std::function<void()> job;
      {
        std::lock_guard lock(mutex_);
        if (jobs_.empty())
          return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> jobs_;
};

struct ServiceSpec {
  std::string name;
  std::string displayName = {};
  std::uint32_t startType = platform::start::Manual;
  std::vector<std::string> dependOnService = {};
  std::vector<std::string> dependOnGroup = {};
  std::uint32_t type = platform::svctype::OwnProcess;
  std::string group = {};
};

// Every hand-over as a line: "line:<text>", "showConsole", "hideConsole", "button:on",
// "button:off", "caption:<text>", "progress:<n>", "status:<percent>", "refreshCatalogue",
// "reactivate", "box:<owner>|<caption>|<text>", "terminate".
class RecordingHost : public WorkerHost {
 public:
  RecordingHost(platform::Scm& scm, ProgramState& program) : scm_(scm), program_(program) {}

  std::vector<std::string> events;
  std::vector<std::string> lines;
  int progress = 0;
  bool consoleVisible = false;
  bool consoleButtonEnabled = true;
  bool autoHide = false;
  bool hideFails = false;
  MainPage page = MainPage::ServiceList;
  std::optional<std::string> selectedService;
  std::optional<std::string> selectedGroupNode;
  int processMessagesCalls = 0;
  // Runs during ProcessMessages, as a click would.
  std::function<void()> onProcessMessages;

  std::string Console() const {
    std::string text;
    for (const std::string& line : lines)
      text += line;
    return text;
  }
  int Count(const std::string& event) const {
    int count = 0;
    for (const std::string& e : events)
      count += e == event;
    return count;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> boxes;
    for (const std::string& e : events) {
      if (e.rfind("box:", 0) == 0)
        boxes.push_back(e.substr(4));
    }
    return boxes;
  }

  void AppendConsoleLine(const std::string& line) override {
    lines.push_back(line);
    events.push_back("line:" + line);
  }
  void ShowConsole() override {
    consoleVisible = true;
    events.push_back("showConsole");
  }
  void HideConsole() override {
    if (hideFails)
      throw std::runtime_error("cannot hide");
    consoleVisible = false;
    events.push_back("hideConsole");
  }
  void SetConsoleButtonEnabled(bool enabled) override {
    consoleButtonEnabled = enabled;
    events.push_back(enabled ? "button:on" : "button:off");
  }
  void SetConsoleButtonCaption(const std::string& caption) override {
    events.push_back("caption:" + caption);
  }
  int ConsoleProgressPosition() override { return progress; }
  void SetConsoleProgressPosition(int position) override {
    progress = position;
    events.push_back("progress:" + std::to_string(position));
  }
  bool AutoHideConsole() override { return autoHide; }
  void DrawStatusProgress(float percent) override {
    events.push_back("status:" + std::to_string(percent));
  }
  MainPage ActivePage() override { return page; }
  std::optional<std::string> SelectedServiceName() override { return selectedService; }
  std::optional<std::string> SelectedGroupNodeText() override { return selectedGroupNode; }
  void ProcessMessages() override {
    ++processMessagesCalls;
    if (onProcessMessages)
      onProcessMessages();
  }
  void RefreshCatalogue() override;
  void ReactivateEventLogs() override { events.push_back("reactivate"); }
  void MessageBox(BoxOwner owner, const std::string& text, const std::string& caption,
                  DialogIcon) override {
    const char* owners[] = {"main", "console", "application"};
    events.push_back(std::string("box:") + owners[static_cast<int>(owner)] + "|" + caption + "|" +
                     text);
  }
  void TerminateApplication() override { events.push_back("terminate"); }

 private:
  platform::Scm& scm_;
  ProgramState& program_;
};

// The computer, the state and the worker's context, with helpers to run requests.
class EngineWorld {
 public:
  void AddService(const ServiceSpec& spec);
  platform::sim::ServiceBehaviour& Behaviour(const std::string& name);
  platform::sim::SimScm& Scm();
  // The catalogue as RefreshCatalogue leaves it, for the services of the computer.
  void FillCatalogue() { host().RefreshCatalogue(); }
  RecordingHost& host();
  WorkerContext Context(UiThread& ui);

  // Creates the worker for `code` as the launcher would and runs it to its end with every
  // hand-over inline. The worker's termination handler is not installed.
  void RunRequest(std::int32_t code);
  // A worker that is never started, for calling the operations on the test's thread.
  batch& Worker(std::int32_t code = ReqStart);

  std::uint32_t StateOf(const std::string& name);
  std::uint32_t StartTypeOf(const std::string& name);
  // Starts the service on the computer and lets it settle.
  void RunService(const std::string& name);

  // The operations of a top-level start and stop on a fresh catalogue and console.
  std::int32_t Start(const std::string& name);
  std::int32_t Stop(const std::string& name);
  void Prepare();
  const std::vector<std::string>& Lines() { return host().lines; }

  platform::sim::RegistryKey hklm{"HKEY_LOCAL_MACHINE"};
  std::recursive_mutex hklmLock;
  platform::VirtualClock clock;
  platform::sim::ServiceBehaviours behaviours;
  platform::sim::MessageTable messages;
  ProgramState program;
  RequestState request;
  InlineUi inlineUi;
  // The programs the worker runs; the simulated computer's (whose registry editor exports from
  // `hklm`) unless a test puts its own here.
  platform::Processes* processes = nullptr;

 private:
  platform::Processes& WorkerProcesses();

  std::unique_ptr<platform::sim::SimScm> scm_;
  std::unique_ptr<platform::sim::SimRegistry> registry_;
  std::unique_ptr<platform::sim::SimProcesses> simProcesses_;
  std::unique_ptr<RecordingHost> host_;
  std::unique_ptr<batch> worker_;
};

class EngineTest : public ::testing::Test, public EngineWorld {};

}  // namespace corvane::testing
