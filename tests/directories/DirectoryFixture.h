#pragma once

#include "MessageBoxCloser.h"
#include "ScriptedServer.h"
#include "Unit1.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The program's windows talking to a scripted server, with the journal window shown; answers
// nobody scripted are left unanswered ("{}"), so what was sent is what a test checks.
class DirectoryFixture : public ::testing::Test {
protected:
    DirectoryFixture();

    void answerNextRequest(const std::string& answer);
    // The command objects sent since the last call, as the JSON text of each body's data field.
    // Every body must end with the access key.
    std::vector<std::string> takeSent();

    QWidget* window(const char* name) const;
    template <typename T = QWidget>
    T* child(const QWidget* window, const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            ADD_FAILURE() << "no " << name << " in " << window->objectName().toStdString();
        return found;
    }

    void click(const QWidget* window, const char* button) const;
    void trigger(const QWidget* window, const char* action) const;
    // Clicks a journal window button that opens a directory, the directory answering `answer`.
    void openFromJournal(const char* button, const std::string& answer);

    int rows(const QWidget* directory) const;
    QString cell(const QWidget* directory, int row, int column) const;
    void selectRow(const QWidget* directory, int row) const;

    // An input's content as the user sees it: a date in the workstation's short format, a combo
    // box's chosen entry (empty with none).
    static QString inputText(const QWidget* input);
    // Types into a one-line input or a memo ("\n" presses Return); a combo box gets its entry chosen
    // by the arrow key.
    static void type(QWidget* input, const QString& text);
    // Disabled, or a read-only memo.
    static bool locked(const QWidget* input);

    journal::testing::ScriptedServer server;
    std::unique_ptr<TForm1> form1;

private:
    std::size_t fTaken = 0;
};

inline const std::string kEmptyList = R"({"success":true,"data":[]})";
