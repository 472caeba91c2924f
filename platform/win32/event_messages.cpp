#include "platform/win32/event_messages.h"

#include <windows.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"

namespace platform::win32 {

namespace {

// FormatMessage reads as many arguments as the message names, up to %99: every one of them
// points at a text, so a message asking for more inserts than the record holds cannot read
// beyond the array.
constexpr std::size_t MaxInserts = 99;

std::wstring expanded(const std::wstring& text) {
  const DWORD chars = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (chars == 0)
    return text;
  std::wstring result(chars, L'\0');
  ExpandEnvironmentStringsW(text.c_str(), result.data(), chars);
  result.resize(wcslen(result.c_str()));
  return result;
}

std::vector<std::wstring> messageFiles(const std::string& logName, const std::string& source,
                                       const std::string& fileValue) {
  Win32Registry registry;
  const auto list = registry.readText(
      RegRoot::LocalMachine,
      "SYSTEM\\CurrentControlSet\\Services\\EventLog\\" + logName + "\\" + source, fileValue);
  std::vector<std::wstring> files;
  if (!list)
    return files;
  const std::wstring wide = widen(*list);
  std::size_t start = 0;
  while (start <= wide.size()) {
    std::size_t end = wide.find(L';', start);
    if (end == std::wstring::npos)
      end = wide.size();
    if (end > start)
      files.push_back(expanded(wide.substr(start, end - start)));
    start = end + 1;
  }
  return files;
}

std::optional<std::wstring> formatFromModule(HMODULE module, DWORD id,
                                             const std::vector<std::wstring>& inserts) {
  std::vector<DWORD_PTR> arguments(MaxInserts);
  for (std::size_t i = 0; i < MaxInserts; ++i) {
    arguments[i] = reinterpret_cast<DWORD_PTR>(inserts[i].c_str());
  }
  wchar_t* text = nullptr;
  const DWORD chars = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      module, id, 0, reinterpret_cast<wchar_t*>(&text), 0,
      reinterpret_cast<va_list*>(arguments.data()));
  std::optional<std::wstring> message;
  if (chars > 0)
    message = std::wstring(text, chars);
  LocalFree(text);
  return message;
}

}  // namespace

std::optional<std::string> sourceMessage(const std::string& logName, const std::string& source,
                                         const std::string& fileValue, std::uint32_t id,
                                         const std::vector<std::string>& strings) {
  std::vector<std::wstring> inserts;
  for (std::size_t i = 0; i < MaxInserts; ++i) {
    inserts.push_back(i < strings.size() ? widen(strings[i]) : L"%" + std::to_wstring(i + 1));
  }
  for (const auto& file : messageFiles(logName, source, fileValue)) {
    const HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
      continue;
    const auto message = formatFromModule(module, id, inserts);
    FreeLibrary(module);
    if (message)
      return narrow(*message);
  }
  return std::nullopt;
}

std::string eventDescription(const std::string& logName, const std::string& source,
                             std::uint32_t eventId, const std::vector<std::string>& strings) {
  if (auto message = sourceMessage(logName, source, "EventMessageFile", eventId, strings)) {
    return *message;
  }
  std::string text = "The description for Event ID ( " + std::to_string(eventId & 0xFFFF) +
                     " ) in Source ( " + source + " ) cannot be found.";
  for (const auto& insert : strings)
    text += "\r\n" + insert;
  return text;
}

std::string categoryName(const std::string& logName, const std::string& source,
                         std::uint16_t category) {
  if (category == 0)
    return "None";
  auto name = sourceMessage(logName, source, "CategoryMessageFile", category, {});
  if (!name)
    return std::string("(").append(std::to_string(category)).append(")");
  while (!name->empty() && (name->back() == '\n' || name->back() == '\r'))
    name->pop_back();
  return *name;
}

}  // namespace platform::win32
