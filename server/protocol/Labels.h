#pragma once

#include "storage/Records.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace journal::protocol {

// The client picks machines and repairmen by their shown text, so no two records may show the same one.
// A label is the record's plain text; where that repeats, the detail is added, and the record number
// where even that repeats.
struct LabelSource {
    storage::RecordId id = 0;
    std::string text;
    std::string detail;
};

std::unordered_map<storage::RecordId, std::string> distinctLabels(const std::vector<LabelSource>& sources);

std::string fullName(const storage::RepairmanInput& person);
// "Иванов И. П." for the journal list.
std::string shortName(const storage::RepairmanInput& person);

std::unordered_map<storage::RecordId, std::string> repairmanLabels(const std::vector<storage::Repairman>& repairmen);
std::unordered_map<storage::RecordId, std::string> machineLabels(const std::vector<storage::Machine>& machines);
std::unordered_map<storage::RecordId, std::string> workshopLabels(const std::vector<storage::Workshop>& workshops);

} // namespace journal::protocol
