#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

namespace {

// The C run-time's text for a failed process creation, as its spawn functions report it.
std::string runtimeErrorText(DWORD error) {
  int number = EINVAL;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
      number = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      number = EACCES;
      break;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
      number = ENOEXEC;
      break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      number = ENOMEM;
      break;
    case ERROR_FILENAME_EXCED_RANGE:
      number = ENAMETOOLONG;
      break;
  }
  return std::strerror(number);
}

// The started process, or nothing with the system's error number.
std::optional<PROCESS_INFORMATION> create(const std::string& commandLine, DWORD& error) {
  std::wstring line = widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    error = GetLastError();
    return std::nullopt;
  }
  return process;
}

void closeHandles(const PROCESS_INFORMATION& process) {
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

std::string quoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    return argument;
  }
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote is escaped.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  // Before the closing quote, backslashes are doubled.
  quoted.append(backslashes * 2, '\\');
  return quoted + '"';
}

bool Win32Processes::startDetached(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   std::string& errorText) {
  std::string commandLine = quoteArgument(program);
  for (const auto& argument : arguments)
    commandLine += ' ' + quoteArgument(argument);
  DWORD error = 0;
  const auto process = create(commandLine, error);
  if (!process) {
    errorText = systemMessage(error);
    return false;
  }
  closeHandles(*process);
  return true;
}

bool Win32Processes::runAndWait(const std::string& program, const std::string& commandLine,
                                std::string& errorText) {
  DWORD error = 0;
  const auto process = create(quoteArgument(program) + ' ' + commandLine, error);
  if (!process) {
    errorText = runtimeErrorText(error);
    return false;
  }
  WaitForSingleObject(process->hProcess, INFINITE);
  closeHandles(*process);
  return true;
}

}  // namespace platform::win32
