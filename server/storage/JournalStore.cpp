#include "storage/JournalStore.h"

#include "text/UnicodeText.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <unordered_map>

namespace journal::storage {
namespace {

RecordId idFrom(const SqlCell& value) {
    RecordId id = 0;
    if (!value || std::from_chars(value->data(), value->data() + value->size(), id).ec != std::errc())
        throw StorageError("the database holds a broken id");
    return id;
}

std::string textFrom(const SqlValue& value) {
    return value.value_or(std::string());
}

std::string_view viewFrom(const SqlCell& value) {
    return value.value_or(std::string_view());
}

DateTime dateTimeFrom(const SqlCell& value) {
    const auto parsed = value ? dateTimeFromIso(*value) : std::nullopt;
    if (!parsed)
        throw StorageError("the database holds a broken time");
    return *parsed;
}

Date dateFrom(const SqlValue& value) {
    const auto parsed = value ? dateFromIso(*value) : std::nullopt;
    if (!parsed)
        throw StorageError("the database holds a broken date");
    return *parsed;
}

SqlValue idText(RecordId id) {
    return std::to_string(id);
}

std::string nowText() {
    return toIso(currentUtc());
}

// A column to sort by and, for text, the collation ru_text or ru_natural.
struct SortKey {
    std::string_view column;
    std::string_view collation = {};
};

// Rows with equal keys keep the order of their ids, so every list has one stable order.
// SQLite would call the ICU collator at every comparison of a sort; it sorts by the ICU sort key (the same order),
// made once a row, instead. PostgreSQL makes such keys itself for its ICU collations.
std::string orderBy(SqlDialect dialect, SortKey key, bool descending, std::string_view idColumn) {
    std::string expression(key.column);
    if (!key.collation.empty())
        expression = dialect == SqlDialect::Sqlite ? std::string(key.collation) + "_key(" + expression + ")"
                                                   : expression + " COLLATE " + std::string(key.collation);
    return " ORDER BY " + expression + (descending ? " DESC NULLS FIRST" : " ASC NULLS LAST") + ", " +
           std::string(idColumn);
}

// A WHERE clause that matches the folded search text as a substring of any of `columns`; adds its parameters.
std::string searchClause(const std::optional<std::string>& search, std::initializer_list<std::string_view> columns,
                         SqlParams& params) {
    if (!search)
        return {};
    std::string pattern = "%";
    for (const char c : foldCase(*search)) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    pattern += '%';
    std::string clause = " WHERE ";
    for (const std::string_view column : columns) {
        if (clause.size() > 7)
            clause += " OR ";
        clause += "fold(" + std::string(column) + ") LIKE ? ESCAPE '\\'";
        params.emplace_back(pattern);
    }
    return clause;
}

SortKey machineSortKey(MachineColumn column) {
    switch (column) {
    case MachineColumn::Title:
        return {"m.title", "ru_text"};
    case MachineColumn::Description:
        return {"m.description", "ru_text"};
    case MachineColumn::Inventory:
        return {"m.inventory", "ru_natural"};
    case MachineColumn::WorkshopTitle:
        return {"w.title", "ru_text"};
    case MachineColumn::Created:
        return {"m.at_create"};
    case MachineColumn::Updated:
        return {"m.at_update"};
    case MachineColumn::Id:
        break;
    }
    return {"m.id"};
}

SortKey workshopSortKey(WorkshopColumn column) {
    switch (column) {
    case WorkshopColumn::Title:
        return {"title", "ru_text"};
    case WorkshopColumn::Description:
        return {"description", "ru_text"};
    case WorkshopColumn::Constructed:
        return {"at_construct"};
    case WorkshopColumn::Created:
        return {"at_create"};
    case WorkshopColumn::Updated:
        return {"at_update"};
    case WorkshopColumn::Id:
        break;
    }
    return {"id"};
}

SortKey repairmanSortKey(RepairmanColumn column) {
    switch (column) {
    case RepairmanColumn::Surname:
        return {"surname", "ru_text"};
    case RepairmanColumn::Name:
        return {"name", "ru_text"};
    case RepairmanColumn::Patronymic:
        return {"patronymic", "ru_text"};
    case RepairmanColumn::Profession:
        return {"profession", "ru_text"};
    case RepairmanColumn::Created:
        return {"at_create"};
    case RepairmanColumn::Updated:
        return {"at_update"};
    case RepairmanColumn::Id:
        break;
    }
    return {"id"};
}

SqlParams serviceParams(const ServiceInput& input) {
    return {idText(input.machineId), input.description, toIso(input.start),
            input.finish ? SqlValue(toIso(*input.finish)) : std::nullopt};
}

} // namespace

bool JournalStore::exists(std::string_view sql, RecordId id) {
    return !sql_.query(sql, {idText(id)}).empty();
}

RemoveResult JournalStore::remove(std::string_view table, std::string_view usedBy, RecordId id) {
    const std::string tableName(table);
    if (!exists("SELECT 1 FROM " + tableName + " WHERE id = ?", id))
        return RemoveResult::NotFound;
    if (exists(usedBy, id))
        return RemoveResult::InUse;
    sql_.query("DELETE FROM " + tableName + " WHERE id = ?", {idText(id)});
    return RemoveResult::Removed;
}

namespace {

// Every record's crew, read in one statement rather than one a record, in order from the index of crews.
class Crews {
public:
    // `where` picks the records whose crews are read.
    explicit Crews(SqlConnection& sql, std::string_view where = {}) {
        sql.visitIntegerRows("SELECT service_id, repairman_id FROM service_repairman " + std::string(where) +
                                 " ORDER BY service_id, position",
                             {}, [this](std::span<const long long> row) {
                                 if (starts_.empty() || starts_.back().first != row[0])
                                     starts_.emplace_back(row[0], repairmen_.size());
                                 repairmen_.push_back(row[1]);
                             });
    }

