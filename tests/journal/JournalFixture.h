#pragma once

#include "MessageBoxCloser.h"
#include "ScriptedServer.h"
#include "Unit1.h"

#include <QAction>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace journal {
class ActivityIndicator;
} // namespace journal

// The program's eleven windows talking to a scripted server on this machine.
class JournalFixture : public ::testing::Test {
protected:
    JournalFixture();

    void answerNextRequest(const std::string& answer);
    // Shows the journal window, whose show handler asks for the journal: `answer` replies.
    void showJournal(const std::string& answer);
    // Any journal command runs the same answer dispatch: a sort item stands in for all of them.
    void sendCommandAnswered(const std::string& answer);

    template <typename T = QWidget>
    T* child(const char* name) const {
        T* found = form1->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            ADD_FAILURE() << "no " << name;
        return found;
    }
    template <typename T>
    T* window() const {
        return form1->findChild<T*>();
    }
    QTableView* grid() const { return child<QTableView>("DBGrid1"); }
    journal::ActivityIndicator* indicator() const;
    int gridRows() const { return grid()->model()->rowCount(); }
    QString gridText(int row, int column) const;
    // The command texts of the requests from `first` on.
    std::vector<std::string> commandsSince(std::size_t first) const;
    // The action ends the program after the fixed message of a failed exchange, with exit code 0.
    static void expectFixedMessageAndEnd(const std::function<void()>& action);

    journal::testing::ScriptedServer server;
    std::unique_ptr<TForm1> form1;
};

// Two journal records, as the start-up listing brings them.
inline const std::string kTwoRecords =
    R"({"success":true,"data":[{"Id":"1","MachineTitle":"Станок","WorkshopTitle":"Цех 1","Description":"Замена ремня",)"
    R"("Repairman":"Иванов","TimeStart":"01.02.2026 08:00:00","TimeFinish":"null"},{"Id":"2"}]})";

// Record 1 as "uid_service" and "view_service" answer for it: unfinished, one repairman.
inline const std::string kRecordOneUid =
    R"({"Uid":" 1 ","Machine":"Станок","Description":"Замена ремня","Repairman":["Иванов"],)"
    R"("DateStart":"01.02.2026","TimeStart":"08:00:00","DateFinish":null,"TimeFinish":null})";
inline const std::string kRecordOneView = R"({"Machine":"Станок","Description":"Замена ремня","Repairman":["Иванов"],)"
                                          R"("DateStart":"01.02.2026","TimeStart":"08:00:00","DateFinish":null})";
