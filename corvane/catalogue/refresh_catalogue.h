// Rebuilds the catalogue from the service control manager and the registry.
#pragma once

#include <cstddef>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/shell/dialogs.h"
#include "platform/registry.h"
#include "platform/scm.h"

namespace corvane {

// Sizes the platform is asked with: one enumeration call's answer and a configuration query.
// Answers that do not fit are read on, with the resume position or the size the platform asks for.
inline constexpr std::size_t EnumBufferBytes = 36000;
inline constexpr std::size_t ConfigQueryBytes = 4096;
// The group order list is read into a buffer of this size; a longer value yields no names.
inline constexpr std::size_t GroupListBufferBytes = 8192;

inline constexpr const char* GroupOrderKey =
    "SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder";
inline constexpr const char* ServicesKey = "SYSTEM\\CurrentControlSet\\Services\\";

// What a pass needs from its caller. The buffers belong to the caller and are reused by every
// pass; the pass only writes into them.
struct RefreshContext {
  platform::Scm& scm;
  platform::Registry& MainRegistry;
  Dialogs& dialogs;
  bool ScmAvailable = false;
  platform::ScHandle ScmHandle = 0;
  std::vector<platform::EnumServiceEntry>& EnumBuffer;
  platform::ServiceConfig& ConfigBuffer;
  platform::ServiceStatus& StatusBuffer;
};

// One pass: ServiceTable and GroupTable are rewritten in place and grown when the computer has
// more services or groups than they hold. Failures are reported through the dialogs.
void RefreshCatalogue(const RefreshContext& context, Catalogue& catalogue);

}  // namespace corvane
