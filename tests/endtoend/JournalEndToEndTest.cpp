#include "ChannelSettingsForTesting.h"
#include "KeyboardInput.h"
#include "MessageBoxCloser.h"
#include "ProgramWindows.h"
#include "QStringPrinter.h"
#include "ServerHarness.h"
#include "Unit1.h"
#include "Unit11.h"
#include "Unit8.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using journal::testing::MessageBoxCloser;

// The journal kept from start to end through its windows, on the real server and database.
class JournalEndToEndTest : public ::testing::Test {
protected:
    JournalEndToEndTest() {
        const std::string workshop = server.addWorkshop();
        server.addMachine(workshop, "Пресс гидравлический", "П-7");
        server.addMachine(workshop, "Станок 16К20", "ТС-1");
        server.addRepairman("Иванов", "Пётр", "Слесарь");
        server.addRepairman("Петров", "Олег", "Электромонтёр");
        journal::testing::setChannelSettings({server.url(), server.authority().string(), 60000});
        form1 = journal::createProgramWindows();
        form1->show();
    }

    template <typename T>
    T* find(QWidget* window, const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    TForm8* editor() const { return form1->findChild<TForm8*>(); }
    QTableView* grid() const { return find<QTableView>(form1.get(), "DBGrid1"); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    void click(QWidget* window, const char* button) {
        QTest::mouseClick(find<QPushButton>(window, button), Qt::LeftButton);
    }
    void chooseFirstMachineAndRepairman() {
        auto* machines = find<QComboBox>(editor(), "ComboBox1");
        machines->setFocus();
        QTest::keyClick(machines, Qt::Key_Down);
        auto* repairmen = find<QListWidget>(editor(), "ListBox1");
        QTest::mouseClick(repairmen->viewport(), Qt::LeftButton, {},
                          repairmen->visualItemRect(repairmen->item(0)).center());
    }
    void replaceDescription(const QString& text) {
        auto* memo = find<QPlainTextEdit>(editor(), "Memo1");
        memo->setFocus();
        memo->selectAll();
        journal::testing::typeText(memo, text);
    }

    journal::testing::ServerHarness server{journal::testing::Backend::Sqlite};
    std::unique_ptr<TForm1> form1;
};

TEST_F(JournalEndToEndTest, AddEditViewAndDeleteARecord) {
    ASSERT_EQ(grid()->model()->rowCount(), 0);

    click(form1.get(), "BitBtn4");
    ASSERT_TRUE(editor()->isVisible());
    ASSERT_EQ(find<QComboBox>(editor(), "ComboBox1")->count(), 2);
    chooseFirstMachineAndRepairman();
    replaceDescription("Замена уплотнений");
    click(editor(), "BitBtn1");

    ASSERT_FALSE(editor()->isVisible()) << "the server took the record";
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    const QString machine = find<QComboBox>(editor(), "ComboBox1")->itemText(0);
    EXPECT_EQ(cell(0, 1), machine);
    EXPECT_TRUE(cell(0, 3).contains("Замена уплотнений")) << cell(0, 3).toStdString();
    EXPECT_TRUE(cell(0, 4).contains("Иванов")) << cell(0, 4).toStdString();

    click(form1.get(), "BitBtn5");
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(find<QComboBox>(editor(), "ComboBox1")->currentText(), machine);
    EXPECT_EQ(find<QPlainTextEdit>(editor(), "Memo1")->toPlainText(), "Замена уплотнений");
    EXPECT_TRUE(find<QListWidget>(editor(), "ListBox1")->item(0)->isSelected());
    replaceDescription("Замена уплотнений и манжет");
    QTest::mouseClick(find<QCheckBox>(editor(), "CheckBox1"), Qt::LeftButton);
    click(editor(), "BitBtn1");
    ASSERT_FALSE(editor()->isVisible());
    EXPECT_TRUE(cell(0, 3).contains("манжет")) << cell(0, 3).toStdString();
    EXPECT_FALSE(cell(0, 6).isEmpty());

    form1->findChild<QAction*>("N14")->trigger();
    auto* details = form1->findChild<TForm11*>();
    ASSERT_TRUE(details->isVisible());
    EXPECT_EQ(find<QLabel>(details, "Label7")->text(), machine);
    EXPECT_EQ(find<QPlainTextEdit>(details, "Memo1")->toPlainText(), "Замена уплотнений и манжет");
    EXPECT_FALSE(find<QLabel>(details, "Label8")->text().isEmpty()) << "finished now";
    click(details, "BitBtn1");

    MessageBoxCloser closer;
    click(form1.get(), "BitBtn6");
    ASSERT_EQ(closer.shown().size(), 1u);
    EXPECT_EQ(closer.shown()[0].caption, "Информация");
    EXPECT_EQ(grid()->model()->rowCount(), 0);
}

} // namespace
