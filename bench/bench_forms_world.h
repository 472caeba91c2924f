// A main window and a console over a generated simulated computer whose catalogue has been read
// once, offscreen, for the window benchmarks.
#pragma once

#include <QApplication>
#include <memory>

#include "bench/sim_machine_generator.h"
#include "corvane/catalogue/refresh_catalogue.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"
#include "platform/sim/simulated_machine.h"
#include "tests/support/scripted_dialogs.h"

namespace bench {

inline QApplication& formsApplication() {
  static int argc = 1;
  static char name[] = "corvane_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

class FormsWorld {
 public:
  explicit FormsWorld(int serviceCount) : generated_(serviceCount) {
    formsApplication();
    machine_ = std::make_unique<platform::sim::SimulatedMachine>(generated_.folder(), clock_,
                                                                 generated_.userRegistryFile());
    program.MainRegistry = &machine_->registry();
    readCatalogue();
    form = std::make_unique<corvane::TMainForm>(*machine_, dialogs_, program, request);
    console = std::make_unique<corvane::TConsole>(program, request);
    form->SetConsole(console.get());
    // Shown without its first request, and taking none: the benchmarks do the fills themselves.
    request.WorkerIdle = false;
    form->show();
    request.WorkerIdle = true;
    request.Busy = false;
    program.RequestsBlocked = true;
    QCoreApplication::processEvents();
  }

  corvane::ProgramState program;
  corvane::RequestState request;
  std::unique_ptr<corvane::TMainForm> form;
  std::unique_ptr<corvane::TConsole> console;

 private:
  void readCatalogue() {
    platform::Scm& scm = machine_->scm();
    const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
    std::vector<platform::EnumServiceEntry> enumBuffer;
    const corvane::RefreshContext context{scm,
                                          machine_->registry(),
                                          dialogs_,
                                          manager != 0,
                                          manager,
                                          enumBuffer,
                                          program.ConfigBuffer,
                                          program.StatusBuffer};
    corvane::RefreshCatalogue(context, program.catalogue);
    scm.closeServiceHandle(manager);
  }

  GeneratedMachine generated_;
  platform::VirtualClock clock_;
  std::unique_ptr<platform::sim::SimulatedMachine> machine_;
  corvane::testing::ScriptedDialogs dialogs_;
};

}  // namespace bench
