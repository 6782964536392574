#include "app/MaintenanceCommands.h"

#include "maintenance/Backup.h"
#include "maintenance/CsvWriter.h"
#include "maintenance/DatabaseLock.h"
#include "maintenance/ExportQuery.h"
#include "maintenance/PendingFile.h"
#include "maintenance/Restore.h"
#include "maintenance/SqliteFile.h"
#include "maintenance/XlsxWriter.h"
#include "storage/ConnectionPool.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>

namespace journal::app {
namespace {

Date parseDate(const ServerFormats& formats, const std::string& option, const std::string& text,
               const std::string& pattern) {
    const auto date = formats.parseDate(text);
    if (!date)
        throw std::invalid_argument(option + " " + text + " is not a date of the form " + pattern);
    return *date;
}

maintenance::ExportPeriod exportPeriod(const ServerOptions& options, const ServerFormats& formats) {
    const ExportOptions& exported = options.exportOptions;
    maintenance::ExportPeriod period{parseDate(formats, "--from", exported.from, options.dateFormat),
                                     parseDate(formats, "--to", exported.to, options.dateFormat), std::nullopt};
    if (period.to < period.from)
        throw std::invalid_argument("--to " + exported.to + " is before --from " + exported.from);
    if (exported.machine) {
        storage::RecordId id = 0;
        const std::string& text = *exported.machine;
        if (std::from_chars(text.data(), text.data() + text.size(), id).ptr != text.data() + text.size() || id <= 0)
            throw std::invalid_argument("--machine takes the id of a machine, not " + text);
        period.machine = id;
    }
    return period;
}

void writeReport(const std::vector<maintenance::Sheet>& sheets, const ExportOptions& exported) {
    if (!exported.output) {
        maintenance::writeCsv(sheets, std::cout);
        std::cout.flush();
        if (!std::cout)
            throw std::runtime_error("cannot write the export to standard output");
        return;
    }
    maintenance::PendingFile file(*exported.output);
    if (exported.format == "xlsx") {
        maintenance::writeXlsx(sheets, file.path());
    } else {
        std::ofstream out(file.path(), std::ios::binary);
        maintenance::writeCsv(sheets, out);
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + file.path().string());
    }
    file.publish();
}

int exportJournal(const ServerOptions& options) {
    const ServerFormats formats(options.dateFormat, options.timeFormat);
    const maintenance::ExportPeriod period = exportPeriod(options, formats);
    // Opening a missing SQLite file would make an empty journal and export nothing from it.
    std::optional<maintenance::DatabaseLock> lock;
    if (const auto path = maintenance::sqlitePath(options.database)) {
        if (!std::filesystem::is_regular_file(*path))
            throw std::runtime_error("there is no database " + path->string());
        lock.emplace(*path, maintenance::DatabaseLock::Use::Sharing);
    }
    const auto database = storage::openDatabase(options.database);
    const auto journal = maintenance::readJournal(*database->acquire(), period);
    writeReport(maintenance::journalReport(journal, formats), options.exportOptions);
    std::cerr << "exported " << journal.repairs.size() << " journal records of " << journal.machines.size()
              << " machines" << (options.exportOptions.output ? " to " + options.exportOptions.output->string() : "")
              << std::endl;
    return 0;
}

} // namespace

int runMaintenanceCommand(const ServerOptions& options) {
    switch (options.command) {
    case Command::Backup:
        std::cerr << maintenance::backupDatabase(options.database, options.file) << std::endl;
        return 0;
    case Command::Restore:
        std::cerr << maintenance::restoreDatabase(options.file, options.database) << std::endl;
        return 0;
    case Command::Export:
        return exportJournal(options);
    case Command::Serve:
        break;
    }
    return 2;
}

} // namespace journal::app
