// The single-instance rule in the Qt program: a lock file decides which start is the first; the
// first then listens on a local socket, and a second start connects to it and asks it to bring
// its main window forward.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

#include "corvane/shell/single_instance.h"

namespace corvane {

class QtInstanceGuard : public InstanceGuard {
 public:
  // `name` tells the lock file and the socket apart from those of other programs or users.
  explicit QtInstanceGuard(const QString& name = "CorvaneSemaphore");
  ~QtInstanceGuard() override;

  Role acquire() override;
  bool bringFirstForward() override;

  // What the first instance does when a second start asks it to come forward.
  std::function<void()> onBringForward;

 private:
  void answer();

  QString socketName_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace corvane
