// The texts the catalogue shows for the codes of a service, and the markers that stand in its
// fields for missing data. The views show them as they are.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

inline constexpr const char* NoGroupMarker = " - does not belong to a group - ";
inline constexpr const char* NoneMarker = " - none - ";
inline constexpr const char* UnavailableMarker = " - unavailable - ";
inline constexpr const char* UngroupedEntryName = "- services not belonging to a group";
inline constexpr const char* NoGroupListEntryName = " - unable to retrieve a group list - ";
inline constexpr const char* OpenServiceFailedMarker = " - error opening service - ";
inline constexpr const char* QueryConfigFailedMarker = " - error querying service config - ";
inline constexpr const char* QueryStatusFailedMarker = " - error querying service status - ";
inline constexpr const char* DescriptionKeyMissingMarker =
    " - error retriving description: 'unable to open reg key for service' - ";
inline constexpr const char* DescriptionNotTextMarker = " - Description value not a string - ";

// "boot", "system", "automatic", "manual", "disabled" for 0 to 4, else "unknown: " and the number.
std::string StartTypeText(std::uint32_t startType);
// "stopped", "starting...", "stopping...", "running", "resuming...", "pausing...", "paused" for
// 1 to 7, else "unknown: " and the number.
std::string StateText(std::uint32_t state);

struct TypeTexts {
  std::string TypeText;
  std::string InteractiveText;
};
// "kernel driver", "file system driver", "own process", "share process" (with "yes" for the
// interactive kinds 272 and 288), else "unknown: " and the number with no interactive text.
TypeTexts ServiceTypeTexts(std::int32_t serviceType);

}  // namespace corvane
