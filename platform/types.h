// Codes and small records shared by every platform interface. The numbers are the platform's.
#pragma once

#include <cstdint>

namespace platform {

// An opaque handle to the service control manager or to one service; 0 is the null handle.
using ScHandle = std::uintptr_t;

// Last-error numbers the program tests for or reports.
namespace err {
constexpr std::uint32_t Success = 0;
constexpr std::uint32_t FileNotFound = 2;
constexpr std::uint32_t PathNotFound = 3;
constexpr std::uint32_t AccessDenied = 5;
constexpr std::uint32_t InvalidHandle = 6;
constexpr std::uint32_t InvalidParameter = 87;
constexpr std::uint32_t InsufficientBuffer = 122;
constexpr std::uint32_t InvalidName = 123;
constexpr std::uint32_t MoreData = 234;
constexpr std::uint32_t ServiceRequestTimeout = 1053;
constexpr std::uint32_t DependentServicesRunning = 1051;
constexpr std::uint32_t InvalidServiceControl = 1052;
constexpr std::uint32_t ServiceAlreadyRunning = 1056;
constexpr std::uint32_t ServiceDisabled = 1058;
constexpr std::uint32_t ServiceDoesNotExist = 1060;
constexpr std::uint32_t ServiceCannotAcceptControl = 1061;
constexpr std::uint32_t ServiceNotActive = 1062;
constexpr std::uint32_t ServiceSpecificError = 1066;
constexpr std::uint32_t ProcessAborted = 1067;
constexpr std::uint32_t ServiceDependencyFail = 1068;
constexpr std::uint32_t ServiceLogonFailed = 1069;
constexpr std::uint32_t ServiceMarkedForDelete = 1072;
constexpr std::uint32_t ShutdownInProgress = 1115;
}  // namespace err

// Service types (bit set).
namespace svctype {
constexpr std::uint32_t KernelDriver = 0x1;
constexpr std::uint32_t FileSystemDriver = 0x2;
constexpr std::uint32_t Adapter = 0x4;
constexpr std::uint32_t RecognizerDriver = 0x8;
constexpr std::uint32_t OwnProcess = 0x10;
constexpr std::uint32_t ShareProcess = 0x20;
constexpr std::uint32_t Interactive = 0x100;
constexpr std::uint32_t AllEnumerated = 0x3B;  // drivers of three kinds, own and shared process
}  // namespace svctype

// Start types.
namespace start {
constexpr std::uint32_t Boot = 0;
constexpr std::uint32_t System = 1;
constexpr std::uint32_t Automatic = 2;
constexpr std::uint32_t Manual = 3;
constexpr std::uint32_t Disabled = 4;
}  // namespace start

// Current states.
namespace state {
constexpr std::uint32_t Stopped = 1;
constexpr std::uint32_t StartPending = 2;
constexpr std::uint32_t StopPending = 3;
constexpr std::uint32_t Running = 4;
constexpr std::uint32_t ContinuePending = 5;
constexpr std::uint32_t PausePending = 6;
constexpr std::uint32_t Paused = 7;
constexpr std::uint32_t EnumAll = 3;  // enumeration filter: active and inactive
}  // namespace state

// Controls and the accepted-controls bits.
namespace control {
constexpr std::uint32_t Stop = 1;
constexpr std::uint32_t Pause = 2;
constexpr std::uint32_t Continue = 3;
constexpr std::uint32_t Interrogate = 4;
constexpr std::uint32_t AcceptStop = 0x1;
constexpr std::uint32_t AcceptPauseContinue = 0x2;
}  // namespace control

// Access masks.
namespace access {
constexpr std::uint32_t ScManagerAll = 0xF003F;
constexpr std::uint32_t ServiceAll = 0xF01FF;
constexpr std::uint32_t Delete = 0x10000;
}  // namespace access

}  // namespace platform
