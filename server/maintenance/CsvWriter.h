#pragma once

#include "maintenance/ExportReport.h"

#include <ostream>

namespace journal::maintenance {

// CSV that spreadsheets in Russian locales open without asking: UTF-8 with a byte order mark, ';' between fields,
// every field quoted, CRLF line ends, hours with a decimal comma. Sheets follow each other after an empty line.
void writeCsv(const std::vector<Sheet>& sheets, std::ostream& out);

} // namespace journal::maintenance
