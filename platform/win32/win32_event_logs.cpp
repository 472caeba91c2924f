#include "platform/win32/win32_event_logs.h"

#include <windows.h>

#include "platform/win32/event_messages.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// The parts of a record after its fixed header, each checked to lie inside the record.
struct RecordTexts {
  std::string source;
  std::string computer;
  std::string user;
  std::vector<std::string> strings;
};

std::string accountName(const void* sid) {
  wchar_t name[256];
  wchar_t domain[256];
  DWORD nameChars = 256;
  DWORD domainChars = 256;
  SID_NAME_USE use;
  if (!IsValidSid(const_cast<void*>(sid)) ||
      !LookupAccountSidW(nullptr, const_cast<void*>(sid), name, &nameChars, domain, &domainChars,
                         &use)) {
    return {};
  }
  return narrow(domain) + "\\" + narrow(name);
}

RecordTexts textsOf(const EVENTLOGRECORD& record) {
  const auto* bytes = reinterpret_cast<const char*>(&record);
  const std::size_t length = record.Length;
  const auto textAt = [&](std::size_t offset, std::size_t& next) {
    if (offset >= length) {
      next = length;
      return std::string();
    }
    const auto* text = reinterpret_cast<const wchar_t*>(bytes + offset);
    const std::size_t maxChars = (length - offset) / sizeof(wchar_t);
    std::size_t chars = 0;
    while (chars < maxChars && text[chars] != L'\0')
      ++chars;
    next = offset + (chars + 1) * sizeof(wchar_t);
    return narrow(std::wstring_view(text, chars));
  };
  RecordTexts texts;
  std::size_t next = 0;
  texts.source = textAt(sizeof(EVENTLOGRECORD), next);
  texts.computer = textAt(next, next);
  if (record.UserSidLength >= sizeof(SID) && record.UserSidOffset < length &&
      record.UserSidLength <= length - record.UserSidOffset) {
    texts.user = accountName(bytes + record.UserSidOffset);
  }
  std::size_t offset = record.StringOffset;
  for (WORD i = 0; i < record.NumStrings && offset < length; ++i) {
    texts.strings.push_back(textAt(offset, offset));
  }
  return texts;
}

}  // namespace

Win32EventLog::Win32EventLog(void* handle, std::string logName)
    : handle_(handle), logName_(std::move(logName)), buffer_(0x10000 / 8) {}

Win32EventLog::~Win32EventLog() {
  CloseEventLog(handle_);
}

std::uint32_t Win32EventLog::count() {
  DWORD records = 0;
  return GetNumberOfEventLogRecords(handle_, &records) ? records : 0;
}

std::uint32_t Win32EventLog::oldestRecordNumber() {
  DWORD oldest = 0;
  return GetOldestEventLogRecord(handle_, &oldest) ? oldest : 0;
}

bool Win32EventLog::read(std::uint32_t index) {
  if (index >= count())
    return false;
  const DWORD number = oldestRecordNumber() + index;
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD got = 0;
    DWORD needed = 0;
    const DWORD size = static_cast<DWORD>(buffer_.size() * 8);
    if (ReadEventLogW(handle_, EVENTLOG_SEEK_READ | EVENTLOG_FORWARDS_READ, number, buffer_.data(),
                      size, &got, &needed)) {
      const auto* record = reinterpret_cast<const EVENTLOGRECORD*>(buffer_.data());
      return got >= sizeof(EVENTLOGRECORD) && record->Length <= got &&
             record->Length >= sizeof(EVENTLOGRECORD) && record->RecordNumber == number;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      return false;
    buffer_.resize((needed + 7) / 8);
  }
  return false;
}

const std::string& Win32EventLog::cachedCategoryName(const std::string& source,
                                                     std::uint16_t category) {
  const auto key = std::make_pair(source, category);
  auto found = categoryNames_.find(key);
  if (found == categoryNames_.end()) {
    found = categoryNames_.emplace(key, categoryName(logName_, source, category)).first;
  }
  return found->second;
}

std::optional<EventRecord> Win32EventLog::record(std::uint32_t index) {
  if (!read(index))
    return std::nullopt;
  const auto& raw = *reinterpret_cast<const EVENTLOGRECORD*>(buffer_.data());
  RecordTexts texts = textsOf(raw);
  EventRecord record;
  record.recordNumber = raw.RecordNumber;
  record.timeGenerated = raw.TimeGenerated;
  record.eventId = raw.EventID;
  record.eventType = raw.EventType;
  record.category = raw.EventCategory;
  record.categoryName = cachedCategoryName(texts.source, raw.EventCategory);
  record.sourceName = std::move(texts.source);
  record.computerName = std::move(texts.computer);
  record.userName = std::move(texts.user);
  record.strings = std::move(texts.strings);
  return record;
}

std::optional<std::string> Win32EventLog::description(std::uint32_t index) {
  if (!read(index))
    return std::nullopt;
  const auto& raw = *reinterpret_cast<const EVENTLOGRECORD*>(buffer_.data());
  const RecordTexts texts = textsOf(raw);
  return eventDescription(logName_, texts.source, raw.EventID, texts.strings);
}

bool Win32EventLog::clear(std::uint32_t& error) {
  if (ClearEventLogW(handle_, nullptr))
    return true;
  error = GetLastError();
  return false;
}

std::unique_ptr<EventLog> Win32EventLogs::open(const std::string& logName, std::uint32_t& error) {
  const HANDLE handle = OpenEventLogW(nullptr, widen(logName).c_str());
  if (handle == nullptr) {
    error = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32EventLog>(handle, logName);
}

}  // namespace platform::win32
