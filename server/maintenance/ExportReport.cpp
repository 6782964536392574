#include "maintenance/ExportReport.h"

#include <cstdlib>
#include <unordered_map>

namespace journal::maintenance {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
std::int64_t daysSinceEpoch(const Date& date) {
    const std::int64_t year = date.month <= 2 ? date.year - 1 : date.year;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::int64_t secondsSinceEpoch(const DateTime& value) {
    return daysSinceEpoch(value.date) * 86400 + value.time.hour * 3600 + value.time.minute * 60 + value.time.second;
}

struct Downtime {
    std::string machine;
    std::string inventory;
    std::string workshop;
    std::int64_t repairs = 0;
    std::int64_t unfinished = 0;
    std::int64_t seconds = 0;

    void add(const std::optional<std::int64_t>& duration) {
        ++repairs;
        if (duration)
            seconds += *duration;
        else
            ++unfinished;
    }
    std::vector<Cell> row() const { return {machine, inventory, workshop, repairs, unfinished, Hours{seconds}}; }
};

// The server's own forms in full: an export has no column width to keep to.
std::string shownTime(const DateTime& value, const ServerFormats& formats) {
    return formats.formatDate(value.date) + ' ' + formats.formatTime(value.time);
}

Sheet repairsSheet(const ExportedJournal& journal, const ServerFormats& formats) {
    Sheet sheet{
        "Журнал",
        {"№", "Оборудование", "Инв. номер", "Цех", "Описание", "Ремонтники", "Начало", "Окончание", "Длительность, ч"},
        {}};
    sheet.rows.reserve(journal.repairs.size());
    for (const ExportedRepair& repair : journal.repairs) {
        const auto seconds = repairSeconds(repair.start, repair.finish);
        sheet.rows.push_back({repair.id, repair.machine, repair.inventory, repair.workshop, repair.description,
                              repair.repairmen, shownTime(repair.start, formats),
                              repair.finish ? Cell(shownTime(*repair.finish, formats)) : Cell(),
                              seconds ? Cell(Hours{*seconds}) : Cell()});
    }
    return sheet;
}

Sheet downtimeSheet(const ExportedJournal& journal) {
    std::unordered_map<storage::RecordId, Downtime> machines;
    Downtime total{"Итого", {}, {}};
    for (const ExportedRepair& repair : journal.repairs) {
        Downtime& machine =
            machines.try_emplace(repair.machineId, Downtime{repair.machine, repair.inventory, repair.workshop})
                .first->second;
        const auto seconds = repairSeconds(repair.start, repair.finish);
        machine.add(seconds);
        total.add(seconds);
    }
    Sheet sheet{"Простой по оборудованию",
                {"Оборудование", "Инв. номер", "Цех", "Ремонтов", "Из них не завершено", "Простой, ч"},
                {}};
    for (const storage::RecordId id : journal.machines)
        if (const auto machine = machines.find(id); machine != machines.end())
            sheet.rows.push_back(machine->second.row());
    sheet.rows.push_back(total.row());
    return sheet;
}

} // namespace

std::optional<std::int64_t> repairSeconds(const DateTime& start, const std::optional<DateTime>& finish) {
    if (!finish)
        return std::nullopt;
    return secondsSinceEpoch(*finish) - secondsSinceEpoch(start);
}

std::string hoursText(Hours hours, char decimalSeparator) {
    const std::int64_t hundredths = (std::llabs(hours.seconds) * 100 + 1800) / 3600;
    std::string fraction = std::to_string(hundredths % 100);
    if (fraction.size() < 2)
        fraction.insert(0, "0");
    return (hours.seconds < 0 && hundredths != 0 ? "-" : "") + std::to_string(hundredths / 100) + decimalSeparator +
           fraction;
}

std::vector<Sheet> journalReport(const ExportedJournal& journal, const ServerFormats& formats) {
    return {repairsSheet(journal, formats), downtimeSheet(journal)};
}

} // namespace journal::maintenance
