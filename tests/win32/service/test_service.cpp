// A service for the provider's tests, registered with the command line
//   corvane_test_service.exe NAME [--gated]
// It reports START_PENDING with advancing check points before RUNNING, accepts stop, pause and
// continue, and passes through the pending state of each. After every status it reports it sets
// the event "Global\NAME.reported"; gated, it then waits in each pending state until the test
// sets "Global\NAME.advance".
//
// Started directly as
//   corvane_test_service.exe --record-args EVENT FILE ARGUMENTS...
// it writes the arguments it received to FILE, one a line in UTF-8, and sets the event EVENT.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// A test that died leaves no one to advance the service: it goes on by itself after this.
constexpr DWORD GateTimeoutMs = 30000;
constexpr DWORD PendingWaitHintMs = 10000;

std::wstring serviceName;
bool gated = false;
SERVICE_STATUS_HANDLE statusHandle = nullptr;
SERVICE_STATUS status{};
HANDLE reported = nullptr;
HANDLE advance = nullptr;
HANDLE controlArrived = nullptr;
volatile LONG pendingControl = 0;

HANDLE namedEvent(const wchar_t* suffix) {
  return CreateEventW(nullptr, FALSE, FALSE, (L"Global\\" + serviceName + suffix).c_str());
}

void report(DWORD state, DWORD checkPoint) {
  const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING ||
                       state == SERVICE_PAUSE_PENDING || state == SERVICE_CONTINUE_PENDING;
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted =
      state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING || state == SERVICE_STOPPED
          ? 0
          : SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE;
  status.dwWin32ExitCode = NO_ERROR;
  status.dwCheckPoint = checkPoint;
  status.dwWaitHint = pending ? PendingWaitHintMs : 0;
  SetServiceStatus(statusHandle, &status);
  SetEvent(reported);
}

void waitForTest() {
  if (gated)
    WaitForSingleObject(advance, GateTimeoutMs);
}

DWORD WINAPI controlHandler(DWORD control, DWORD, void*, void*) {
  switch (control) {
    case SERVICE_CONTROL_STOP:
      report(SERVICE_STOP_PENDING, 1);
      break;
    case SERVICE_CONTROL_PAUSE:
      report(SERVICE_PAUSE_PENDING, 1);
      break;
    case SERVICE_CONTROL_CONTINUE:
      report(SERVICE_CONTINUE_PENDING, 1);
      break;
    case SERVICE_CONTROL_INTERROGATE:
      return NO_ERROR;
    default:
      return ERROR_CALL_NOT_IMPLEMENTED;
  }
  InterlockedExchange(&pendingControl, static_cast<LONG>(control));
  SetEvent(controlArrived);
  return NO_ERROR;
}

void WINAPI serviceMain(DWORD, wchar_t**) {
  reported = namedEvent(L".reported");
  advance = namedEvent(L".advance");
  controlArrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  statusHandle = RegisterServiceCtrlHandlerExW(serviceName.c_str(), controlHandler, nullptr);
  if (statusHandle == nullptr)
    return;
  for (DWORD checkPoint = 1; checkPoint <= 2; ++checkPoint) {
    report(SERVICE_START_PENDING, checkPoint);
    waitForTest();
  }
  report(SERVICE_RUNNING, 0);
  for (;;) {
    WaitForSingleObject(controlArrived, INFINITE);
    const auto control = static_cast<DWORD>(InterlockedExchange(&pendingControl, 0));
    waitForTest();
    if (control == SERVICE_CONTROL_STOP)
      break;
    report(control == SERVICE_CONTROL_PAUSE ? SERVICE_PAUSED : SERVICE_RUNNING, 0);
  }
  report(SERVICE_STOPPED, 0);
}

int recordArguments(int argc, wchar_t** argv) {
  FILE* file = _wfopen(argv[3], L"wb");
  if (file == nullptr)
    return 1;
  for (int i = 4; i < argc; ++i) {
    char utf8[4096];
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8, sizeof(utf8), nullptr, nullptr);
    if (bytes > 0)
      std::fwrite(utf8, 1, static_cast<std::size_t>(bytes - 1), file);
    std::fputc('\n', file);
  }
  std::fclose(file);
  const HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  if (done != nullptr)
    SetEvent(done);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wstring(argv[1]) == L"--record-args")
    return recordArguments(argc, argv);
  if (argc < 2)
    return 2;
  serviceName = argv[1];
  gated = argc >= 3 && std::wstring(argv[2]) == L"--gated";
  SERVICE_TABLE_ENTRYW table[] = {{serviceName.data(), serviceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherW(table) ? 0 : 1;
}
