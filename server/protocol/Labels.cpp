#include "protocol/Labels.h"

#include "text/UnicodeText.h"

namespace journal::protocol {
namespace {

using LabelMap = std::unordered_map<storage::RecordId, std::string>;

std::unordered_map<std::string, int> countTexts(const LabelMap& labels) {
    std::unordered_map<std::string, int> counts;
    for (const auto& [id, label] : labels)
        ++counts[label];
    return counts;
}

std::string firstLetter(const std::string& word) {
    const std::string letter = leftCharacters(word, 1);
    return letter.empty() ? letter : letter + ".";
}

} // namespace

LabelMap distinctLabels(const std::vector<LabelSource>& sources) {
    LabelMap labels;
    for (const LabelSource& source : sources)
        labels[source.id] = source.text;
    auto counts = countTexts(labels);
    for (const LabelSource& source : sources)
        if (counts[source.text] > 1 && !source.detail.empty())
            labels[source.id] = source.text + " (" + source.detail + ")";
    counts = countTexts(labels);
    for (const LabelSource& source : sources) {
        std::string& label = labels[source.id];
        if (counts[label] > 1)
            label = source.detail.empty()
                        ? source.text + " (№" + std::to_string(source.id) + ")"
                        : source.text + " (" + source.detail + ", №" + std::to_string(source.id) + ")";
    }
    return labels;
}

std::string fullName(const storage::RepairmanInput& person) {
    std::string name;
    for (const std::string* part : {&person.surname, &person.name, &person.patronymic}) {
        if (part->empty())
            continue;
        if (!name.empty())
            name += ' ';
        name += *part;
    }
    return name;
}

std::string shortName(const storage::RepairmanInput& person) {
    std::string name = person.surname;
    for (const std::string* part : {&person.name, &person.patronymic}) {
        const std::string initial = firstLetter(*part);
        if (!initial.empty())
            name += (name.empty() ? "" : " ") + initial;
    }
    return name;
}

LabelMap repairmanLabels(const std::vector<storage::Repairman>& repairmen) {
    std::vector<LabelSource> sources;
    sources.reserve(repairmen.size());
    for (const storage::Repairman& repairman : repairmen)
        sources.push_back({repairman.id, fullName(repairman), repairman.profession});
    return distinctLabels(sources);
}

LabelMap machineLabels(const std::vector<storage::Machine>& machines) {
    std::vector<LabelSource> sources;
    sources.reserve(machines.size());
    for (const storage::Machine& machine : machines)
        sources.push_back(
            {machine.id, machine.title, machine.inventory.empty() ? std::string() : "инв. № " + machine.inventory});
    return distinctLabels(sources);
}

LabelMap workshopLabels(const std::vector<storage::Workshop>& workshops) {
    std::vector<LabelSource> sources;
    sources.reserve(workshops.size());
    for (const storage::Workshop& workshop : workshops)
        sources.push_back({workshop.id, workshop.title, {}});
    return distinctLabels(sources);
}

} // namespace journal::protocol
