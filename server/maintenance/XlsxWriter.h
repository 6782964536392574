#pragma once

#include "maintenance/ExportReport.h"

#include <filesystem>

namespace journal::maintenance {

// One worksheet per sheet, headers bold and frozen, hours as numbers shown with two decimals.
// Throws std::runtime_error with libxlsxwriter's words.
void writeXlsx(const std::vector<Sheet>& sheets, const std::filesystem::path& file);

} // namespace journal::maintenance