    // Records are mostly asked for in the order of their numbers: the one after the last found is tried first.
    std::span<const RecordId> of(RecordId serviceId) {
        auto found = starts_.begin() + static_cast<std::ptrdiff_t>(next_);
        if (found == starts_.end() || found->first != serviceId)
            found = std::lower_bound(starts_.begin(), starts_.end(), std::pair(serviceId, std::size_t(0)));
        if (found == starts_.end() || found->first != serviceId)
            return {};
        next_ = static_cast<std::size_t>(found - starts_.begin()) + 1;
        const std::size_t end = found + 1 == starts_.end() ? repairmen_.size() : (found + 1)->second;
        return std::span(repairmen_).subspan(found->second, end - found->second);
    }

private:
    std::vector<std::pair<RecordId, std::size_t>> starts_; // by service id: where its crew begins in repairmen_
    std::vector<RecordId> repairmen_;
    std::size_t next_ = 0;
};

// The titles of every machine and its workshop, read once rather than joined to each record.
class MachineTitles {
public:
    struct Titles {
        std::string machine;
        std::string workshop;
    };

    explicit MachineTitles(SqlConnection& sql) {
        sql.visitRows(
            "SELECT m.id, m.title, w.title FROM machine m JOIN workshop w ON w.id = m.workshop_id ORDER BY m.id", {},
            [this](std::span<const SqlCell> row) {
                ids_.push_back(idFrom(row[0]));
                titles_.push_back({std::string(viewFrom(row[1])), std::string(viewFrom(row[2]))});
            });
    }

    const Titles& of(RecordId machineId) const {
        const auto found = std::lower_bound(ids_.begin(), ids_.end(), machineId);
        if (found == ids_.end() || *found != machineId)
            throw StorageError("the database holds a record of a machine it lacks");
        return titles_[static_cast<std::size_t>(found - ids_.begin())];
    }

private:
    std::vector<RecordId> ids_; // ascending
    std::vector<Titles> titles_;
};

} // namespace

namespace {

constexpr std::string_view serviceColumns =
    "SELECT s.id, s.machine_id, s.description, s.start_at, s.finish_at FROM service s ";

// Visits rows of serviceColumns as the journal's rows.
class ServiceRows {
public:
    ServiceRows(Crews& crews, const MachineTitles& titles)
        : crews_(crews)
        , titles_(titles) {}

