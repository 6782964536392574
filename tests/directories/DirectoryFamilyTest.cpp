#include "DirectoryFixture.h"
#include "FamilyCases.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using journal::testing::MessageBoxCloser;
using Strings = std::vector<std::string>;

namespace {

std::string command(const std::string& name) {
    return R"({"command":")" + name + R"("})";
}

std::string today() {
    return QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
}

class DirectoryFamilyTest : public DirectoryFixture, public ::testing::WithParamInterface<FamilyCase> {
protected:
    const FamilyCase& kind() const { return GetParam(); }
    QWidget* directory() const { return window(kind().directory); }
    QWidget* editor() const { return window(kind().editor); }
    QLineEdit* searchField() const { return child<QLineEdit>(directory(), "searchEditField"); }

    // Opens the directory from the journal with its two records and forgets the list command.
    void openWithTwoRows() {
        openFromJournal(kind().opener, kind().answer(kind().twoRecords));
        ASSERT_EQ(rows(directory()), 2);
        takeSent();
    }
    // Hands the first row over for editing.
    void editFirstRow() {
        openWithTwoRows();
        selectRow(directory(), 0);
        click(directory(), "BitBtn2");
        ASSERT_TRUE(editor()->isVisible());
    }
    // Presses OK in the editor; a save and then the directory's list are answered.
    void pressOk(const std::string& saveAnswer = R"({"success":true})") {
        answerNextRequest(saveAnswer);
        answerNextRequest(kind().answer(kind().twoRecords));
        click(editor(), "BitBtn1");
    }
    InputTexts inputs() const {
        InputTexts shown;
        for (const auto& [name, text] : kind().firstRowInputs)
            shown.emplace_back(name, inputText(child(editor(), name)));
        return shown;
    }
};

TEST_P(DirectoryFamilyTest, EachFreshOpeningListsAndOpeningAnOpenWindowOnlyRaisesIt) {
    openFromJournal(kind().opener, kind().answer(kind().twoRecords));
    EXPECT_EQ(server.requests().back().body, kind().listBody);
    EXPECT_EQ(takeSent(), Strings{command(kind().listCommand)});
    EXPECT_TRUE(directory()->isVisible());
    EXPECT_EQ(rows(directory()), 2);
    EXPECT_EQ(cell(directory(), 0, 0).toStdString(), kind().firstId);

    trigger(form1.get(), kind().menuItem);
    click(form1.get(), kind().opener);
    EXPECT_TRUE(takeSent().empty()) << "already open";

    type(searchField(), "абв");
    directory()->move(directory()->pos() + QPoint(150, 90));
    directory()->close();
    ASSERT_FALSE(directory()->isVisible());
    openFromJournal(kind().opener, kind().answer(kind().oneRecord));
    EXPECT_EQ(takeSent(), Strings{command(kind().listCommand)});
    EXPECT_EQ(rows(directory()), 1);
    EXPECT_EQ(searchField()->text(), "абв") << "showing keeps the search text";
    const QPoint offset = directory()->frameGeometry().center() - form1->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << "centred over the journal again";
}

TEST_P(DirectoryFamilyTest, SearchSendsTheTextAsTypedFromThreeCharacters) {
    MessageBoxCloser closer;
    openWithTwoRows();
    const struct {
        QString typed;
        bool sent;
    } searches[] = {{"", false}, {"аб", false}, {"   ", true}, {" аб", true}, {"аб ", true}};
    for (const auto& search : searches) {
        SCOPED_TRACE(search.typed.toStdString());
        searchField()->clear();
        type(searchField(), search.typed);
        QTest::keyClick(searchField(), Qt::Key_Return);
        EXPECT_TRUE(takeSent().empty()) << "Enter starts no search";
        if (search.sent)
            answerNextRequest(kind().answer(kind().oneRecord));
        click(directory(), "BitBtn4");
        if (search.sent) {
            EXPECT_EQ(takeSent(), Strings{R"({"command":")" + kind().searchCommand + R"(","search":")" +
                                          search.typed.toStdString() + R"("})"});
            EXPECT_EQ(rows(directory()), 1) << "the answer replaces the rows";
        } else {
            EXPECT_TRUE(takeSent().empty());
            ASSERT_FALSE(closer.shown().empty());
            EXPECT_EQ(closer.shown().back().text, "Запрос должен быть не менее 3-ёх символов.");
            EXPECT_EQ(closer.shown().back().caption, "Ошибка");
        }
    }
}

