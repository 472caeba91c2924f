// A main window and a console on a small simulated computer, with scripted dialogs and a virtual
// clock, offscreen.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "support/temp_folder.h"
#include "corvane/catalogue/Qt_service_list_model.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"
#include "platform/sim/simulated_machine.h"
#include "support/scripted_dialogs.h"

namespace corvane::testing {

// The one QApplication of the test program.
inline QApplication& application() {
  static int argc = 1;
  static char name[] = "forms_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct ServiceSpec {
  std::string name;
  std::string displayName;
  int type;
  int start;
  std::string state;  // as services.ini writes it
};

// Four services and three drivers of every kind the filters tell apart.
inline const ServiceSpec DefaultServices[] = {
    {"Alerter", "Alerter", 0x20, 4, "stopped"},
    {"Browser", "Computer Browser", 0x20, 2, "running"},
    {"Spooler", "Print Spooler", 0x110, 2, "running"},
    {"Fs_Rec", "Fs_Rec", 0x8, 1, "running"},
    {"Beep", "Beep", 0x1, 1, "running"},
    {"Cdrom", "CD-ROM Driver", 0x1, 1, "running"},
    {"Fastfat", "Fastfat", 0x2, 3, "stopped"},
};

class FormsTest : public ::testing::Test {
 protected:
  FormsTest();
  ~FormsTest() override;

  // Shows the main window, which submits the first request, and waits for its completion.
  void ShowAndWaitForFirstRequest();
  // Waits until the running request has completed.
  void WaitForCompletion();
  // The Name cells of the list, top to bottom.
  std::vector<std::string> Names() const;

  TempFolder folder;
  platform::VirtualClock clock;
  std::unique_ptr<platform::sim::SimulatedMachine> machine;
  ScriptedDialogs dialogs;
  ProgramState program;
  RequestState request;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TConsole> console;
};

}  // namespace corvane::testing
