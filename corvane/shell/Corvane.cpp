// Corvane's entry: one instance at a time, the windows in their order, then the message loop.
#include <QApplication>
#include <QDir>
#include <exception>

#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/Form_settings.h"
#include "corvane/shell/QtDialogs.h"
#include "corvane/shell/QtInstanceGuard.h"
#include "corvane/shell/program_state.h"
#include "corvane/snapshot/Form_script.h"

#ifdef _WIN32
#include "platform/win32/win32_platform.h"
#else
#include "platform/sim/simulated_machine.h"
#endif

namespace {

std::unique_ptr<platform::Platform> openComputer() {
#ifdef _WIN32
  return platform::win32::openWindowsPlatform();
#else
  return platform::sim::openDefaultMachine();
#endif
}

int run(QApplication& application) {
  corvane::QtDialogs dialogs;
  corvane::QtInstanceGuard guard;
  if (corvane::EnsureSingleInstance(guard, dialogs) == corvane::StartupOutcome::Terminate) {
    return 0;
  }

  std::unique_ptr<platform::Platform> computer;
  try {
    computer = openComputer();
  } catch (const std::exception& failure) {
    dialogs.messageBox(std::string("Unable to open the computer:\n") + failure.what(), "error",
                       corvane::DialogIcon::Error, corvane::DialogButtons::Ok);
    return 0;
  }

  corvane::ProgramState& program = corvane::programState();
  corvane::RequestState& request = corvane::requestState();
  corvane::TMainForm MainForm(*computer, dialogs, program, request);
  dialogs.SetOwner(&MainForm);
  guard.onBringForward = [&MainForm] {
    if (MainForm.isMinimized()) {
      MainForm.showNormal();
    }
    MainForm.raise();
    MainForm.activateWindow();
  };

  QStringList arguments = application.arguments();
  arguments.removeFirst();
  std::vector<std::string> commandLine;
  for (const QString& argument : arguments) {
    commandLine.push_back(argument.toStdString());
  }
  const corvane::StartupEnvironment environment{
      computer->registry(), computer->systemInfo(), dialogs,
      QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString(), commandLine};
  const bool started = MainForm.FormCreate(environment) == corvane::StartupOutcome::GoOn;

  corvane::TConsole Console(program, request);
  MainForm.SetConsole(&Console);
  corvane::TRecForm RecForm(MainForm, *computer, dialogs, program, request);
  MainForm.SetRecForm(&RecForm);
  // Creating the settings dialog fits the main window on the screen and shows it, which reads
  // settings.ini and submits the first request.
  corvane::TSettings Settings(MainForm, Console, dialogs, program);
  MainForm.CreateEditors();
  if (!started || !program.ShowMainFormAtStart) {
    return 0;
  }
  try {
    application.exec();
  } catch (const std::exception& failure) {
    dialogs.messageBox(failure.what(), "Corvane", corvane::DialogIcon::Error,
                       corvane::DialogButtons::Ok);
  } catch (...) {
    dialogs.messageBox("Unhandled exception !", "Corvane", corvane::DialogIcon::Error,
                       corvane::DialogButtons::Ok);
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Corvane");
  QApplication::setApplicationDisplayName("Corvane");
  run(application);
  return 0;
}