TEST_P(DirectoryFamilyTest, ResetClearsTheSearchAndListsAgain) {
    openWithTwoRows();
    type(searchField(), "абв");
    answerNextRequest(kind().answer(kind().oneRecord));
    click(directory(), "BitBtn5");
    EXPECT_EQ(searchField()->text(), "");
    EXPECT_EQ(takeSent(), Strings{command(kind().listCommand)});
    EXPECT_EQ(rows(directory()), 1);
}

TEST_P(DirectoryFamilyTest, EverySortItemSendsItsColumnAndDirection) {
    openWithTwoRows();
    const auto* popup = child<QMenu>(directory(), "PopupMenu1");
    ASSERT_EQ(popup->actions().size(), 2);
    EXPECT_EQ(popup->actions()[0]->text(), "Показать подробно");
    const QMenu* sorting = popup->actions()[1]->menu();
    ASSERT_NE(sorting, nullptr);
    EXPECT_EQ(sorting->title(), "Сортировка полей");
    const QList<QAction*> groups = sorting->actions();
    ASSERT_EQ(groups.size(), static_cast<qsizetype>(kind().sortTree.size()));
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const SortGroup& expected = kind().sortTree[static_cast<std::size_t>(i)];
        SCOPED_TRACE(expected.field);
        EXPECT_EQ(groups[i]->text(), expected.title);
        const QList<QAction*> items = groups[i]->menu()->actions();
        ASSERT_EQ(items.size(), 2);
        EXPECT_EQ(items[0]->text(), expected.first);
        EXPECT_EQ(items[1]->text(), expected.second);
        EXPECT_TRUE(items[0]->shortcut().isEmpty());
        for (const auto& [item, path] : {std::pair{items[0], "desc"}, std::pair{items[1], "asc"}}) {
            answerNextRequest(kind().answer(kind().oneRecord));
            item->trigger();
            EXPECT_EQ(takeSent(), Strings{R"({"command":")" + kind().sortCommand + R"(","field":")" + expected.field +
                                          R"(","path":")" + path + R"("})"});
            EXPECT_EQ(rows(directory()), 1);
        }
    }
}

TEST_P(DirectoryFamilyTest, DeleteAsksByNameAndSendsOnlyOnOk) {
    MessageBoxCloser closer;
    openWithTwoRows();
    closer.setAnswer(QMessageBox::Cancel);
    selectRow(directory(), 1);
    click(directory(), "BitBtn3");
    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].caption, "Информация");
    EXPECT_EQ(closer.shown()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(closer.shown()[0].text, kind().secondRowQuestion);
    EXPECT_TRUE(takeSent().empty()) << "Cancel sends nothing";
    EXPECT_EQ(rows(directory()), 2);

    closer.setAnswer(QMessageBox::Ok);
    selectRow(directory(), 0);
    answerNextRequest(kind().answer(kind().oneRecord));
    click(directory(), "BitBtn3");
    ASSERT_EQ(closer.shown().size(), 2u);
    EXPECT_EQ(closer.shown()[1].text, kind().firstRowQuestion);
    EXPECT_EQ(takeSent(), Strings{R"({"command":")" + kind().deleteCommand + R"(","id":")" + kind().firstId + R"("})"});
    EXPECT_EQ(rows(directory()), 1) << "the delete answer's list";
}

