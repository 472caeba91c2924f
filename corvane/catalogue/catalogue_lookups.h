// The look-ups by name that lead from a tree node or a list row back to a catalogue record or a
// service-list row. Display names are not unique: each takes the first match.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "corvane/catalogue/catalogue.h"
#include "corvane/catalogue/service_list.h"

namespace corvane {

enum class LetterCase { Heeded, Ignored };

// The index of the first record (0 to ServiceCount - 1) whose DisplayName, or ServiceName,
// equals `text`; -1 when none does.
std::ptrdiff_t findRecordByDisplayName(const Catalogue& catalogue, std::string_view text,
                                       LetterCase letterCase);
std::ptrdiff_t findRecordByServiceName(const Catalogue& catalogue, std::string_view text,
                                       LetterCase letterCase);

// The index of the first service-list row whose caption (Display Name) equals `text`; -1 when
// none does.
std::ptrdiff_t findRowByCaption(const std::vector<ServRow>& rows, std::string_view text,
                                LetterCase letterCase);

}  // namespace corvane
