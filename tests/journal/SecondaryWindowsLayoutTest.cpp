#include "JournalFixture.h"
#include "ProgramLook.h"
#include "QStringPrinter.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit8.h"
#include "Unit9.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class SecondaryWindowsLayoutTest : public JournalFixture {
protected:
    static void SetUpTestSuite() {
        journal::applyProgramLook(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    }

    // A control of the form, not a part that Qt builds inside one (a picker's line edit).
    static bool isControl(const QWidget* widget, const QWidget* window) {
        return widget->focusPolicy() & Qt::TabFocus && widget->window() == window &&
               !widget->objectName().startsWith(u"qt_");
    }

    QWidget* windowNamed(const char* name) const {
        return form1->objectName() == QLatin1String(name) ? form1.get() : child(name);
    }

    static std::vector<QString> tabOrder(QWidget* window, QWidget* first) {
        std::vector<QString> order;
        QWidget* widget = first;
        do {
            if (isControl(widget, window))
                order.push_back(widget->objectName());
            widget = widget->nextInFocusChain();
        } while (widget != first);
        return order;
    }
};

struct Place {
    const char* window;
    const char* control;
    QRect place;
    QString text;
};

TEST_F(SecondaryWindowsLayoutTest, ControlsHaveTheirPlacesAndTexts) {
    const Place places[] = {
        {"TForm8", "Label4", {16, 28, 140, 13}, "Оборудование:"},
        {"TForm8", "ComboBox1", {160, 25, 273, 21}, ""},
        {"TForm8", "Memo1", {160, 71, 273, 100}, ""},
        {"TForm8", "Label1", {16, 218, 140, 13}, "Выбор неск. работников:"},
        {"TForm8", "Label3", {16, 237, 140, 13}, "(Ctrl для выбора неск.)"},
        {"TForm8", "ListBox1", {160, 196, 273, 64}, ""},
        {"TForm8", "DateTimePicker1", {160, 285, 129, 21}, ""},
        {"TForm8", "DateTimePicker2", {304, 285, 129, 21}, ""},
        {"TForm8", "Label6", {17, 327, 140, 13}, "Окончание ремонта:"},
        {"TForm8", "DateTimePicker4", {304, 333, 129, 21}, ""},
        {"TForm8", "CheckBox1", {17, 340, 117, 17}, "Установить дату"},
        {"TForm8", "BitBtn1", {80, 384, 130, 25}, ""},
        {"TForm8", "BitBtn2", {240, 384, 130, 25}, "Отмена"},
        {"TForm11", "Label2", {16, 114, 140, 13}, "Описание ремонта:"},
        {"TForm11", "Memo2", {160, 196, 273, 64}, ""},
        {"TForm11", "Label1", {16, 218, 140, 13}, "Работники (ремонтники):"},
        {"TForm11", "Label8", {160, 333, 273, 13}, "Окончание ремонта:"},
        {"TForm11", "BitBtn1", {160, 384, 130, 25}, "OK"},
        {"TForm9", "Memo1", {24, 56, 401, 265}, ""},
        {"TForm10", "Image1", {16, 24, 129, 129}, ""},
        {"TForm10", "Label1", {184, 24, 140, 18}, "Курсовой проект"},
        {"TForm10", "Label4", {184, 139, 140, 18}, "Тула | 2026"},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(std::string(p.window) + "." + p.control);
        const QWidget* control = child(p.window)->findChild<QWidget*>(p.control);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), p.place);
        if (control->inherits("QLabel") || control->inherits("QAbstractButton")) {
            EXPECT_EQ(control->property("text").toString(), p.text);
        }
    }
}