TEST_P(DirectoryFamilyTest, DeleteShowsTheAnswersListAndARefusalLosesNothing) {
    MessageBoxCloser closer;
    openWithTwoRows();
    selectRow(directory(), 1);
    answerNextRequest(R"({"error":"Запись используется"})");
    click(directory(), "BitBtn3");
    EXPECT_EQ(closer.shown().back().text, "Запись используется");
    EXPECT_EQ(rows(directory()), 2);
    EXPECT_TRUE(directory()->isVisible());

    answerNextRequest(kind().answer(kind().oneRecord));
    click(directory(), "BitBtn3");
    EXPECT_EQ(takeSent().size(), 2u) << "no list command follows the delete";
    EXPECT_EQ(rows(directory()), 1);
}

TEST_P(DirectoryFamilyTest, RowActionsOnAnEmptyTableShowTheirMessagesAndAddStillOpens) {
    MessageBoxCloser closer;
    openFromJournal(kind().opener, kind().answer("[]"));
    takeSent();
    click(directory(), "BitBtn2");
    trigger(directory(), "N1");
    click(directory(), "BitBtn3");
    ASSERT_EQ(closer.shown().size(), 3u);
    EXPECT_EQ(closer.shown()[0].text, "Не выбрана строка для редактирования.");
    EXPECT_EQ(closer.shown()[1].text, "Не выбрана строка для просмотра.");
    EXPECT_EQ(closer.shown()[2].text, "Не выбрана строка для удаления.");
    EXPECT_TRUE(directory()->isVisible());
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(takeSent().empty());

    click(directory(), "BitBtn1");
    EXPECT_FALSE(directory()->isVisible());
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), kind().addCaption);
    EXPECT_EQ(child<QPushButton>(editor(), "BitBtn1")->text(), "Сохранить");
}

TEST_P(DirectoryFamilyTest, EditHandsTheRowOverAndOkSavesItAndReturnsToTheRefreshedList) {
    editFirstRow();
    EXPECT_FALSE(directory()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), kind().editCaption);
    EXPECT_EQ(child<QPushButton>(editor(), "BitBtn1")->text(), "Редактировать");
    EXPECT_EQ(inputs(), kind().firstRowInputs);

    pressOk();
    EXPECT_EQ(takeSent(), (Strings{kind().firstRowEdit, command(kind().listCommand)}));
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(directory()->isVisible());
}

TEST_P(DirectoryFamilyTest, ViewShowsTheRowLockedAndOkOnlyReturns) {
    openWithTwoRows();
    selectRow(directory(), 0);
    trigger(directory(), "N1");
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), kind().viewCaption);
    EXPECT_EQ(child<QPushButton>(editor(), "BitBtn1")->text(), "Ок");
    EXPECT_EQ(inputs(), kind().firstRowInputs);
    for (const char* name : kind().lockedInView)
        EXPECT_TRUE(locked(child(editor(), name))) << name;
    for (const char* name : kind().usableInView) {
        EXPECT_FALSE(locked(child(editor(), name))) << name;
        type(child(editor(), name), "typed while viewing");
    }

    answerNextRequest(kind().answer(kind().twoRecords));
    click(editor(), "BitBtn1");
    EXPECT_EQ(takeSent(), Strings{command(kind().listCommand)}) << "nothing but the directory's list";
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(directory()->isVisible());
}

TEST_P(DirectoryFamilyTest, AddAfterAnEditStartsEmptyAndSendsTheTextsAsTyped) {
    editFirstRow();
    editor()->close();
    takeSent();
    click(directory(), "BitBtn1");
    EXPECT_EQ(editor()->windowTitle(), kind().addCaption);
    for (const auto& [name, text] : kind().firstRowInputs) {
        const QString expected = name == std::string("DateTimePicker1") ? QString::fromStdString(today()) : QString();
        EXPECT_EQ(inputText(child(editor(), name)), expected) << name;
        EXPECT_FALSE(locked(child(editor(), name))) << name;
    }
    for (const auto& [name, text] : kind().typed)
        type(child(editor(), name), text);

    pressOk();
    std::string save = kind().typedSave;
    if (const auto at = save.find("{today}"); at != std::string::npos)
        save.replace(at, 7, today());
    EXPECT_EQ(takeSent(), (Strings{save, command(kind().listCommand)}));
}

