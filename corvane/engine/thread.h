// A small thread class in the manner of the window framework's: created suspended, started by
// Resume, with a termination request, a return value, a termination handler run on the
// user-interface thread after Execute has returned, and free-on-terminate.
//
// Synchronize hands a job to the user-interface thread and waits until it has run. It is also the
// thread's only stopping point: Suspend holds the thread at its next hand-over, and Kill makes
// that hand-over leave Execute (by the ThreadKilled exception), so a killed thread never stops in
// the middle of a platform call.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace corvane {

// The user-interface thread's queue: post() hands a job over and returns at once; the job runs
// later on that thread. The program posts into the Qt event loop; tests run the job at once or
// on a loop of their own.
class UiThread {
 public:
  virtual ~UiThread() = default;
  virtual void post(std::function<void()> job) = 0;
};

enum class ThreadPriority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

// Leaves Execute of a killed thread from its next hand-over. Not a std::exception, so that the
// worker's own error handling lets it through.
struct ThreadKilled {};

class Thread {
  struct State;

 public:
  // The thread is created suspended: nothing runs before the first Resume.
  explicit Thread(UiThread& ui);
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // The first call starts the thread; later calls lift a Suspend.
  void Resume();
  // The thread stops at its next hand-over until Resume or Kill.
  void Suspend();
  // Sets the termination request; Execute decides when to look at it.
  void Terminate();
  bool Terminated() const;

  // Stops the thread for good at its next hand-over (also setting the termination request, so
  // that loops inside a running hand-over end), without its termination handler, and waits
  // until it has left Execute (and freed itself, with FreeOnTerminate). Called on the
  // user-interface thread. When called from inside one of this thread's own hand-overs it cannot
  // wait (the thread waits for that hand-over); it then returns false and the thread leaves as
  // soon as the hand-over has ended. After Kill the object may be gone: do not touch it.
  bool Kill();

  // Lets a caller wait for the end of the thread without holding the object, which a
  // free-on-terminate thread deletes: taken before Kill, waited on when Kill could not wait.
  class Ending {
   public:
    void Wait();

   private:
    friend class Thread;
    explicit Ending(std::shared_ptr<Thread::State> state) : state_(std::move(state)) {}
    std::shared_ptr<Thread::State> state_;
  };
  Ending GetEnding() const { return Ending(state_); }

  // Waits until the thread has ended (Execute and the termination handler). Not for
  // free-on-terminate threads, which may be gone by then.
  void WaitFor();

  int ReturnValue() const;

  // Recorded for the platform's scheduler; the portable build runs every thread alike.
  ThreadPriority Priority = ThreadPriority::Normal;
  // Delete the object once the termination handler has run.
  bool FreeOnTerminate = false;
  // Run on the user-interface thread after Execute has returned (not after Kill).
  std::function<void(Thread&)> OnTerminate;
  // The message of an exception that left Execute, empty when none did.
  std::string FatalException;

 protected:
  virtual void Execute() = 0;
  // Runs `job` on the user-interface thread and waits for it. Throws ThreadKilled once the
  // thread has been killed.
  void Synchronize(const std::function<void()>& job);
  void SetReturnValue(int value);
  // The termination hand-over, on the user-interface thread: runs OnTerminate.
  virtual void DoTerminate();

 private:
  void run();

  UiThread& ui_;
  std::shared_ptr<State> state_;
};

}  // namespace corvane
