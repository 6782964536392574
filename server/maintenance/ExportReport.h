#pragma once

#include "maintenance/ExportQuery.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace journal::maintenance {

// A length of time that a sheet shows in hours.
struct Hours {
    std::int64_t seconds = 0;
    bool operator==(const Hours&) const = default;
};

// Empty, text, a whole number or hours.
using Cell = std::variant<std::monostate, std::string, std::int64_t, Hours>;

struct Sheet {
    std::string title;
    std::vector<std::string> header;
    std::vector<std::vector<Cell>> rows;
};

// Seconds from start to finish, nothing while the repair is not finished. Both are the plant's wall time.
std::optional<std::int64_t> repairSeconds(const DateTime& start, const std::optional<DateTime>& finish);

// "4,50": hours rounded to hundredths, with the given decimal separator.
std::string hoursText(Hours hours, char decimalSeparator);

// The journal sheet (one row per repair, times in the server's forms) and the sheet of downtime per machine, whose
// last row sums all machines. Downtime counts finished repairs; unfinished ones are counted apart.
std::vector<Sheet> journalReport(const ExportedJournal& journal, const ServerFormats& formats);

} // namespace journal::maintenance
