#include "forms_fixture.h"

#include <filesystem>
#include <sstream>

namespace corvane::testing {

namespace {

std::string hexDword(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

std::string registryOf(const ServiceSpec* begin, const ServiceSpec* end) {
  std::ostringstream reg;
  reg << "REGEDIT4\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
         "\"CurrentVersion\"=\"5.1\"\r\n\"CurrentBuildNumber\"=\"2600\"\r\n\r\n"
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder]\r\n"
         "\"List\"=hex(7):42,61,73,65,00,00\r\n\r\n";
  for (const ServiceSpec* spec = begin; spec != end; ++spec) {
    reg << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\" << spec->name << "]\r\n"
        << "\"Type\"=dword:" << hexDword(spec->type) << "\r\n"
        << "\"Start\"=dword:" << hexDword(spec->start) << "\r\n"
        << "\"ErrorControl\"=dword:00000001\r\n"
        << "\"DisplayName\"=\"" << spec->displayName << "\"\r\n"
        << "\"Description\"=\"What " << spec->displayName << " does.\"\r\n\r\n";
  }
  return reg.str();
}

}  // namespace

FormsTest::FormsTest() {
  application();
  const std::filesystem::path machineFolder = folder / "machine";
  std::filesystem::create_directories(machineFolder / "eventlogs");
  TempFolder::writeFile(machineFolder / "registry.reg",
                    registryOf(std::begin(DefaultServices), std::end(DefaultServices)));
  std::string services;
  for (const ServiceSpec& spec : DefaultServices) {
    services += "[" + spec.name + "]\r\nState=" + spec.state + "\r\n\r\n";
  }
  TempFolder::writeFile(machineFolder / "services.ini", services);
  machine =
      std::make_unique<platform::sim::SimulatedMachine>(machineFolder, clock, folder / "user.reg");
  program.InstallDir = folder.path();
  program.OsVersionText = "Windows XP ver: 5.1.2600";
  program.MainRegistry = &machine->registry();
  form = std::make_unique<TMainForm>(*machine, dialogs, program, request);
  console = std::make_unique<TConsole>(program, request);
  form->SetConsole(console.get());
}

FormsTest::~FormsTest() {
  if (!request.WorkerIdle && !request.Closing) {
    WaitForCompletion();
  }
  console.reset();
  form.reset();
}

void FormsTest::ShowAndWaitForFirstRequest() {
  form->show();
  WaitForCompletion();
}

void FormsTest::WaitForCompletion() {
  // The worker's hand-overs run in the event loop; the virtual clock makes its waits instant.
  const bool done =
      QTest::qWaitFor([this] { return request.WorkerIdle.load() && !request.Busy; }, 30000);
  ASSERT_TRUE(done) << "the request did not complete: idle " << request.WorkerIdle.load()
                    << ", busy " << request.Busy;
}

std::vector<std::string> FormsTest::Names() const {
  std::vector<std::string> names;
  for (const ServRow& row : form->ServListModel().list().rows()) {
    names.push_back(row.serviceName());
  }
  return names;
}

}  // namespace corvane::testing