TEST_P(DirectoryFamilyTest, RefusedSaveKeepsTheEditorOpenWithItsInputAndTheDirectoryHidden) {
    MessageBoxCloser closer;
    editFirstRow();
    answerNextRequest(R"({"error":"Цех не найден."})");
    click(editor(), "BitBtn1");
    EXPECT_EQ(closer.shown().back().text, "Цех не найден.");
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_FALSE(directory()->isVisible());
    EXPECT_EQ(inputs(), kind().firstRowInputs);

    pressOk();
    EXPECT_EQ(takeSent(), (Strings{kind().firstRowEdit, kind().firstRowEdit, command(kind().listCommand)}))
        << "OK can be pressed again";
}

TEST_P(DirectoryFamilyTest, CancelEscAndTheCloseBoxReturnToTheFullListKeepingTheSearch) {
    const std::pair<const char*, void (*)(QWidget*)> ways[] = {
        {"Cancel",
         [](QWidget* editor) { QTest::mouseClick(editor->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton); }},
        {"Esc", [](QWidget* editor) { QTest::keyClick(editor, Qt::Key_Escape); }},
        {"close box", [](QWidget* editor) { editor->close(); }},
    };
    openWithTwoRows();
    for (const auto& [way, leave] : ways) {
        SCOPED_TRACE(way);
        searchField()->setText("Ток");
        answerNextRequest(kind().answer(kind().oneRecord));
        click(directory(), "BitBtn4");
        selectRow(directory(), 0);
        click(directory(), "BitBtn2");
        takeSent();
        answerNextRequest(kind().answer(kind().twoRecords));
        leave(editor());
        EXPECT_FALSE(editor()->isVisible());
        EXPECT_TRUE(directory()->isVisible());
        EXPECT_EQ(takeSent(), Strings{command(kind().listCommand)});
        EXPECT_EQ(rows(directory()), 2);
        EXPECT_EQ(searchField()->text(), "Ток");
    }
}

// The directory reopened from the journal while its editor is open, and a second row handed over.
TEST_P(DirectoryFamilyTest, SecondRowHandedToAnOpenEditorReplacesTheFirst) {
    editFirstRow();
    openFromJournal(kind().opener, kind().answer(kind().twoRecords));
    ASSERT_TRUE(directory()->isVisible());
    ASSERT_TRUE(editor()->isVisible());
    selectRow(directory(), 1);
    click(directory(), "BitBtn2");
    takeSent();

    pressOk();
    EXPECT_EQ(takeSent(), (Strings{kind().secondRowEdit, command(kind().listCommand)}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DirectoryFamilyTest, ::testing::ValuesIn(kFamily),
                         [](const auto& info) { return std::string(info.param.name); });

// A success answer the directory cannot load is a failed exchange: fixed message, exit code 0.
struct FatalAnswer {
    const char* opener;
    const char* answer;

    friend void PrintTo(const FatalAnswer& c, std::ostream* out) { *out << c.opener << " " << c.answer; }
};

class DirectoryFatalAnswerTest : public DirectoryFixture, public ::testing::WithParamInterface<FatalAnswer> {};

TEST_P(DirectoryFatalAnswerTest, EndsTheProgramAfterTheFixedMessage) {
    EXPECT_EXIT(
        {
            MessageBoxCloser closer;
            openFromJournal(GetParam().opener, GetParam().answer);
        },
        ::testing::ExitedWithCode(0), "message box: Ошибка: Сервер не доступен, программа будет закрыта!");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, DirectoryFatalAnswerTest,
    ::testing::Values(FatalAnswer{"BitBtn1", R"({"success":true})"},
                      FatalAnswer{"BitBtn1", R"({"success":true,"data":{"workshop":[]}})"},
                      FatalAnswer{"BitBtn1", R"({"success":true,"data":{"machine":[],"workshop":{"Id":"7"}}})"},
                      FatalAnswer{"BitBtn1", R"({"success":true,"data":{"machine":["Станок"]}})"},
                      FatalAnswer{"BitBtn2", R"({"success":true})"}, FatalAnswer{"BitBtn3", R"({"success":true})"}));

} // namespace
