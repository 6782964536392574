#include "maintenance/ExportQuery.h"

#include "protocol/Labels.h"

#include <charconv>
#include <stdexcept>
#include <unordered_map>

namespace journal::maintenance {
namespace {

storage::RecordId idFrom(const storage::SqlValue& value) {
    storage::RecordId id = 0;
    if (!value || std::from_chars(value->data(), value->data() + value->size(), id).ec != std::errc())
        throw storage::StorageError("the database holds a broken id");
    return id;
}

DateTime timeFrom(const storage::SqlValue& value) {
    const auto parsed = value ? dateTimeFromIso(*value) : std::nullopt;
    if (!parsed)
        throw storage::StorageError("the database holds a broken time");
    return *parsed;
}

// Start times are ISO texts, so the period is a range of texts.
std::string periodClause(const ExportPeriod& period, storage::SqlParams& params) {
    params = {toIso(DateTime{period.from, {0, 0, 0}}), toIso(DateTime{period.to, {23, 59, 59}})};
    std::string clause = " WHERE s.start_at >= ? AND s.start_at <= ?";
    if (period.machine) {
        clause += " AND s.machine_id = ?";
        params.emplace_back(std::to_string(*period.machine));
    }
    return clause;
}

std::unordered_map<storage::RecordId, std::string> crews(storage::SqlConnection& sql, const std::string& where,
                                                         const storage::SqlParams& params) {
    std::unordered_map<storage::RecordId, std::string> names;
    for (const storage::SqlRow& row :
         sql.query("SELECT sr.service_id, r.surname, r.name, r.patronymic FROM service_repairman sr"
                   " JOIN service s ON s.id = sr.service_id JOIN repairman r ON r.id = sr.repairman_id" +
                       where + " ORDER BY sr.service_id, sr.position",
                   params)) {
        std::string& crew = names[idFrom(row[0])];
        const storage::RepairmanInput person{row[1].value_or(""), row[2].value_or(""), row[3].value_or(""), {}};
        crew += (crew.empty() ? "" : ", ") + protocol::fullName(person);
    }
    return names;
}

} // namespace

ExportedJournal readJournal(storage::SqlConnection& sql, const ExportPeriod& period) {
    sql.begin(false);
    if (period.machine && sql.query("SELECT 1 FROM machine WHERE id = ?", {std::to_string(*period.machine)}).empty())
        throw std::runtime_error("there is no machine with id " + std::to_string(*period.machine));
    storage::SqlParams params;
    const std::string where = periodClause(period, params);
    auto names = crews(sql, where, params);
    ExportedJournal journal;
    for (storage::SqlRow& row :
         sql.query("SELECT s.id, s.machine_id, m.title, m.inventory, w.title, s.description, s.start_at, s.finish_at"
                   " FROM service s JOIN machine m ON m.id = s.machine_id JOIN workshop w ON w.id = m.workshop_id" +
                       where + " ORDER BY s.start_at, s.id",
                   params)) {
        ExportedRepair& repair = journal.repairs.emplace_back();
        repair.id = idFrom(row[0]);
        repair.machineId = idFrom(row[1]);
        repair.machine = row[2].value_or("");
        repair.inventory = row[3].value_or("");
        repair.workshop = row[4].value_or("");
        repair.description = row[5].value_or("");
        repair.start = timeFrom(row[6]);
        if (row[7])
            repair.finish = timeFrom(row[7]);
        if (const auto crew = names.find(repair.id); crew != names.end())
            repair.repairmen = std::move(crew->second);
    }
    for (const storage::SqlRow& row :
         sql.query("SELECT m.id FROM machine m JOIN service s ON s.machine_id = m.id" + where +
                       " GROUP BY m.id, m.title ORDER BY m.title COLLATE ru_text, m.id",
                   params))
        journal.machines.push_back(idFrom(row[0]));
    sql.commit();
    return journal;
}

} // namespace journal::maintenance
