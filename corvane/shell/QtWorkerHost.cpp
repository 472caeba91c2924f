#include "corvane/shell/QtWorkerHost.h"

#include <QApplication>
#include <QTreeWidget>

#include "corvane/catalogue/refresh_catalogue.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"
#include "platform/platform.h"

namespace corvane {

void QtUiThread::post(std::function<void()> job) {
  QMetaObject::invokeMethod(qApp, std::move(job), Qt::QueuedConnection);
}

QtWorkerHost::QtWorkerHost(TMainForm& form, platform::Platform& machine, Dialogs& dialogs,
                           ProgramState& program, RequestState& request)
    : form_(form), machine_(machine), dialogs_(dialogs), program_(program), request_(request) {}

void QtWorkerHost::AppendConsoleLine(const std::string& line) {
  if (console_ != nullptr) {
    console_->AppendConsoleLine(line);
  }
}

void QtWorkerHost::ShowConsole() {
  if (console_ != nullptr) {
    console_->show();
  }
}

void QtWorkerHost::HideConsole() {
  if (console_ != nullptr) {
    console_->hide();
  }
}

void QtWorkerHost::SetConsoleButtonEnabled(bool enabled) {
  if (console_ != nullptr) {
    console_->CloseButton->setEnabled(enabled);
  }
}

void QtWorkerHost::SetConsoleButtonCaption(const std::string& caption) {
  if (console_ != nullptr) {
    console_->CloseButton->setText(QString::fromStdString(caption));
  }
}

int QtWorkerHost::ConsoleProgressPosition() {
  return console_ != nullptr ? console_->Progress->value() : 0;
}

void QtWorkerHost::SetConsoleProgressPosition(int position) {
  if (console_ != nullptr) {
    console_->Progress->setValue(position);
    console_->Progress->repaint();
  }
}

bool QtWorkerHost::AutoHideConsole() {
  return console_ == nullptr || console_->AutoHide;
}

void QtWorkerHost::DrawStatusProgress(float percent) {
  form_.DrawStatusProgress(percent);
}

MainPage QtWorkerHost::ActivePage() {
  return form_.ActivePage();
}

std::optional<std::string> QtWorkerHost::SelectedServiceName() {
  return form_.SelectedServiceName();
}

std::optional<std::string> QtWorkerHost::SelectedGroupNodeText() {
  const QTreeWidgetItem* node = form_.Groups->currentItem();
  if (node == nullptr || !node->isSelected()) {
    return std::nullopt;
  }
  return node->text(0).toStdString();
}

void QtWorkerHost::ProcessMessages() {
  QCoreApplication::processEvents();
}

void QtWorkerHost::RefreshCatalogue() {
  platform::Registry& registry =
      program_.MainRegistry != nullptr ? *program_.MainRegistry : machine_.registry();
  const RefreshContext context{machine_.scm(),
                               registry,
                               dialogs_,
                               request_.ScmAvailable,
                               request_.ScmHandle,
                               request_.EnumBuffer,
                               program_.ConfigBuffer,
                               program_.StatusBuffer};
  corvane::RefreshCatalogue(context, program_.catalogue);
}

void QtWorkerHost::ReactivateEventLogs() {
  form_.ReactivateEventLogs();
}

void QtWorkerHost::MessageBox(BoxOwner, const std::string& text, const std::string& caption,
                              DialogIcon icon) {
  dialogs_.messageBox(text, caption, icon, DialogButtons::Ok);
}

void QtWorkerHost::TerminateApplication() {
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace corvane
