#include "corvane/engine/thread.h"

#include <atomic>
#include <exception>
#include <thread>

namespace corvane {

// Shared by the object, the running thread and the jobs it has posted, so that each of them can
// outlive the others (a free-on-terminate thread deletes the object before it ends; a posted job
// may run after its thread has been killed).
struct Thread::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool started = false;
  bool suspended = false;
  bool killed = false;
  bool finished = false;
  bool inHandOver = false;
  std::thread::id threadId;
  std::atomic<bool> terminated{false};
  std::atomic<int> returnValue{0};
};

namespace {
struct HandOver {
  bool started = false;
  bool done = false;
  std::exception_ptr error;
};
}  // namespace

Thread::Thread(UiThread& ui) : ui_(ui), state_(std::make_shared<State>()) {}

Thread::~Thread() {
  std::unique_lock lock(state_->mutex);
  if (state_->started && state_->threadId != std::this_thread::get_id()) {
    state_->changed.wait(lock, [this] { return state_->finished; });
  }
}

void Thread::Resume() {
  std::lock_guard lock(state_->mutex);
  if (state_->started) {
    state_->suspended = false;
    state_->changed.notify_all();
    return;
  }
  state_->started = true;
  std::thread worker([this] { run(); });
  state_->threadId = worker.get_id();
  worker.detach();
}

void Thread::Suspend() {
  std::lock_guard lock(state_->mutex);
  state_->suspended = true;
}

void Thread::Terminate() {
  state_->terminated = true;
}

bool Thread::Terminated() const {
  return state_->terminated;
}

int Thread::ReturnValue() const {
  return state_->returnValue;
}

void Thread::SetReturnValue(int value) {
  state_->returnValue = value;
}

bool Thread::Kill() {
  const std::shared_ptr<State> state = state_;
  state->terminated = true;
  std::unique_lock lock(state->mutex);
  state->killed = true;
  state->changed.notify_all();
  if (!state->started) {
    lock.unlock();
    if (FreeOnTerminate)
      delete this;
    return true;
  }
  if (state->inHandOver)
    return false;
  state->changed.wait(lock, [&] { return state->finished; });
  return true;
}

void Thread::Ending::Wait() {
  std::unique_lock lock(state_->mutex);
  state_->changed.wait(lock, [this] { return !state_->started || state_->finished; });
}

void Thread::WaitFor() {
  std::unique_lock lock(state_->mutex);
  state_->changed.wait(lock, [this] { return !state_->started || state_->finished; });
}

void Thread::Synchronize(const std::function<void()>& job) {
  const std::shared_ptr<State> state = state_;
  const auto handOver = std::make_shared<HandOver>();
  {
    std::unique_lock lock(state->mutex);
    state->changed.wait(lock, [&] { return !state->suspended || state->killed; });
    if (state->killed)
      throw ThreadKilled{};
  }
  // `job` lives on this thread's stack: the posted wrapper touches it only after checking, under
  // the lock, that this thread still waits for it.
  ui_.post([state, handOver, &job] {
    {
      std::lock_guard lock(state->mutex);
      if (state->killed)
        return;
      handOver->started = true;
      state->inHandOver = true;
    }
    std::exception_ptr error;
    try {
      job();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard lock(state->mutex);
    handOver->error = error;
    handOver->done = true;
    state->inHandOver = false;
    state->changed.notify_all();
  });
  std::unique_lock lock(state->mutex);
  state->changed.wait(lock,
                      [&] { return handOver->done || (state->killed && !handOver->started); });
  if (!handOver->done)
    throw ThreadKilled{};
  if (handOver->error)
    std::rethrow_exception(handOver->error);
}

void Thread::DoTerminate() {
  if (OnTerminate)
    OnTerminate(*this);
}

void Thread::run() {
  const std::shared_ptr<State> state = state_;
  bool killed = false;
  try {
    Execute();
  } catch (const ThreadKilled&) {
    killed = true;
  } catch (const std::exception& error) {
    FatalException = error.what();
  } catch (...) {
    FatalException = "unknown exception";
  }
  if (!killed) {
    try {
      Synchronize([this] { DoTerminate(); });
    } catch (...) {
      // Killed before the handler could run, or the handler failed: the thread ends either way.
    }
  }
  if (FreeOnTerminate)
    delete this;
  std::lock_guard lock(state->mutex);
  state->finished = true;
  state->changed.notify_all();
}

}  // namespace corvane
