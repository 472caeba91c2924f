#include "corvane/shell/QtInstanceGuard.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace corvane {

namespace {

constexpr int WaitMs = 2000;
const QByteArray Request = "forward\n";
const QByteArray Done = "done\n";

// Per user: the lock file in the user's runtime (or temporary) folder, the socket named after it.
QString lockFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) {
    folder = QDir::tempPath();
  }
  return folder;
}

}  // namespace

QtInstanceGuard::QtInstanceGuard(const QString& name)
    : socketName_(name + "-" + QString::number(qHash(lockFolder()), 16)),
      lock_(lockFolder() + "/" + name + ".lock") {
  // A lock is stale only when the process that took it is gone, however old it is.
  lock_.setStaleLockTime(0);
}

QtInstanceGuard::~QtInstanceGuard() {
  if (server_) {
    server_->close();
  }
}

InstanceGuard::Role QtInstanceGuard::acquire() {
  if (!lock_.tryLock(0)) {
    return Role::Second;
  }
  // The lock is ours: a socket name left by a first instance that crashed is taken over.
  QLocalServer::removeServer(socketName_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                   [this] { answer(); });
  server_->listen(socketName_);
  return Role::First;
}

void QtInstanceGuard::answer() {
  while (QLocalSocket* caller = server_->nextPendingConnection()) {
    QObject::connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
    QObject::connect(caller, &QLocalSocket::readyRead, caller, [this, caller] {
      if (!caller->canReadLine()) {
        return;
      }
      if (caller->readLine() == Request) {
        if (onBringForward) {
          onBringForward();
        }
        caller->write(Done);
        caller->flush();
      }
      caller->disconnectFromServer();
    });
  }
}

bool QtInstanceGuard::bringFirstForward() {
  QLocalSocket socket;
  socket.connectToServer(socketName_);
  if (!socket.waitForConnected(WaitMs)) {
    return false;
  }
  socket.write(Request);
  if (!socket.waitForBytesWritten(WaitMs)) {
    return false;
  }
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(WaitMs)) {
      return false;
    }
  }
  return socket.readLine() == Done;
}

}  // namespace corvane
