#include "ActivityIndicator.h"
#include "AnswerJson.h"
#include "JournalFixture.h"
#include "Unit11.h"
#include "Unit8.h"
#include "Unit9.h"

#include <QApplication>
#include <ostream>
#include <vector>

using journal::testing::MessageBoxCloser;

namespace {

std::string textOf(const std::optional<journal::AnswerValue>& list) {
    return list ? journal::testing::asJson(*list).dump() : "none";
}

// What the answer dispatch can change.
struct JournalState {
    int rows = 0;
    QString firstId;
    std::string machines = "none";
    std::string repairmen = "none";
    bool editorShown = false;
    QString editorCaption;
    bool detailsShown = false;

    bool operator==(const JournalState&) const = default;
    friend void PrintTo(const JournalState& s, std::ostream* out) {
        *out << "{rows " << s.rows << ", first id '" << s.firstId.toStdString() << "', machines " << s.machines
             << ", repairmen " << s.repairmen << ", editor " << s.editorShown << " '" << s.editorCaption.toStdString()
             << "', details " << s.detailsShown << "}";
    }
};

// The state after the start-up listing of kTwoRecords.
const JournalState kStartState{2, "1", "none", "none", false, "", false};

struct DispatchCase {
    const char* name;
    std::vector<std::string> answers;    // each answers one command, in turn
    void (*change)(JournalState& state); // what the answers change in the start state

    friend void PrintTo(const DispatchCase& c, std::ostream* out) { *out << c.name; }
};

const DispatchCase kDispatchCases[] = {
    {"list and data: the lists are kept, the table is untouched",
     {R"({"success":true,"list":{"repairman":[{"Id":"5","Name":"Петров"}],"machine":[{"Id":"3","Title":"Пресс"}]},"data":[]})"},
     [](JournalState& s) {
         s.machines = R"([{"Id":"3","Title":"Пресс"}])";
         s.repairmen = R"([{"Id":"5","Name":"Петров"}])";
     }},
    {"list without machine: the machines list is none, the repairmen list is taken",
     {R"({"success":true,"list":{"repairman":[]}})"},
     [](JournalState& s) { s.repairmen = "[]"; }},
    {"list that is not an object replaces both lists with none",
     {R"({"success":true,"list":{"repairman":[],"machine":[]}})", R"({"success":true,"list":7})"},
     [](JournalState&) {}},
    {"uid and view: the editor opens for editing, the details window does not",
     {R"({"success":true,"uid":)" + kRecordOneUid + R"(,"view":)" + kRecordOneView + "}"},
     [](JournalState& s) {
         s.editorShown = true;
         s.editorCaption = "Редактировать запись в журнале";
     }},
    {"view opens the details window",
     {R"({"success":true,"view":)" + kRecordOneView + "}"},
     [](JournalState& s) { s.detailsShown = true; }},
    {"data replaces the rows rather than adding to them",
     {R"({"success":true,"data":[{"Id":"9"}]})"},
     [](JournalState& s) {
         s.rows = 1;
         s.firstId = "9";
     }},
    {"an empty data array empties the grid",
     {R"({"success":true,"data":[]})"},
     [](JournalState& s) {
         s.rows = 0;
         s.firstId.clear();
     }},
    {"an answer with error and success is dispatched after the message",
     {R"({"error":"Занято","success":true,"data":[]})"},
     [](JournalState& s) {
         s.rows = 0;
         s.firstId.clear();
     }},
    {"an error answer changes nothing",
     {R"({"success":true,"list":{"repairman":[],"machine":[]}})", R"({"error":"Нет связи с базой","data":[]})"},
     [](JournalState& s) { s.machines = s.repairmen = "[]"; }},
};

class JournalDispatchTest : public JournalFixture, public ::testing::WithParamInterface<DispatchCase> {
protected:
    JournalState state() const {
        const auto* editor = window<TForm8>();
        return {gridRows(),
                gridRows() > 0 ? gridText(0, 0) : QString(),
                textOf(form1->JsonMachine()),
                textOf(form1->JsonRepairman()),
                editor->isVisible(),
                editor->windowTitle(),
                window<TForm11>()->isVisible()};
    }
};

TEST_P(JournalDispatchTest, AnswerHasItsEffect) {
    MessageBoxCloser closer;
    showJournal(kTwoRecords);
    for (const std::string& answer : GetParam().answers)
        sendCommandAnswered(answer);
    JournalState expected = kStartState;
    GetParam().change(expected);
    EXPECT_EQ(state(), expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Answers, JournalDispatchTest, ::testing::ValuesIn(kDispatchCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// A success answer that the journal cannot carry out is a failed exchange: fixed message, exit code 0.
class JournalFatalAnswerTest : public JournalFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(JournalFatalAnswerTest, EndsTheProgramAfterTheFixedMessage) {
    expectFixedMessageAndEnd([this] {
        showJournal(kTwoRecords);
        sendCommandAnswered(GetParam());
    });
}

INSTANTIATE_TEST_SUITE_P(Answers, JournalFatalAnswerTest,
                         ::testing::Values(R"({"success":true})", R"({"success":true,"uid":[1]})",
                                           R"({"success":true,"uid":"1"})", R"({"success":true,"view":null})",
                                           R"({"success":true,"list":{"machine":{}}})",
                                           R"({"success":true,"list":{"repairman":"Иванов"}})"));

using JournalListingTest = JournalFixture;

TEST_F(JournalListingTest, StartUpListingAsksForTheJournalAndFillsTheGrid) {
    EXPECT_TRUE(indicator()->isAnimating()) << "runs from creation";
    showJournal(kTwoRecords);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, "data=%7B%22command%22%3A%22all_service%22%7D&key=QmWrTsXnPdKa");
    ASSERT_EQ(gridRows(), 2);
    EXPECT_EQ(gridText(0, 1), "Станок");
    EXPECT_EQ(gridText(0, 4), "Иванов");
    EXPECT_EQ(gridText(0, 6), "null");
    EXPECT_FALSE(indicator()->isAnimating());
}

TEST_F(JournalListingTest, RefusedListingKeepsIndicatorRunningAndGridEmptyUntilALaterListing) {
    MessageBoxCloser closer;
    showJournal(R"({"error":"База недоступна"})");

    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].caption, "Ошибка");
    EXPECT_EQ(closer.shown()[0].text, "База недоступна");
    EXPECT_EQ(gridRows(), 0);
    EXPECT_TRUE(indicator()->isAnimating());

    sendCommandAnswered(kTwoRecords);
    EXPECT_EQ(gridRows(), 2);
    EXPECT_FALSE(indicator()->isAnimating());
}

TEST_F(JournalListingTest, ErrorBoxDisablesNoWindowWhileTheCallerWaits) {
    showJournal(kTwoRecords);
    child<QAction>("N12")->trigger(); // the help window is open as well

    MessageBoxCloser closer;
    bool checkedWhileOpen = false;
    closer.setWhileOpen([&](QMessageBox&) {
        checkedWhileOpen = true;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(form1->isEnabled());
        EXPECT_TRUE(child<QWidget>("DBGrid1")->isEnabled());
        EXPECT_TRUE(window<TForm9>()->isEnabled());
        EXPECT_EQ(gridRows(), 2) << "the callback must wait until the box is closed";
    });
    sendCommandAnswered(R"({"error":"Занято","success":true,"data":[]})");

    EXPECT_TRUE(checkedWhileOpen);
    EXPECT_EQ(gridRows(), 0);
}

struct SortItemCase {
    const char* item;
    const char* field;
    const char* path;