TEST_F(SecondaryWindowsLayoutTest, EditorAndDetailsKeepTheirTabOrderAndDefaultButtons) {
    auto* editor = window<TForm8>();
    EXPECT_EQ(tabOrder(editor, editor->findChild<QWidget*>("ComboBox1")),
              (std::vector<QString>{"ComboBox1", "Memo1", "ListBox1", "DateTimePicker1", "DateTimePicker2",
                                    "DateTimePicker3", "DateTimePicker4", "CheckBox1", "BitBtn1", "BitBtn2"}));
    EXPECT_TRUE(editor->findChild<QPushButton*>("BitBtn1")->isDefault());
    EXPECT_EQ(editor->findChild<QListWidget*>("ListBox1")->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(editor->findChild<QCheckBox*>("CheckBox1")->cursor().shape(), Qt::PointingHandCursor);

    auto* details = window<TForm11>();
    EXPECT_EQ(tabOrder(details, details->findChild<QWidget*>("Memo1")),
              (std::vector<QString>{"Memo1", "BitBtn1", "Memo2"}));
    EXPECT_TRUE(details->findChild<QPushButton*>("BitBtn1")->isDefault());
    for (const char* memo : {"Memo1", "Memo2"})
        EXPECT_TRUE(details->findChild<QPlainTextEdit*>(memo)->isReadOnly()) << memo;
}

TEST_F(SecondaryWindowsLayoutTest, HelpShowsItsFifteenLinesInAReadOnlyWrappingMemo) {
    auto* help = window<TForm9>();
    const auto* memo = help->findChild<QPlainTextEdit*>("Memo1");
    const QStringList lines = memo->toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[0], "Для пользования программой, для начала надо заполнить справочники");
    EXPECT_EQ(lines[3], "- рабочие (ремонтники)");
    EXPECT_EQ(lines[12], "- сортировка столбцов");
    EXPECT_EQ(lines[14], "Можно использовать поле поиска по определённым полям.");
    for (int empty : {4, 9, 13})
        EXPECT_TRUE(lines[empty].isEmpty()) << empty;
    EXPECT_EQ(lines.count(QString()), 3);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    const auto* label = help->findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "Пользование программой");
    EXPECT_EQ(label->pos(), QPoint(112, 24));
    EXPECT_GE(label->width(), 233);
    EXPECT_LE(label->sizeHint().width(), label->width()) << "the title is not cut";
    const QFont title = label->font();
    EXPECT_TRUE(title.bold());
    EXPECT_EQ(title.pointSize(), 12);
    EXPECT_EQ(title.families().value(0), "Verdana");
}

TEST_F(SecondaryWindowsLayoutTest, AboutShowsOurPictureWithAlphaAndFourLinesThatFit) {
    auto* about = window<TForm10>();
    const QPixmap picture = about->findChild<QLabel*>("Image1")->pixmap();
    EXPECT_EQ(picture.size(), QSize(128, 128));
    EXPECT_TRUE(picture.hasAlphaChannel());
    EXPECT_EQ(qAlpha(picture.toImage().pixel(0, 0)), 0) << "the corners let the window's background through";
    EXPECT_EQ(qAlpha(picture.toImage().pixel(64, 64)), 255);

    EXPECT_EQ(about->findChild<QLabel*>("Label1")->font().pixelSize(), 13);
    EXPECT_TRUE(about->findChild<QLabel*>("Label1")->font().bold());
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
        SCOPED_TRACE(name);
        const auto* line = about->findChild<QLabel*>(name);
        EXPECT_FALSE(line->text().isEmpty());
        const int needed = line->wordWrap() ? line->heightForWidth(line->width()) : line->sizeHint().height();
        EXPECT_LE(needed, line->height());
        if (!line->wordWrap()) {
            EXPECT_LE(line->sizeHint().width(), line->width());
        }
        EXPECT_LE(line->geometry().right(), about->width());
    }
}

// A screen reader says what each control is: its caption, its hint, or its label's text.
TEST_F(SecondaryWindowsLayoutTest, EveryControlAPersonUsesHasAnAccessibleName) {
    auto* editor = window<TForm8>();
    editor->upAction(TTypeAction::ADD);
    const struct {
        const char* window;
        const char* control;
        QString name;
    } named[] = {
        {"TForm1", "BitBtn4", "Добавить"},
        {"TForm1", "BitBtn1", "Оборудование"},
        {"TForm8", "ComboBox1", "Оборудование"},
        {"TForm8", "Memo1", "Описание ремонта"},
        {"TForm8", "ListBox1", "Выбор неск. работников"},
        {"TForm8", "DateTimePicker1", "Начало ремонта"},
        {"TForm8", "DateTimePicker3", "Окончание ремонта"},
        {"TForm8", "BitBtn1", "Сохранить"},
        {"TForm11", "Memo2", "Работники (ремонтники)"},
    };
    for (const auto& n : named) {
        SCOPED_TRACE(std::string(n.window) + "." + n.control);
        QWidget* control = windowNamed(n.window)->findChild<QWidget*>(n.control);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), n.name);
    }
    for (const char* name : {"TForm1", "TForm8", "TForm9", "TForm10", "TForm11"}) {
        QWidget* window = windowNamed(name);
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!isControl(control, window))
                continue;
            SCOPED_TRACE(std::string(name) + "." + control->objectName().toStdString());
            EXPECT_FALSE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty());
        }
    }
}

} // namespace
