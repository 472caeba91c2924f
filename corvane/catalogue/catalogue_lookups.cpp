#include "corvane/catalogue/catalogue_lookups.h"

#include "common/text.h"

namespace corvane {

namespace {

bool sameText(std::string_view a, std::string_view b, LetterCase letterCase) {
  return letterCase == LetterCase::Heeded ? a == b : common::equalsIgnoreCase(a, b);
}

template <typename Field>
std::ptrdiff_t findRecord(const Catalogue& catalogue, std::string_view text, LetterCase letterCase,
                          Field field) {
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (sameText(catalogue.ServiceTable[i].*field, text, letterCase)) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

}  // namespace

std::ptrdiff_t findRecordByDisplayName(const Catalogue& catalogue, std::string_view text,
                                       LetterCase letterCase) {
  return findRecord(catalogue, text, letterCase, &ServiceRecord::DisplayName);
}

std::ptrdiff_t findRecordByServiceName(const Catalogue& catalogue, std::string_view text,
                                       LetterCase letterCase) {
  return findRecord(catalogue, text, letterCase, &ServiceRecord::ServiceName);
}

std::ptrdiff_t findRowByCaption(const std::vector<ServRow>& rows, std::string_view text,
                                LetterCase letterCase) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (sameText(rows[i].texts[0], text, letterCase)) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

}  // namespace corvane