    friend void PrintTo(const SortItemCase& c, std::ostream* out) { *out << c.item; }
};

class JournalSortTest : public JournalFixture, public ::testing::WithParamInterface<SortItemCase> {};

TEST_P(JournalSortTest, SortItemAsksForTheJournalInItsOrder) {
    showJournal(kTwoRecords);
    answerNextRequest(R"({"success":true,"data":[{"Id":"2"}]})");
    child<QAction>(GetParam().item)->trigger();

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].body, std::string("data=%7B%22command%22%3A%22sort_service%22%2C%22field%22%3A%22") +
                                    GetParam().field + "%22%2C%22path%22%3A%22" + GetParam().path +
                                    "%22%7D&key=QmWrTsXnPdKa");
    EXPECT_EQ(gridRows(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Items, JournalSortTest,
    ::testing::Values(SortItemCase{"N17", "S.id", "desc"}, SortItemCase{"N18", "S.id", "asc"},
                      SortItemCase{"N20", "M.title", "desc"}, SortItemCase{"N21", "M.title", "asc"},
                      SortItemCase{"N23", "W.title", "desc"}, SortItemCase{"N24", "W.title", "asc"},
                      SortItemCase{"N26", "S.description", "desc"}, SortItemCase{"N27", "S.description", "asc"},
                      SortItemCase{"N29", "S.time_start", "desc"}, SortItemCase{"N30", "S.time_start", "asc"},
                      SortItemCase{"N32", "S.time_finish", "desc"}, SortItemCase{"N33", "S.time_finish", "asc"}),
    [](const auto& info) { return std::string(info.param.item); });

} // namespace