    void visit(std::span<const SqlCell> row, const std::function<void(const ServiceRow&)>& visit) {
        service_.id = idFrom(row[0]);
        const MachineTitles::Titles& machine = titles_.of(idFrom(row[1]));
        service_.machineTitle = machine.machine;
        service_.workshopTitle = machine.workshop;
        service_.description = viewFrom(row[2]);
        service_.start = dateTimeFrom(row[3]);
        service_.finish = row[4] ? std::optional(dateTimeFrom(row[4])) : std::nullopt;
        service_.repairmanIds = crews_.of(service_.id);
        visit(service_);
    }

private:
    Crews& crews_;
    const MachineTitles& titles_;
    ServiceRow service_;
};

} // namespace

void JournalStore::visitServices(bool descending, const std::function<void(const ServiceRow&)>& visit) {
    Crews crews(sql_);
    const MachineTitles titles(sql_);
    ServiceRows rows(crews, titles);
    sql_.visitRows(std::string(serviceColumns) + "ORDER BY s.id" + (descending ? " DESC" : ""), {},
                   [&](std::span<const SqlCell> row) { rows.visit(row, visit); });
}

void JournalStore::visitServices(std::span<const RecordId> ids, const std::function<void(const ServiceRow&)>& visit) {
    // Ids are numbers, written into the statement: a long list would outgrow the parameters an engine binds.
    constexpr std::size_t idsAStatement = 1000;
    const MachineTitles titles(sql_);
    for (std::size_t first = 0; first < ids.size(); first += idsAStatement) {
        std::string list;
        for (const RecordId id : ids.subspan(first, std::min(idsAStatement, ids.size() - first)))
            list += (list.empty() ? "" : ",") + std::to_string(id);
        Crews crews(sql_, "WHERE service_id IN (" + list + ")");
        ServiceRows rows(crews, titles);
        sql_.visitRows(std::string(serviceColumns) + "WHERE s.id IN (" + list + ") ORDER BY s.id", {},
                       [&](std::span<const SqlCell> row) { rows.visit(row, visit); });
    }
}

std::optional<std::vector<RecordId>> JournalStore::changedServices(std::string_view since) {
    const auto steps = sql_.query("SELECT seq FROM journal_step WHERE previous = ?", {std::string(since)});
    if (steps.size() != 1)
        return std::nullopt;
    const SqlParams first{steps.front().at(0)};
    if (!sql_.query("SELECT 1 FROM journal_step WHERE seq >= ? AND whole <> 0 LIMIT 1", first).empty())
        return std::nullopt;
    std::vector<RecordId> ids;
    sql_.visitIntegerRows("SELECT DISTINCT service_id FROM journal_changed WHERE seq >= ? ORDER BY service_id", first,
                          [&](std::span<const long long> row) { ids.push_back(row[0]); });
    return ids;
}

std::optional<std::string> JournalStore::journalState() {
    // Names every column the journal shows, though it reads no row of them: a database that could not give the
    // journal (a table gone, a column renamed) gives no state either, so nothing kept is sent in its stead.
    const auto rows = sql_.query(
        "SELECT token FROM journal_state WHERE NOT EXISTS (SELECT s.id, s.machine_id, s.description, s.start_at,"
        " s.finish_at, c.service_id, c.repairman_id, c.position, m.id, m.title, m.workshop_id, w.id, w.title, r.id,"
        " r.surname, r.name, r.patronymic FROM service s, service_repairman c, machine m, workshop w, repairman r"
        " WHERE 1 = 0)");
    if (rows.size() != 1)
        return std::nullopt;
    return rows.front().at(0);
}

std::optional<Service> JournalStore::service(RecordId id) {
    auto rows = sql_.query("SELECT s.machine_id, m.title, w.title, s.description, s.start_at, s.finish_at"
                           " FROM service s JOIN machine m ON m.id = s.machine_id"
                           " JOIN workshop w ON w.id = m.workshop_id WHERE s.id = ?",
                           {idText(id)});
    if (rows.empty())
        return std::nullopt;
    SqlRow& row = rows.front();
    Service service;
    service.id = id;
    service.machineId = idFrom(row[0]);
    service.machineTitle = textFrom(row[1]);
    service.workshopTitle = textFrom(row[2]);
    service.description = textFrom(row[3]);
    service.start = dateTimeFrom(row[4]);
    if (row[5])
        service.finish = dateTimeFrom(row[5]);
    for (const SqlRow& crew :
         sql_.query("SELECT repairman_id FROM service_repairman WHERE service_id = ? ORDER BY position", {idText(id)}))
        service.repairmanIds.push_back(idFrom(crew[0]));
    return service;
}

void JournalStore::storeServiceRepairmen(RecordId serviceId, const std::vector<RecordId>& repairmanIds) {
    int position = 0;
    for (const RecordId repairmanId : repairmanIds)
        sql_.query("INSERT INTO service_repairman (service_id, repairman_id, position) VALUES (?, ?, ?)",
                   {idText(serviceId), idText(repairmanId), std::to_string(position++)});
}

RecordId JournalStore::addService(const ServiceInput& input) {
    const auto rows = sql_.query(
        "INSERT INTO service (machine_id, description, start_at, finish_at) VALUES (?, ?, ?, ?) RETURNING id",
        serviceParams(input));
    const RecordId id = idFrom(rows.at(0).at(0));
    storeServiceRepairmen(id, input.repairmanIds);
    return id;
}

bool JournalStore::updateService(RecordId id, const ServiceInput& input) {
    SqlParams params = serviceParams(input);
    params.push_back(idText(id));
    if (sql_.query("UPDATE service SET machine_id = ?, description = ?, start_at = ?, finish_at = ? WHERE id = ?"
                   " RETURNING id",
                   params)
            .empty())
        return false;
    sql_.query("DELETE FROM service_repairman WHERE service_id = ?", {idText(id)});
    storeServiceRepairmen(id, input.repairmanIds);
    return true;
}

bool JournalStore::removeService(RecordId id) {
    return !sql_.query("DELETE FROM service WHERE id = ? RETURNING id", {idText(id)}).empty();
}

void JournalStore::visitMachines(SortOrder<MachineColumn> order, const std::optional<std::string>& search,
                                 const std::function<void(const MachineRow&)>& visit) {
    SqlParams params;
    const std::string where = searchClause(search, {"m.title", "m.description", "m.inventory", "w.title"}, params);
    MachineRow machine;
    sql_.visitRows("SELECT m.id, m.title, m.description, m.inventory, m.workshop_id, w.title,"
                   " m.at_create, m.at_update FROM machine m JOIN workshop w ON w.id = m.workshop_id" +
                       where + orderBy(sql_.dialect(), machineSortKey(order.column), order.descending, "m.id"),
                   params, [&](std::span<const SqlCell> row) {
                       machine.id = idFrom(row[0]);
                       machine.title = viewFrom(row[1]);
                       machine.description = viewFrom(row[2]);
                       machine.inventory = viewFrom(row[3]);
                       machine.workshopId = idFrom(row[4]);
                       machine.workshopTitle = viewFrom(row[5]);
                       machine.created = dateTimeFrom(row[6]);
                       machine.updated = dateTimeFrom(row[7]);
                       visit(machine);
                   });
}

std::vector<Machine> JournalStore::machines(SortOrder<MachineColumn> order, const std::optional<std::string>& search) {
    std::vector<Machine> machines;
    visitMachines(order, search, [&machines](const MachineRow& row) {
        Machine& machine = machines.emplace_back();
        machine.id = row.id;
        machine.title = row.title;
        machine.description = row.description;
        machine.inventory = row.inventory;
        machine.workshopId = row.workshopId;
        machine.workshopTitle = row.workshopTitle;
        machine.created = row.created;
        machine.updated = row.updated;
    });
    return machines;
}

bool JournalStore::hasMachine(RecordId id) {
    return exists("SELECT 1 FROM machine WHERE id = ?", id);
}

RecordId JournalStore::addMachine(const MachineInput& input) {
    const std::string now = nowText();
    const auto rows =
        sql_.query("INSERT INTO machine (title, description, inventory, workshop_id, at_create, at_update)"
                   " VALUES (?, ?, ?, ?, ?, ?) RETURNING id",
                   {input.title, input.description, input.inventory, idText(input.workshopId), now, now});
    return idFrom(rows.at(0).at(0));
}

bool JournalStore::updateMachine(RecordId id, const MachineInput& input) {
    return !sql_.query(
                    "UPDATE machine SET title = ?, description = ?, inventory = ?, workshop_id = ?, at_update = ?"
                    " WHERE id = ? RETURNING id",
                    {input.title, input.description, input.inventory, idText(input.workshopId), nowText(), idText(id)})
                .empty();
}

RemoveResult JournalStore::removeMachine(RecordId id) {
    return remove("machine", "SELECT 1 FROM service WHERE machine_id = ? LIMIT 1", id);
}

std::vector<Workshop> JournalStore::workshops(SortOrder<WorkshopColumn> order,
                                              const std::optional<std::string>& search) {
    SqlParams params;
    const std::string where = searchClause(search, {"title", "description"}, params);
    auto rows = sql_.query("SELECT id, title, description, at_construct, at_create, at_update FROM workshop" + where +
                               orderBy(sql_.dialect(), workshopSortKey(order.column), order.descending, "id"),
                           params);
    std::vector<Workshop> workshops;
    workshops.reserve(rows.size());
    for (SqlRow& row : rows) {
        Workshop& workshop = workshops.emplace_back();
        workshop.id = idFrom(row[0]);
        workshop.title = textFrom(row[1]);
        workshop.description = textFrom(row[2]);
        workshop.constructed = dateFrom(row[3]);
        workshop.created = dateTimeFrom(row[4]);
        workshop.updated = dateTimeFrom(row[5]);
    }
    return workshops;
}

bool JournalStore::hasWorkshop(RecordId id) {
    return exists("SELECT 1 FROM workshop WHERE id = ?", id);
}

RecordId JournalStore::addWorkshop(const WorkshopInput& input) {
    const std::string now = nowText();
    const auto rows = sql_.query("INSERT INTO workshop (title, description, at_construct, at_create, at_update)"
                                 " VALUES (?, ?, ?, ?, ?) RETURNING id",
                                 {input.title, input.description, toIso(input.constructed), now, now});
    return idFrom(rows.at(0).at(0));
}

bool JournalStore::updateWorkshop(RecordId id, const WorkshopInput& input) {
    return !sql_.query("UPDATE workshop SET title = ?, description = ?, at_construct = ?, at_update = ?"
                       " WHERE id = ? RETURNING id",
                       {input.title, input.description, toIso(input.constructed), nowText(), idText(id)})
                .empty();
}

RemoveResult JournalStore::removeWorkshop(RecordId id) {
    return remove("workshop", "SELECT 1 FROM machine WHERE workshop_id = ? LIMIT 1", id);
}

std::vector<Repairman> JournalStore::repairmen(SortOrder<RepairmanColumn> order,
                                               const std::optional<std::string>& search) {
    SqlParams params;
    const std::string where = searchClause(search, {"surname", "name", "patronymic", "profession"}, params);
    auto rows = sql_.query("SELECT id, surname, name, patronymic, profession, at_create, at_update FROM repairman" +
                               where + orderBy(sql_.dialect(), repairmanSortKey(order.column), order.descending, "id"),
                           params);
    std::vector<Repairman> repairmen;
    repairmen.reserve(rows.size());
    for (SqlRow& row : rows) {
        Repairman& repairman = repairmen.emplace_back();
        repairman.id = idFrom(row[0]);
        repairman.surname = textFrom(row[1]);
        repairman.name = textFrom(row[2]);
        repairman.patronymic = textFrom(row[3]);
        repairman.profession = textFrom(row[4]);
        repairman.created = dateTimeFrom(row[5]);
        repairman.updated = dateTimeFrom(row[6]);
    }
    return repairmen;
}

bool JournalStore::hasRepairman(RecordId id) {
    return exists("SELECT 1 FROM repairman WHERE id = ?", id);
}

RecordId JournalStore::addRepairman(const RepairmanInput& input) {
    const std::string now = nowText();
    const auto rows = sql_.query("INSERT INTO repairman (surname, name, patronymic, profession, at_create, at_update)"
                                 " VALUES (?, ?, ?, ?, ?, ?) RETURNING id",
                                 {input.surname, input.name, input.patronymic, input.profession, now, now});
    return idFrom(rows.at(0).at(0));
}

bool JournalStore::updateRepairman(RecordId id, const RepairmanInput& input) {
    return !sql_.query("UPDATE repairman SET surname = ?, name = ?, patronymic = ?, profession = ?, at_update = ?"
                       " WHERE id = ? RETURNING id",
                       {input.surname, input.name, input.patronymic, input.profession, nowText(), idText(id)})
                .empty();
}

RemoveResult JournalStore::removeRepairman(RecordId id) {
    return remove("repairman", "SELECT 1 FROM service_repairman WHERE repairman_id = ? LIMIT 1", id);
}

} // namespace journal::storage
