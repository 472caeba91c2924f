// The service control manager through the wide-character Windows calls.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/scm.h"

namespace platform::win32 {

class Win32Scm : public Scm {
 public:
  ScHandle openSCManager(std::uint32_t access) override;
  // Sizes are those of the wide-character answer structures.
  bool enumServicesStatus(ScHandle manager, std::uint32_t types, std::uint32_t states,
                          std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                          std::size_t& bytesNeeded, std::uint32_t& resumeIndex) override;
  ScHandle openService(ScHandle manager, const std::string& serviceName,
                       std::uint32_t access) override;
  bool queryServiceConfig(ScHandle service, std::size_t bufferSize, ServiceConfig& config,
                          std::size_t& bytesNeeded) override;
  bool queryServiceStatus(ScHandle service, ServiceStatus& status) override;
  bool controlService(ScHandle service, std::uint32_t control, ServiceStatus& status) override;
  bool startService(ScHandle service) override;
  bool changeServiceStartType(ScHandle service, std::uint32_t startType) override;
  bool deleteService(ScHandle service) override;
  bool closeServiceHandle(ScHandle handle) override;
  std::uint32_t lastError() const override;

 private:
  // Answer buffer, kept between calls; 8-byte aligned for the answer structures.
  void* answerBuffer(std::size_t bytes);
  bool result(bool succeeded);
  // The whole list in one answer, the buffer grown as the platform asks.
  bool enumerateWhole(ScHandle manager, std::uint32_t types, std::uint32_t states,
                      std::vector<EnumServiceEntry>& all);
  // Paging by position over the whole list, for a platform that ignores the resume handle.
  bool enumerateByIndex(ScHandle manager, std::uint32_t types, std::uint32_t states,
                        std::size_t bufferSize, std::vector<EnumServiceEntry>& entries,
                        std::size_t& bytesNeeded, std::uint32_t& resumeIndex);

  std::vector<std::uint64_t> buffer_;
  std::uint32_t lastError_ = 0;
  // Wine answers a partial list without moving the resume handle, and starts every enumeration
  // from the first service: followed as it stands, a caller would page forever.
  bool resumeIgnored_ = false;
};

}  // namespace platform::win32
