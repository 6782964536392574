#include "JournalRecords.h"

#include "AnswerJson.h"
#include "AnswerReading.h"
#include "ChoiceList.h"
#include "QStringPrinter.h"
#include "RegionalFormats.h"

#include <gtest/gtest.h>

namespace {

using journal::Json;
using journal::testing::answerOf;
using journal::testing::asJson;

TEST(JournalRecords, TrimmingRemovesControlsAndBlanksOnlyAtTheEnds) {
    EXPECT_EQ(journal::trimBlanks("\t\r\n  Замена\n ремня \x01"), "Замена\n ремня");
    EXPECT_EQ(journal::trimBlanks(QString::fromUtf8("\u00a0а\u00a0")), QString::fromUtf8("\u00a0а\u00a0"))
        << "a no-break space is text";
    EXPECT_EQ(journal::trimBlanks("   "), "");
}

TEST(JournalRecords, DescriptionIsEachLineAfterOneBlank) {
    EXPECT_EQ(journal::joinDescription({"a", "b"}), " a b");
    EXPECT_EQ(journal::joinDescription({}), "");
    EXPECT_EQ(journal::joinDescription({"", " x"}), "   x");
}

TEST(JournalRecords, RepairmenIdsTravelAsCompactJsonText) {
    EXPECT_EQ(journal::idsRepairmanText({"3", "7"}), R"({"ids_repairman":["3","7"]})");
    EXPECT_EQ(journal::idsRepairmanText({}), R"({"ids_repairman":[]})");
    EXPECT_EQ(journal::idsRepairmanText({"a/b"}), R"({"ids_repairman":["a\/b"]})");
}

TEST(ChoiceList, KeepsItsOwnCopyAndFindsIdsByPosition) {
    Json list = Json::parse(R"([{"Id":"3","Title":"Пресс"},{"Id":7,"Title":"Станок"},{"Title":"Без номера"},5])");
    const journal::ChoiceList choices(answerOf(list), "Title");
    list.clear();

    EXPECT_EQ(choices.texts(), (QStringList{"Пресс", "Станок", "Без номера", ""}));
    EXPECT_EQ(choices.idAt(1), "7");
    EXPECT_EQ(choices.idAt(2), "") << "an element without an id";
    EXPECT_EQ(choices.idAt(9), "");
    EXPECT_EQ(choices.idsAt({1, 0, 1, 12}), (std::vector<QString>{"3", "7"})) << "each position once, in list order";
}

TEST(ChoiceList, OffersNothingWithoutAList) {
    EXPECT_EQ(journal::ChoiceList(std::nullopt, "Title").size(), 0);
    EXPECT_EQ(journal::ChoiceList(answerOf(Json::object()), "Title").size(), 0);
}

// Dates and times in whatever regional formats the test runs under.
Json aRecord() {
    Json record =
        Json::parse(R"({"Uid":" 12 ","Machine":" Пресс","Description":" Смазка ","Repairman":[" Петров ",4]})");
    record["DateStart"] = journal::RegionalFormats::dateText(QDate(2026, 2, 1)).toStdString();
    record["TimeStart"] = journal::RegionalFormats::timeText(QTime(8, 0)).toStdString();
    record["DateFinish"] = nullptr;
    return record;
}

TEST(ServiceRecord, ReadsTheRecordToEdit) {
    const journal::ServiceRecord record = journal::readServiceRecord(answerOf(aRecord()));
    EXPECT_EQ(record.uid, "12");
    EXPECT_EQ(record.machine, " Пресс") << "matched exactly, so not trimmed";
    EXPECT_EQ(record.description, "Смазка");
    EXPECT_EQ(record.repairmen, (QStringList{"Петров", "4"}));
    EXPECT_EQ(record.start.date, QDate(2026, 2, 1));
    EXPECT_EQ(record.start.time, QTime(8, 0));
    EXPECT_FALSE(record.finish.has_value());
}

// Each member the editor reads, removed or spoilt in turn: never a crash, always the refusal
// that makes the channel end the exchange.
TEST(ServiceRecord, RefusesARecordItCannotRead) {
    const std::pair<const char*, Json> spoilt[] = {
        {"Uid", nullptr},        {"DateStart", "31.02.2026"},  {"TimeStart", "8 часов"},
        {"Repairman", "Петров"}, {"DateFinish", "02.02.2026"}, // without TimeFinish
    };
    for (const auto& [member, value] : spoilt) {
        SCOPED_TRACE(member);
        Json spoiltRecord = aRecord();
        if (value.is_null())
            spoiltRecord.erase(member);
        else
            spoiltRecord[member] = value;
        EXPECT_THROW(journal::readServiceRecord(answerOf(spoiltRecord)), journal::UnusableAnswer);
    }
    EXPECT_THROW(journal::readServiceRecord(answerOf(Json::array())), journal::UnusableAnswer);
}

TEST(AnswerReading, MembersByPathOfTheirKind) {
    const journal::AnswerValue answer = journal::parseAnswer(R"({"list":{"machine":[1],"repairman":"x"},"uid":{}})");
    EXPECT_EQ(asJson(*journal::arrayAt(answer, "list.machine")), Json::parse("[1]"));
    EXPECT_FALSE(journal::arrayAt(answer, "list.workshop").has_value());
    EXPECT_THROW(journal::arrayAt(answer, "list.repairman"), journal::UnusableAnswer);
    EXPECT_NO_THROW(journal::objectAt(answer, "uid"));
    EXPECT_THROW(journal::objectAt(answer, "view"), journal::UnusableAnswer);
    EXPECT_THROW(journal::objectAt(answer, "list.machine"), journal::UnusableAnswer);
}

} // namespace
