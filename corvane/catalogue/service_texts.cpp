#include "corvane/catalogue/service_texts.h"

#include <array>

namespace corvane {

namespace {
std::string unknown(std::int64_t code) {
  return "unknown: " + std::to_string(code);
}
}  // namespace

std::string StartTypeText(std::uint32_t startType) {
  static constexpr std::array<const char*, 5> texts = {"boot", "system", "automatic", "manual",
                                                       "disabled"};
  return startType < texts.size() ? texts[startType] : unknown(startType);
}

std::string StateText(std::uint32_t state) {
  static constexpr std::array<const char*, 7> texts = {
      "stopped", "starting...", "stopping...", "running", "resuming...", "pausing...", "paused"};
  return state >= 1 && state <= texts.size() ? texts[state - 1] : unknown(state);
}

TypeTexts ServiceTypeTexts(std::int32_t serviceType) {
  switch (serviceType) {
    case 1:
      return {"kernel driver", ""};
    case 2:
      return {"file system driver", ""};
    case 16:
      return {"own process", ""};
    case 32:
      return {"share process", ""};
    case 272:
      return {"own process", "yes"};
    case 288:
      return {"share process", "yes"};
    default:
      return {unknown(serviceType), ""};
  }
}

}  // namespace corvane
