#include "protocol/Labels.h"

#include <gtest/gtest.h>

namespace journal::protocol {
namespace {

TEST(DistinctLabels, AddDetailsOnlyWhereTextsRepeat) {
    const auto labels = distinctLabels({{1, "Иванов", "Слесарь"},
                                        {2, "Иванов", "Электрик"},
                                        {3, "Петров", "Слесарь"},
                                        {4, "Сидоров", "Токарь"},
                                        {5, "Сидоров", "Токарь"},
                                        {6, "Котёл", ""},
                                        {7, "Котёл", ""}});

    EXPECT_EQ(labels.at(1), "Иванов (Слесарь)");
    EXPECT_EQ(labels.at(2), "Иванов (Электрик)");
    EXPECT_EQ(labels.at(3), "Петров");
    EXPECT_EQ(labels.at(4), "Сидоров (Токарь, №4)");
    EXPECT_EQ(labels.at(5), "Сидоров (Токарь, №5)");
    EXPECT_EQ(labels.at(6), "Котёл (№6)");
    EXPECT_EQ(labels.at(7), "Котёл (№7)");
}

TEST(Names, FullAndShortForms) {
    const storage::RepairmanInput person{"Ёлкин", "Григорий", "Павлович", "Слесарь"};
    EXPECT_EQ(fullName(person), "Ёлкин Григорий Павлович");
    EXPECT_EQ(shortName(person), "Ёлкин Г. П.");
    EXPECT_EQ(shortName({"Ким", "", "", ""}), "Ким");
}

} // namespace
} // namespace journal::protocol
