#include "JsonLoad.h"

#include "JsonText.h"
#include "QStringPrinter.h"
#include "TableRows.h"

#include <gtest/gtest.h>

namespace {

using journal::RecordTable;

struct LoadCase {
    const char* name;
    std::string text;
    std::vector<Row> rows;
    std::string error = {}; // empty: the load succeeds
};

// Names the case in test names and failure messages.
void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

class FillFromJson : public testing::TestWithParam<LoadCase> {};

TEST_P(FillFromJson, AppendsTheRecordsOfTheText) {
    RecordTable table = journal::makeServiceTable();
    table.open();
    if (GetParam().error.empty()) {
        fillFromJson(table, GetParam().text);
    } else {
        try {
            fillFromJson(table, GetParam().text);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), GetParam().error);
        }
    }
    EXPECT_EQ(rowsOf(table), GetParam().rows);
}

const QString k1500 = QString(1500, u'ж');

INSTANTIATE_TEST_SUITE_P(
    Cases, FillFromJson,
    testing::Values(
        LoadCase{"LowerCaseNameBeforeExactName", R"([{"Id":"exact","id":"lower"}])", {{{"Id", "lower"}}}},
        LoadCase{"OnlyAllLowerOrExactNamesMatch",
                 R"([{"machineTitle":"a"},{"machinetitle":"b"},{"MachineTitle":"c"}])",
                 {{}, {{"MachineTitle", "b"}}, {{"MachineTitle", "c"}}}},
        LoadCase{"FirstRepeatedMemberCounts", R"([{"Id":"1","Id":"2"}])", {{{"Id", "1"}}}},
        LoadCase{"NumbersAsDecimalText",
                 R"([{"Id":42,"Description":2.5,"Repairman":-3}])",
                 {{{"Id", "42"}, {"Description", "2.5"}, {"Repairman", "-3"}}}},
        LoadCase{"NullLeavesTheFieldEmpty", R"([{"Id":null,"Description":"x"}])", {{{"Description", "x"}}}},
        LoadCase{
            "BooleansAsWords", R"([{"Id":true,"Description":false}])", {{{"Id", "true"}, {"Description", "false"}}}},
        LoadCase{"ObjectsAndArraysAsEmptyText",
                 R"([{"Repairman":["Иванов","Петров"],"Description":{"a":1}}])",
                 {{{"Repairman", ""}, {"Description", ""}}}},
        LoadCase{"NestedListsFlattenedInOrder",
                 R"([[{"Id":"1"},{"Id":"2"}],{"Id":"3"},[[{"Id":"4"}]],[]])",
                 {{{"Id", "1"}}, {{"Id", "2"}}, {{"Id", "3"}}, {{"Id", "4"}}}},
        LoadCase{"InvalidElementKeepsEarlierRows",
                 R"([{"Id":"1"},{"Id":"2"},"three",{"Id":"4"}])",
                 {{{"Id", "1"}}, {{"Id", "2"}}},
                 "[mtService] Invalid field count"},
        LoadCase{"NullElementInvalid", R"([null])", {}, "[mtService] Invalid field count"},
        LoadCase{"EmptyObjectSkipped", R"([{},{"Id":"1"}])", {{{"Id", "1"}}}},
        LoadCase{"UnmatchedMembersGiveAnEmptyRow", R"([{"foo":"1","bar":2}])", {{}}},
        LoadCase{"TextsCutToTheFieldSize",
                 R"([{"Description":")" + k1500.toStdString() + R"(","Id":"123456789012345678901234"}])",
                 {{{"Description", k1500.left(1000)}, {"Id", "12345678901234567890"}}}},
        LoadCase{"CutOnTheCharacterNeverInsideOne",
                 "[{\"Id\":\"1234567890123456789\U0001F600x\"},"
                 "{\"Id\":\"12345678901234567890\U0001F600\"}]",
                 {{{"Id", QString::fromUtf8("1234567890123456789\U0001F600")}}, {{"Id", "12345678901234567890"}}}},
        LoadCase{"EscapedCharactersDecoded",
                 R"([{"Description":"\u0426\u0435\u0445 \uD83D\uDE00 \/"}])",
                 {{{"Description", "Цех 😀 /"}}}},
        LoadCase{"EmptyList", "[]", {}}, LoadCase{"OneRecordObject", R"( {"Id":"7"} )", {{{"Id", "7"}}}},
        LoadCase{"WhiteSpaceBeforeTheList", "\r\n [{\"Id\":\"1\"}]\n", {{{"Id", "1"}}}},
        LoadCase{"NeitherListNorRecordLoadsNothing", R"("[{\"Id\":\"1\"}]")", {}},
        LoadCase{"NullLoadsNothing", "null", {}}, LoadCase{"BrokenListFails", R"([{"Id":"1"})", {}, "JSON not defined"},
        LoadCase{"BraceWithAList", R"({"Id":"1"}])", {}, "JSON not defined"}));

TEST(FillFromJson, LeavesTheCursorOnTheFirstRow) {
    RecordTable table = journal::makeMachineTable();
    table.open();
    fillFromJson(table, R"([{"Id":"1"},{"Id":"2"},{"Id":"3"}])");
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.fieldText("Id"), "1");
}

TEST(TJSONSerialize, LoadsAParsedValueAndRefusesAScalar) {
    RecordTable table = journal::makeWorkshopTable();
    table.open();
    TJSONSerialize(nlohmann::ordered_json::array({{{"title", "Корпус 1"}}})).ToDataSet(table);
    EXPECT_EQ(rowsOf(table), (std::vector<Row>{{{"Title", "Корпус 1"}}}));
    EXPECT_THROW(TJSONSerialize(nlohmann::ordered_json("x")).ToDataSet(table), std::runtime_error);
}

class ReloadTable : public testing::Test {
protected:
    void SetUp() override {
        fTable.open();
        fillFromJson(fTable, R"([{"Id":"old1"},{"Id":"old2"}])");
    }

    RecordTable fTable = journal::makeRepairmanTable();
};

TEST_F(ReloadTable, ReplacesTheWholeContents) {
    const journal::AnswerValue answer =
        journal::parseAnswer(R"({"success":true,"data":[{"id":"9","surname":"Ёлкин"}]})");
    journal::reloadTable(fTable, journal::findPath(answer, "data"));
    EXPECT_EQ(rowsOf(fTable), (std::vector<Row>{{{"Id", "9"}, {"Surname", "Ёлкин"}}}));
}

TEST_F(ReloadTable, MissingListFailsAfterEmptying) {
    EXPECT_THROW(journal::reloadTable(fTable, std::nullopt), std::runtime_error);
    EXPECT_EQ(fTable.rowCount(), 0);
}

TEST_F(ReloadTable, ScalarListEmptiesOnly) {
    journal::reloadTable(fTable, journal::parseAnswer(R"("text")"));
    EXPECT_EQ(fTable.rowCount(), 0);
}

TEST(ReloadTableOfClosedTable, OpensIt) {
    RecordTable table = journal::makeServiceTable();
    journal::reloadTable(table, journal::parseAnswer(R"([{"Id":"1"}])"));
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.rowCount(), 1);
}

} // namespace
