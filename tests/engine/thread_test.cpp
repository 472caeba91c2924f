// The thread class: suspended creation, hand-overs, the termination handler, free on terminate,
// and the stop at a hand-over that the close query relies on.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "corvane/engine/thread.h"
#include "engine_fixture.h"

namespace corvane::testing {
namespace {

// Runs the steps given to it, each as one hand-over, and records what it saw.
class StepThread : public Thread {
 public:
  StepThread(UiThread& ui, std::vector<std::function<void()>> steps, bool* destroyed = nullptr)
      : Thread(ui), steps_(std::move(steps)), destroyed_(destroyed) {}
  ~StepThread() override {
    if (destroyed_)
      *destroyed_ = true;
  }
  std::atomic<int> stepsDone{0};
  std::string caught;

 protected:
  void Execute() override {
    SetReturnValue(7);
    for (const auto& step : steps_) {
      try {
        Synchronize(step);
      } catch (const std::runtime_error& error) {
        caught = error.what();
      }
      ++stepsDone;
    }
  }

 private:
  std::vector<std::function<void()>> steps_;
  bool* destroyed_;
};

TEST(ThreadTest, NothingRunsBeforeResumeAndTheHandlerFollowsExecuteOnTheUiThread) {
  QueueUi ui;
  std::vector<std::string> seen;
  bool destroyed = false;
  auto* thread = new StepThread(
      ui, {[&] { seen.push_back("step 1"); }, [&] { seen.push_back("step 2"); }}, &destroyed);
  thread->FreeOnTerminate = true;
  thread->OnTerminate = [&](Thread& done) {
    seen.push_back("terminated with " + std::to_string(done.ReturnValue()));
  };
  EXPECT_EQ(thread->ReturnValue(), 0);
  Thread::Ending ending = thread->GetEnding();
  thread->Resume();
  ui.RunUntil([&] { return seen.size() == 3; });
  ending.Wait();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(seen, (std::vector<std::string>{"step 1", "step 2", "terminated with 7"}));
}

TEST(ThreadTest, FailureOfAHandOverIsRaisedInTheThread) {
  InlineUi ui;
  StepThread thread(ui, {[] { throw std::runtime_error("no window"); }, [] {}});
  thread.Resume();
  thread.WaitFor();
  EXPECT_EQ(thread.caught, "no window");
  EXPECT_EQ(thread.stepsDone, 2);
}

TEST(ThreadTest, KillStopsAtTheNextHandOverWithoutTheHandler) {
  QueueUi ui;
  int ran = 0;
  bool handled = false;
  bool destroyed = false;
  auto* thread = new StepThread(ui, {[&] { ++ran; }, [&] { ++ran; }}, &destroyed);
  thread->FreeOnTerminate = true;
  thread->OnTerminate = [&](Thread&) { handled = true; };
  thread->Resume();
  ui.WaitForJob();
  thread->Suspend();
  EXPECT_TRUE(thread->Kill());
  EXPECT_TRUE(destroyed);
  ui.RunQueued();  // the job it was waiting for is dropped
  EXPECT_EQ(ran, 0);
  EXPECT_FALSE(handled);
}

TEST(ThreadTest, KillFromInsideAHandOverLetsItFinishFirst) {
  QueueUi ui;
  bool destroyed = false;
  bool afterKill = false;
  StepThread* thread = nullptr;
  std::optional<Thread::Ending> ending;
  thread = new StepThread(ui,
                          {[&] {
                             // A message loop run by the hand-over reaches the close query.
                             ending = thread->GetEnding();
                             EXPECT_FALSE(thread->Kill());
                             EXPECT_TRUE(thread->Terminated());
                             afterKill = true;
                           },
                           [] { ADD_FAILURE() << "no hand-over after the kill"; }},
                          &destroyed);
  thread->FreeOnTerminate = true;
  thread->Resume();
  ui.RunOne();
  ending->Wait();
  EXPECT_TRUE(afterKill);
  EXPECT_TRUE(destroyed);
  ui.RunQueued();
}

TEST(ThreadTest, KillOfAThreadNeverStartedFreesIt) {
  InlineUi ui;
  bool destroyed = false;
  auto* thread = new StepThread(ui, {}, &destroyed);
  thread->FreeOnTerminate = true;
  EXPECT_TRUE(thread->Kill());
  EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace corvane::testing
