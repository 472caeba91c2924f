// The catalogue as CSV text (fields quoted as RFC 4180 says, lines ended by a line feed).
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "corvane/catalogue/catalogue.h"
#include "corvanectl/ctl_command_line.h"

namespace corvanectl {

// The field as it stands, or in double quotes (inner ones doubled) when it holds a comma, a
// double quote or a line break.
std::string csvField(std::string_view text);

// Whether a service or driver of this type passes the filter, as in the service list.
bool passesFilter(std::int32_t serviceType, ListFilter filter);

// A header and one row per entry that passes the filter, in catalogue order.
void writeServiceList(std::ostream& out, const corvane::Catalogue& catalogue, ListFilter filter);

// A header and one row per member of each group entry (one with an empty member for an empty
// group), in table order; Listed is 1 for a group of the platform's order list, else 0.
void writeGroups(std::ostream& out, const corvane::Catalogue& catalogue);

}  // namespace corvanectl
