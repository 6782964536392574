#include "protocol/ListAnswers.h"

#include "protocol/JournalOrder.h"
#include "protocol/Labels.h"
#include "protocol/ServiceRowRelay.h"
#include "text/UnicodeText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>

namespace journal::protocol {
namespace {

using nlohmann::json;
using namespace storage;

// The client's journal table holds at most 1000 characters of the crew.
constexpr std::size_t crewTextLimit = 1000;

std::string idText(RecordId id) {
    return std::to_string(id);
}

json pickList(const std::unordered_map<RecordId, std::string>& labels, const auto& records, const char* labelMember) {
    json list = json::array();
    for (const auto& record : records)
        list.push_back({{"Id", idText(record.id)}, {labelMember, labels.at(record.id)}});
    return list;
}

} // namespace

std::string ListAnswers::stamp(const DateTime& utc) const {
    return formats_.formatDateTime(utcToLocal(utc));
}

namespace {

// Writes journal records, each one's members sorted by name as a dumped document has them.
class JournalRecords {
public:
    JournalRecords(const std::vector<Repairman>& repairmen, const ServerFormats& formats)
        : formats_(formats) {
        for (const Repairman& repairman : repairmen)
            names_.emplace(repairman.id, shortName(repairman));
    }

    void write(JsonWriter& out, const ServiceRow& service) {
        crew_.clear();
        for (const RecordId id : service.repairmanIds) {
            if (!crew_.empty())
                crew_ += ", ";
            crew_ += names_[id];
        }
        if (crew_.size() > crewTextLimit)
            crew_ = leftCharacters(crew_, crewTextLimit);
        start_.clear();
        formats_.appendDateTime(start_, service.start);
        finish_.clear();
        if (service.finish)
            formats_.appendDateTime(finish_, *service.finish);
        out.object({{"Description", service.description},
                    {"Id", idText(service.id)},
                    {"MachineTitle", service.machineTitle},
                    {"Repairman", crew_},
                    {"TimeFinish", finish_},
                    {"TimeStart", start_},
                    {"WorkshopTitle", service.workshopTitle}});
    }

private:
    const ServerFormats& formats_;
    std::unordered_map<RecordId, std::string> names_;
    std::string crew_, start_, finish_;
};

void copyOut(JsonWriter& out, const JournalCache::Records& records, const JournalCache::Order& order) {
    for (const std::uint32_t position : order) {
        const JournalCache::Record& record = records.records[position];
        out.written(*records.texts[record.text], record.begin, record.begin + record.length);
    }
}

JournalCache::Order numberOrder(std::size_t count, bool descending) {
    JournalCache::Order order(count);
    std::iota(order.begin(), order.end(), 0);
    if (descending)
        std::reverse(order.begin(), order.end());
    return order;
}

// The positions of `records` in the order of `keys`, made of the same records.
JournalCache::Order positionsIn(const JournalOrder& keys, const JournalCache::Records& records, bool descending) {
    if (keys.size() != records.records.size())
        throw StorageError("the journal changed without a new state");
    JournalCache::Order positions;
    positions.reserve(keys.size());
    keys.visit(descending, [&](RecordId id) {
        const auto found =
            std::lower_bound(records.records.begin(), records.records.end(), id,
                             [](const JournalCache::Record& record, RecordId id) { return record.id < id; });
        if (found == records.records.end() || found->id != id)
            throw StorageError("the journal changed without a new state");
        positions.push_back(static_cast<std::uint32_t>(found - records.records.begin()));
    });
    return positions;
}

} // namespace

void ListAnswers::journal(JsonWriter& out, SortOrder<ServiceColumn> order) const {
    const auto state = journalCache_ ? store_.journalState() : std::nullopt;
    JournalCache::Found kept = state ? journalCache_->find(*state, order) : JournalCache::Found{};
    if (kept.records && kept.records->state != *state)
        kept.records = updatedJournal(std::move(kept.records), *state);
    out.beginArray();
    if (kept.order) {
        copyOut(out, *kept.records, *kept.order);
    } else if (kept.records) {
        // The records are written already: only a new order of them is needed.
        JournalCache::KeptKeys keys;
        JournalCache::Order positions;
        if (order.column == ServiceColumn::Id) {
            positions = numberOrder(kept.records->records.size(), order.descending);
        } else {
            keys = {*state, updatedKeys(order.column, kept.keys, *state)};
            positions = positionsIn(*keys.keys, *kept.records, order.descending);
        }
        copyOut(out, *kept.records, positions);
        journalCache_->keepOrder(*state, order, std::move(positions), std::move(keys));
    } else {
        writeJournal(out, order, state);
    }
    out.endArray();
}

namespace {

// Whether what changed since a kept state is better read and written afresh than brought up to date record by record.
bool readAfresh(const std::optional<std::vector<RecordId>>& changed, std::size_t records) {
    constexpr std::size_t fewRecords = 64;
    return !changed || changed->size() > std::max(records / 4, fewRecords);
}

// Brought up to date this many times, what is kept holds that many pieces, some stale: it is made afresh.
constexpr std::size_t mostGenerations = 64;

} // namespace

std::shared_ptr<const JournalCache::Records>
ListAnswers::updatedJournal(std::shared_ptr<const JournalCache::Records> kept, const std::string& state) const {
    const auto changed = store_.changedServices(kept->state);
    // Texts stale by a quarter are written afresh in one; a short journal's only when they get too many.
    constexpr std::size_t fewBytes = 64 << 10;
    if (readAfresh(changed, kept->records.size()) || kept->staleBytes > std::max(kept->textBytes() / 4, fewBytes) ||
        kept->texts.size() >= mostGenerations) {
        journalCache_->release(kept);
        return nullptr;
    }
    auto text = std::make_shared<JsonText>();
    JsonWriter textOut(*text);
    JournalRecords writer(store_.repairmen({}), formats_);
    std::vector<JournalCache::Record> rewritten;
    store_.visitServices(*changed, [&](const ServiceRow& service) {
        const std::size_t begin = text->size();
        writer.write(textOut, service);
        rewritten.push_back(JournalCache::Record::written(service.id, begin, text->size()));
    });
    auto updated = kept->updated(state, *changed, std::move(text), std::move(rewritten));
    journalCache_->keep(updated);
    return updated;
}

JournalCache::Keys ListAnswers::updatedKeys(ServiceColumn column, const JournalCache::KeptKeys& kept,
                                            const std::string& state) const {
    if (kept.keys && kept.state == state)
        return kept.keys;
    std::shared_ptr<JournalOrder> keys;
    if (kept.keys) {
        const auto changed = store_.changedServices(kept.state);
        if (!readAfresh(changed, kept.keys->size()) && kept.keys->generations() < mostGenerations) {
            keys = std::make_shared<JournalOrder>(*kept.keys, *changed);
            store_.visitServices(*changed, [&](const ServiceRow& service) { keys->add(service); });
        }
    }
    if (!keys) {
        keys = std::make_shared<JournalOrder>(column);
        store_.visitServices(false, [&](const ServiceRow& service) { keys->add(service); });
    }
    keys->sort();
    return keys;
}

void ListAnswers::writeJournal(JsonWriter& out, SortOrder<ServiceColumn> order,
                               const std::optional<std::string>& state) const {
    JournalRecords records(store_.repairmen({}), formats_);
    const bool byNumber = order.column == ServiceColumn::Id;
    const auto read = [&](const ServiceRowVisitor& visit) {
        store_.visitServices(byNumber && order.descending, visit);
    };
    if (byNumber && !state) {
        relayServiceRows(read, [&](const ServiceRow& service) { records.write(out, service); });
        return;
    }
    // Otherwise the records are written apart, to be kept, in the order they are read: a list in the order of the
    // numbers goes out as it is read; another is read in the order of the numbers, which needs no sort, and copied
    // out in its own.
    auto written = state ? journalCache_->newRecords() : std::make_shared<JournalCache::Records>();
    JsonText& text = *written->texts.front();
    JsonWriter writtenOut(text);
    std::shared_ptr<JournalOrder> keys = byNumber ? nullptr : std::make_shared<JournalOrder>(order.column);
    relayServiceRows(read, [&](const ServiceRow& service) {
        const std::size_t begin = text.size();
        records.write(writtenOut, service);
        written->records.push_back(JournalCache::Record::written(service.id, begin, text.size()));
        if (byNumber)
            out.written(text, begin, text.size());
        else
            keys->add(service);
    });
    JournalCache::Order positions;
    if (byNumber) {
        if (order.descending)
            std::reverse(written->records.begin(), written->records.end()); // kept in the order of the numbers
        positions = numberOrder(written->records.size(), order.descending);
    } else {
        keys->sort();
        positions = positionsIn(*keys, *written, order.descending);
        copyOut(out, *written, positions);
    }
    if (state) {
        written->state = *state;
        journalCache_->keep(written);
        journalCache_->keepOrder(*state, order, std::move(positions), {*state, std::move(keys)});
    }
}

void ListAnswers::machineDirectory(JsonWriter& out, SortOrder<MachineColumn> order,
                                   const std::optional<std::string>& search) const {
    out.beginObject();
    out.key("machine");
    out.beginArray();
    store_.visitMachines(order, search, [&](const MachineRow& machine) {
        out.object({{"AtCreate", stamp(machine.created)},
                    {"AtUpdate", stamp(machine.updated)},
                    {"Description", machine.description},
                    {"Id", idText(machine.id)},
                    {"Inventory", machine.inventory},
                    {"Title", machine.title},
                    {"TitleWorkshop", machine.workshopTitle}});
    });
    out.endArray();
    const auto workshops = store_.workshops({WorkshopColumn::Title});
    out.key("workshop");
    out.document(pickList(workshopLabels(workshops), workshops, "Title"));
    out.endObject();
}

json ListAnswers::workshops(SortOrder<WorkshopColumn> order, const std::optional<std::string>& search) const {
    json list = json::array();
    for (const Workshop& workshop : store_.workshops(order, search)) {
        list.push_back({
            {"Id", idText(workshop.id)},
            {"Title", workshop.title},
            {"Description", workshop.description},
            {"AtConstruct", formats_.formatDate(workshop.constructed)},
            {"AtCreate", stamp(workshop.created)},
            {"AtUpdate", stamp(workshop.updated)},
        });
    }
    return list;
}

json ListAnswers::repairmen(SortOrder<RepairmanColumn> order, const std::optional<std::string>& search) const {
    json list = json::array();
    for (const Repairman& repairman : store_.repairmen(order, search)) {
        list.push_back({
            {"Id", idText(repairman.id)},
            {"Surname", repairman.surname},
            {"Name", repairman.name},
            {"Patronymic", repairman.patronymic},
            {"Profession", repairman.profession},
            {"AtCreate", stamp(repairman.created)},
            {"AtUpdate", stamp(repairman.updated)},
        });
    }
    return list;
}

json ListAnswers::pickLists() const {
    const auto repairmen = store_.repairmen({RepairmanColumn::Surname});
    const auto machines = store_.machines({MachineColumn::Title});
    return {{"repairman", pickList(repairmanLabels(repairmen), repairmen, "Name")},
            {"machine", pickList(machineLabels(machines), machines, "Title")}};
}

std::optional<json> ListAnswers::serviceDetails(RecordId id, bool withUid) const {
    const auto service = store_.service(id);
    if (!service)
        return std::nullopt;
    // The same labels as in the pick lists, so the editor finds its machine and repairmen again.
    const auto machineNames = machineLabels(store_.machines({}));
    const auto repairmanNames = repairmanLabels(store_.repairmen({}));
    json crew = json::array();
    for (const RecordId repairmanId : service->repairmanIds)
        crew.push_back(repairmanNames.at(repairmanId));
    json details;
    if (withUid)
        details["Uid"] = idText(service->id);
    details["Machine"] = machineNames.at(service->machineId);
    details["Description"] = service->description;
    details["Repairman"] = std::move(crew);
    details["DateStart"] = formats_.formatDate(service->start.date);
    details["TimeStart"] = formats_.formatTime(service->start.time);
    details["DateFinish"] = service->finish ? json(formats_.formatDate(service->finish->date)) : json(nullptr);
    details["TimeFinish"] = service->finish ? formats_.formatTime(service->finish->time) : std::string();
    return details;
}

} // namespace journal::protocol
