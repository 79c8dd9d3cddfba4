#include "ui_test_support.h"

#include "ui/channel_grid.h"
#include "ui/channel_table_model.h"

#include "model/value_lists.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <functional>

namespace yalmera::ui {
namespace {

using testing::ProgramFixture;

const QString DigitsOnly = QStringLiteral("Вводите только цифры от 0 до 9");
const QString DigitsAndComma = QStringLiteral("Вводите только цифры от 0 до 9 и запятую");

class MainWindowTest : public ::testing::Test, public ProgramFixture
{
protected:
    void SetUp() override
    {
        windows.show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    }

    QAction* action(const char* name) { return mainChild<QAction>(name); }
    QLineEdit* field(const char* name) { return mainChild<QLineEdit>(name); }
    bool visible(const char* name) { return mainChild(name)->isVisible(); }

    void makeTemplate(const QString& count = QStringLiteral("10"))
    {
        action("N2")->trigger();
        field("Edit1")->setText(count);
        QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    }

    // Types one character at a time into a field, the way a keyboard layout delivers them.
    static void typeInto(QWidget* widget, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    QStringList menuTexts(QMenu* menu)
    {
        QStringList result;
        for (QAction* item : menu->actions())
            result.append(item->isSeparator() ? QStringLiteral("-") : item->text());
        return result;
    }
};

TEST_F(MainWindowTest, StartsWithOnlyTheMenuOverAnEmptySurface)
{
    EXPECT_EQ(main().objectName(), QStringLiteral("FormMain"));
    EXPECT_EQ(windows.stationLinkWindow().objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(windows.protocolWindow().objectName(), QStringLiteral("FormProtokol"));
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(windows.stationLinkWindow().isVisible());
    EXPECT_FALSE(windows.protocolWindow().isVisible());

    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-17"));
    EXPECT_FALSE(visible("Panel1"));
    EXPECT_FALSE(mainChild("Memo1")->isVisibleTo(mainChild("Panel1")));
    EXPECT_FALSE(mainChild("Panel3")->isVisibleTo(mainChild("Panel1")));
    EXPECT_FALSE(mainChild("StringGrid1")->isVisibleTo(mainChild("Panel1")));
    EXPECT_TRUE(mainChild("Panel2")->isVisibleTo(mainChild("Panel1")));

    EXPECT_TRUE(action("N3063")->isChecked());
    EXPECT_TRUE(action("N12")->isChecked());
    EXPECT_FALSE(state.dataChecked());
    EXPECT_EQ(moduleCode(state.moduleType()), 0);
    EXPECT_EQ(state.stationType().typeCode, 0);
    EXPECT_EQ(field("Edit1")->text(), QStringLiteral("10"));
    EXPECT_EQ(field("Edit2")->text(), QStringLiteral("140000"));
    EXPECT_EQ(field("Edit3")->text(), QStringLiteral("1000"));

    // Every item can be chosen except the two stations still to come, and those with nothing to
    // offer yet: no step to undo or redo, no plan file used before.
    const QStringList emptyYet{QStringLiteral("UndoItem"), QStringLiteral("RedoItem")};
    for (QAction* item : main().findChildren<QAction*>()) {
        const bool future = item->objectName() == u"N300345" || item->objectName() == u"N400486";
        const bool empty =
            emptyYet.contains(item->objectName()) || item == mainChild<QMenu>("RecentMenu")->menuAction();
        EXPECT_EQ(item->isEnabled(), !future && !empty) << item->text().toStdString();
    }
    testing::saveScreenshot(main(), QStringLiteral("main-window-start"));
}

TEST_F(MainWindowTest, HasTheFixedGeometryOfItsComponents)
{
    EXPECT_EQ(main().centralWidget()->size(), QSize(797, 397));
    EXPECT_EQ(main().minimumSize(), main().maximumSize());
    EXPECT_FALSE(main().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(mainChild("Panel1")->geometry(), QRect(0, 0, 797, 396));
    EXPECT_EQ(mainChild("Panel2")->geometry(), QRect(4, 26, 241, 99));
    EXPECT_EQ(mainChild("Memo1")->geometry(), QRect(251, 6, 280, 145));
    EXPECT_EQ(mainChild("Panel3")->geometry(), QRect(537, 6, 252, 143));
    EXPECT_EQ(mainChild("StringGrid1")->geometry(), QRect(5, 155, 787, 235));
    EXPECT_EQ(mainChild<QPlainTextEdit>("Memo1")->palette().color(QPalette::Base), QColor(180, 105, 255));
}

TEST_F(MainWindowTest, MenusCarryTheirItemsAndHints)
{
    QStringList bar;
    for (QAction* item : main().menuBar()->actions())
        bar.append(item->text());
    EXPECT_EQ(bar,
              (QStringList{QStringLiteral("Каналы"), QStringLiteral("Доп. оборудование"),
                           QStringLiteral("Ретранслятор"), QStringLiteral("Контроль"),
                           QStringLiteral("Станция"), QStringLiteral("Выход"), QStringLiteral("Правка")}));
    EXPECT_EQ(
        menuTexts(mainChild<QMenu>("N1")),
        (QStringList{QStringLiteral("Создать шаблон"), QStringLiteral("-"), QStringLiteral("Запись в файл"),
                     QStringLiteral("Чтение файла"), QStringLiteral("Последние файлы"), QStringLiteral("-"),
                     QStringLiteral("Экспорт CSV"), QStringLiteral("Импорт CSV")}));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("EditMenu")),
              (QStringList{QStringLiteral("Отменить"), QStringLiteral("Повторить"), QStringLiteral("-"),
                           QStringLiteral("Копировать"), QStringLiteral("Вставить"), QStringLiteral("-"),
                           QStringLiteral("Добавить канал"), QStringLiteral("Удалить каналы"),
                           QStringLiteral("Переместить вверх"), QStringLiteral("Переместить вниз")}));
    EXPECT_EQ(action("UndoItem")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(action("RedoItem")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("N7")),
              (QStringList{QStringLiteral("Нет модуля"), QStringLiteral("Маскиратор 07ПЛ300-02Г"),
                           QStringLiteral("Модуль Тримлинк"), QStringLiteral("Маскиратор Зорпик"),
                           QStringLiteral("Маскиратор типа \"Тенир\"")}));
    EXPECT_EQ(mainChild<QMenu>("N7")->title(), QStringLiteral("Модули "));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("N20")),
              (QStringList{QStringLiteral("Создать протокол"), QStringLiteral("-"),
                           QStringLiteral("Запись/Чтение данных"), QStringLiteral("Тип радиостанции")}));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("N24")),
              (QStringList{QStringLiteral("30-60 МГц"), QStringLiteral("144-174 МГц"),
                           QStringLiteral("300-345 МГц"), QStringLiteral("400-486 Мгц")}));

    EXPECT_EQ(mainChild<QMenu>("N1")->menuAction()->toolTip(),
              QStringLiteral("Программирование каналов радоистанции"));
    EXPECT_EQ(action("N19")->toolTip(), QStringLiteral("Проверка введенных данных"));
    EXPECT_EQ(action("N19")->statusTip(), QStringLiteral("Проверка введенных данных"));
    EXPECT_EQ(action("N25")->toolTip(), QStringLiteral("Закрытие программы"));
}

TEST_F(MainWindowTest, TemplatePanelOpensWithTheBandsLowerLimit)
{
    field("Edit2")->setText(QStringLiteral("150000"));
    action("N2")->trigger();
    EXPECT_TRUE(visible("Panel1"));
    EXPECT_EQ(field("Edit2")->text(), QStringLiteral("140000"));
    EXPECT_TRUE(field("Edit1")->hasFocus());
    // No plan yet: the settings and the table stay hidden.
    EXPECT_FALSE(visible("Memo1"));
    EXPECT_FALSE(visible("StringGrid1"));
}

TEST_F(MainWindowTest, OkFillsTheTableAndTheSettings)
{
    state.acceptCheck(state.image(), state.settingsDigitCount());
    makeTemplate();
    EXPECT_TRUE(visible("Memo1"));
    EXPECT_TRUE(visible("StringGrid1"));
    EXPECT_FALSE(state.dataChecked());
    ChannelTableModel* model = main().tableModel();
    ASSERT_EQ(model->rowCount(), 10);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral(" Rx, кГц"));
    EXPECT_EQ(model->index(0, columnIndex(Column::RxFrequency)).data().toString(), QStringLiteral("140000"));
    EXPECT_EQ(model->index(9, columnIndex(Column::TxFrequency)).data().toString(), QStringLiteral("149000"));
    EXPECT_EQ(model->index(9, columnIndex(Column::Scan)).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Checked);
    EXPECT_EQ(model->index(9, columnIndex(Column::IdTone)).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Unchecked);
    const QString settings = mainChild<QPlainTextEdit>("Memo1")->toPlainText();
    EXPECT_TRUE(settings.startsWith(QStringLiteral("[Общие установки]\nId_номер=0001\n")));
    EXPECT_TRUE(settings.endsWith(QStringLiteral("ВУ=-\nСК=1")));
    EXPECT_TRUE(feedback.messages.empty());
    testing::saveScreenshot(main(), QStringLiteral("main-window-template"));
}

TEST_F(MainWindowTest, RefusedTemplateLeavesEverythingAndSoundsTheCriticalStop)
{
    makeTemplate();
    const ChannelTable before = state.table();
    state.acceptCheck(state.image(), state.settingsDigitCount());
    makeTemplate(QStringLiteral("100"));
    ASSERT_EQ(feedback.texts(),
              QStringList{QStringLiteral("Вы не ввели количество каналов или ввели слишком много")});
    EXPECT_EQ(feedback.sounds, std::vector<Sound>{Sound::CriticalStop});
    EXPECT_EQ(state.table(), before);
    EXPECT_FALSE(state.dataChecked());
}

TEST_F(MainWindowTest, BandChangeHidesTheTableAndRemovesTheCheckBoxes)
{
    makeTemplate();
    action("N3062")->trigger();
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-15"));
    EXPECT_FALSE(visible("Panel1"));
    EXPECT_TRUE(action("N3062")->isChecked());
    EXPECT_FALSE(action("N3063")->isChecked());
    EXPECT_EQ(field("Edit2")->text(), QStringLiteral("30000"));
    EXPECT_EQ(state.stationType().lowerLimitKHz, 30000);
    EXPECT_EQ(state.stationType().typeCode, 1);
    ChannelTableModel* model = main().tableModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        EXPECT_FALSE(model->index(row, columnIndex(Column::Scan)).data(Qt::CheckStateRole).isValid());
        EXPECT_FALSE(model->flags(model->index(row, columnIndex(Column::Active))) & Qt::ItemIsUserCheckable);
    }

    // The template panel comes back alone until a new table is made.
    action("N2")->trigger();
    EXPECT_TRUE(visible("Panel1"));
    EXPECT_FALSE(visible("Memo1"));
    EXPECT_FALSE(visible("StringGrid1"));
    EXPECT_EQ(field("Edit2")->text(), QStringLiteral("30000"));
    QTest::mouseClick(mainChild<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_TRUE(visible("StringGrid1"));
    EXPECT_EQ(model->index(0, columnIndex(Column::RxFrequency)).data().toString(), QStringLiteral("30000"));
    EXPECT_EQ(model->index(0, columnIndex(Column::Active)).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Checked);

    action("N3063")->trigger();
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-17"));
    EXPECT_EQ(field("Edit2")->text(), QStringLiteral("140000"));
}

TEST_F(MainWindowTest, OnlyARealBandChangeTakesTheFlagsAndTheCheck)
{
    makeTemplate(QStringLiteral("3"));
    action("N19")->trigger();
    ASSERT_TRUE(state.dataChecked());
    action("N3063")->trigger(); // the band already selected: nothing at all changes
    EXPECT_TRUE(state.dataChecked());
    EXPECT_TRUE(visible("StringGrid1"));
    EXPECT_EQ(state.table().firstRowWithoutFlags(), 0);

    // The image holds the old band's frequency words: it must be checked again, and a table
    // without flags is neither saved nor printed.
    action("N3062")->trigger();
    EXPECT_FALSE(state.dataChecked());
    feedback.clear();
    action("N4")->trigger();
    action("N21")->trigger();
    EXPECT_EQ(dialogs.saveAsked, 0);
    ASSERT_EQ(feedback.messages.size(), 2u);
    EXPECT_TRUE(feedback.messages[0].text.contains(QStringLiteral("таблица не будет записана в файл")));
    EXPECT_TRUE(feedback.messages[1].text.contains(QStringLiteral("протокол создаваться не будет")));
    EXPECT_FALSE(main().isMinimized());
}

TEST_F(MainWindowTest, FutureBandsCannotBeChosen)
{
    action("N300345")->trigger();
    action("N400486")->trigger();
    EXPECT_TRUE(action("N3063")->isChecked());
    EXPECT_EQ(state.stationType().lowerLimitKHz, 140000);
}

TEST_F(MainWindowTest, ModuleItemsMarkThemselvesAndSetTheModuleType)
{
    action("N15")->trigger();
    EXPECT_EQ(moduleCode(state.moduleType()), 3);
    for (const char* name : {"N12", "N13", "N14", "N16"})
        EXPECT_FALSE(action(name)->isChecked()) << name;
    EXPECT_TRUE(action("N15")->isChecked());
    // A band chosen later keeps the module.
    action("N3062")->trigger();
    EXPECT_EQ(moduleCode(state.moduleType()), 3);
    main().activateWindow();
    EXPECT_EQ(moduleCode(state.moduleType()), 3);
}

struct KeyCase
{
    const char* field;
    QString typed;
    QString expectedText;
    QString message; // empty: accepted silently
};

TEST_F(MainWindowTest, FieldsAcceptOnlyTheirCharacters)
{
    action("N2")->trigger();
    const KeyCase cases[] = {
        {"Edit1", QStringLiteral("5"), QStringLiteral("5"), {}},
        {"Edit1", QStringLiteral(","), QString(), DigitsOnly},
        {"Edit1", QStringLiteral("ж"), QString(), DigitsOnly},
        {"Edit1", QStringLiteral("a"), QString(), DigitsOnly},
        {"Edit2", QStringLiteral("1,5"), QStringLiteral("1,5"), {}},
        {"Edit2", QStringLiteral("."), QString(), DigitsAndComma},
        {"Edit2", QStringLiteral("б"), QString(), DigitsAndComma},
        {"Edit3", QStringLiteral("-"), QString(), DigitsAndComma},
        {"Edit3", QStringLiteral(" "), QString(), DigitsAndComma},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed.toStdString());
        QLineEdit* edit = field(c.field);
        edit->clear();
        feedback.clear();
        typeInto(edit, c.typed);
        EXPECT_EQ(edit->text(), c.expectedText);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(feedback.messages.empty());
        } else {
            EXPECT_EQ(feedback.texts(), QStringList{c.message});
            EXPECT_EQ(feedback.sounds, std::vector<Sound>{Sound::DefaultBeep});
        }
    }
}

TEST_F(MainWindowTest, CountFieldSelectsItsTextWhenFocused)
{
    struct FocusCase
    {
        const char* name;
        std::function<void()> focus;
    };
    QLineEdit* count = field("Edit1");
    const FocusCase cases[] = {
        {"CreateTemplate", [&] { action("N2")->trigger(); }},
        {"BackTab", [&] { QTest::keyClick(field("Edit2"), Qt::Key_Backtab); }},
        {"MouseClick", [&] { QTest::mouseClick(count, Qt::LeftButton, {}, QPoint(4, count->height() / 2)); }},
    };
    action("N2")->trigger();
    for (const FocusCase& c : cases) {
        SCOPED_TRACE(c.name);
        count->setText(QStringLiteral("10"));
        field("Edit2")->setFocus();
        c.focus();
        ASSERT_TRUE(count->hasFocus());
        typeInto(count, QStringLiteral("7"));
        EXPECT_EQ(count->text(), QStringLiteral("7"));
    }
}

TEST_F(MainWindowTest, EnterIsRefusedAndBackspaceAccepted)
{
    action("N2")->trigger();
    QLineEdit* count = field("Edit1");
    count->setText(QStringLiteral("12"));
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Return);
    EXPECT_EQ(feedback.texts(), QStringList{DigitsOnly});
    EXPECT_EQ(feedback.sounds, std::vector<Sound>{Sound::DefaultBeep});
    EXPECT_EQ(state.table().channelCount(), 0); // Enter did not press "Ok"

    feedback.clear();
    QTest::keyClick(count, Qt::Key_Backspace);
    EXPECT_EQ(count->text(), QStringLiteral("1"));
    QTest::keyClick(count, Qt::Key_Left);
    EXPECT_TRUE(feedback.messages.empty());

    QLineEdit* channel = field("Edit4");
    QTest::keyClick(channel, Qt::Key_Enter);
    typeInto(channel, QStringLiteral("7,"));
    EXPECT_EQ(channel->text(), QStringLiteral("7"));
    EXPECT_EQ(feedback.texts(), (QStringList{DigitsOnly, DigitsOnly}));
}

TEST_F(MainWindowTest, SettingsEditsReachTheStateAndLeaveTheGate)
{
    makeTemplate();
    state.acceptCheck(state.image(), state.settingsDigitCount());
    auto* memo = mainChild<QPlainTextEdit>("Memo1");
    memo->moveCursor(QTextCursor::End);
    memo->insertPlainText(QStringLiteral("\nНовая=1"));
    EXPECT_EQ(state.settings().lines().last(), QStringLiteral("Новая=1"));
    EXPECT_EQ(state.settings().lines().size(), 27);
    EXPECT_TRUE(state.dataChecked());
}

TEST_F(MainWindowTest, CheckOfTheTemplatePasses)
{
    makeTemplate(QStringLiteral("1"));
    action("N19")->trigger();
    EXPECT_EQ(feedback.texts(), QStringList{QStringLiteral("Все данные введены верно.")});
    EXPECT_TRUE(state.dataChecked());
    EXPECT_EQ(state.image().channelCount, 1);
}

TEST_F(MainWindowTest, CheckStopsAtTheFirstViolation)
{
    makeTemplate(QStringLiteral("1"));
    state.editTable().setCell(Column::PowerMin, 1, QStringLiteral("4"));
    action("N19")->trigger();
    EXPECT_EQ(feedback.texts(),
              QStringList{QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень")});
    EXPECT_FALSE(state.dataChecked());
}

TEST_F(MainWindowTest, RepeaterAndProtocolAreRefusedWithoutACheck)
{
    makeTemplate();
    action("N11")->trigger();
    EXPECT_EQ(feedback.texts(),
              QStringList{QStringLiteral(
                  "Прежде чем производить настройку рентраслятора проверьте введеные данные !!!")});
    EXPECT_FALSE(visible("Panel3"));

    feedback.clear();
    action("N21")->trigger();
    EXPECT_EQ(feedback.texts(),
              QStringList{QStringLiteral(
                  "Пока не будет произведена проверка данных, протокол создаваться не будет!!!")});
    EXPECT_FALSE(windows.protocolWindow().isVisible());
    EXPECT_FALSE(main().isMinimized());
}

TEST_F(MainWindowTest, RepeaterMarksAChannelAfterACheck)
{
    makeTemplate(QStringLiteral("5"));
    action("N19")->trigger();
    ASSERT_TRUE(state.dataChecked());
    feedback.clear();
    action("N11")->trigger();
    ASSERT_TRUE(visible("Panel3"));
    testing::saveScreenshot(main(), QStringLiteral("main-window-repeater"));
    EXPECT_TRUE(mainChild<QRadioButton>("RadioButton1")->isChecked());

    QLineEdit* channel = field("Edit4");
    typeInto(channel, QStringLiteral("3"));
    QTest::mouseClick(mainChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_TRUE(feedback.messages.empty());
    ChannelTableModel* model = main().tableModel();
    EXPECT_EQ(model->index(2, columnIndex(Column::TxFrequency)).data().toString(), QStringLiteral("РЕТР_ПР"));
    EXPECT_EQ(model->index(2, columnIndex(Column::Scan)).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Unchecked);
    EXPECT_FALSE(state.dataChecked());

    // The panel stays open for the next channel; the other mode gives the frequency back.
    QTest::mouseClick(mainChild<QRadioButton>("RadioButton2"), Qt::LeftButton);
    QTest::mouseClick(mainChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(model->index(2, columnIndex(Column::TxFrequency)).data().toString(), QStringLiteral("142000"));
    EXPECT_EQ(model->index(2, columnIndex(Column::RxFrequency)).data().toString(), QStringLiteral("РЕТР_ПП"));

    channel->clear();
    QTest::mouseClick(mainChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(feedback.texts(), QStringList{QStringLiteral("Вы не указали номер канала !!!")});
    typeInto(channel, QStringLiteral("9"));
    QTest::mouseClick(mainChild<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(feedback.texts().last(), QStringLiteral("Такого номера канала нет в таблице !!!"));

    QTest::mouseClick(mainChild<QPushButton>("BitBtn3"), Qt::LeftButton);
    EXPECT_FALSE(visible("Panel3"));
}

TEST_F(MainWindowTest, PlanFileWrittenAndReadBackThroughTheMenu)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("K17M_10.ini"));
    makeTemplate(QStringLiteral("3"));
    action("N14")->trigger();
    state.editTable().setCell(Column::CtcssRx, 2, QStringLiteral("67,0"));
    state.editTable().setFlag(Column::IdTone, 3, true);
    const ChannelTable written = state.table();

    dialogs.savePaths.push_back(path);
    action("N4")->trigger();
    ASSERT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
    ASSERT_TRUE(QFile::exists(path));

    // Another band and module, then the file brings its own back.
    action("N3062")->trigger();
    action("N12")->trigger();
    state.acceptCheck(state.image(), state.settingsDigitCount());
    dialogs.openPaths.push_back(path);
    action("N5")->trigger();
    ASSERT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();

    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-17"));
    EXPECT_TRUE(action("N3063")->isChecked());
    EXPECT_TRUE(action("N14")->isChecked());
    EXPECT_EQ(moduleCode(state.moduleType()), 2);
    EXPECT_EQ(field("Edit2")->text(), QStringLiteral("140000"));
    EXPECT_FALSE(state.dataChecked());
    EXPECT_TRUE(visible("Panel1"));
    EXPECT_TRUE(visible("Memo1"));
    EXPECT_TRUE(visible("StringGrid1"));
    ChannelTableModel* model = main().tableModel();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->headerData(columnIndex(Column::TxFrequency), Qt::Horizontal).toString(),
              QStringLiteral(" Tx, кГЦ"));
    for (int row = 1; row <= 3; ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            EXPECT_EQ(state.table().cell(columnAt(column), row), written.cell(columnAt(column), row))
                << row << "," << column;
            EXPECT_EQ(state.table().flag(columnAt(column), row), written.flag(columnAt(column), row))
                << row << "," << column;
        }
    }
    EXPECT_TRUE(
        mainChild<QPlainTextEdit>("Memo1")->toPlainText().contains(QStringLiteral("Серийный номер=100000")));
}

TEST_F(MainWindowTest, CancelledDialogsChangeNothing)
{
    makeTemplate();
    const ChannelTable before = state.table();
    action("N4")->trigger();
    action("N5")->trigger();
    EXPECT_EQ(dialogs.saveAsked, 1);
    EXPECT_EQ(dialogs.openAsked, 1);
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_EQ(state.table(), before);
}

TEST_F(MainWindowTest, FileFailuresAreShownAndKeepThePlan)
{
    makeTemplate();
    state.acceptCheck(state.image(), state.settingsDigitCount());
    const ChannelTable before = state.table();
    QTemporaryDir folder;
    dialogs.openPaths.push_back(folder.filePath(QStringLiteral("missing.ini")));
    action("N5")->trigger();
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].kind, MessageKind::Failure);
    EXPECT_EQ(state.table(), before);
    EXPECT_TRUE(state.dataChecked());

    feedback.clear();
    dialogs.savePaths.push_back(folder.filePath(QStringLiteral("no/such/folder/plan.ini")));
    action("N4")->trigger();
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].kind, MessageKind::Failure);

    // A name whose bytes were no UTF-8 reaches the window with U+FFFD in their place: it names
    // another file, here one that stands by, and is neither read nor written.
    const QString unspellable = folder.filePath(QStringLiteral("\uFFFD\uFFFD.ini"));
    ASSERT_TRUE(QFile(unspellable).open(QIODevice::WriteOnly));
    feedback.clear();
    dialogs.openPaths.push_back(unspellable);
    action("N5")->trigger();
    dialogs.savePaths.push_back(unspellable);
    action("N4")->trigger();
    ASSERT_EQ(feedback.messages.size(), 2u);
    for (const UserMessage& message : feedback.messages)
        EXPECT_TRUE(message.text.contains(QStringLiteral("не в UTF-8"))) << message.text.toStdString();
    EXPECT_EQ(QFileInfo(unspellable).size(), 0);
    EXPECT_EQ(state.table(), before);
}

TEST_F(MainWindowTest, WritingBeforeAnyTableIsRefusedWithoutADialog)
{
    action("N4")->trigger();
    EXPECT_EQ(dialogs.saveAsked, 0);
    EXPECT_EQ(feedback.messages.size(), 1u);
}

TEST_F(MainWindowTest, StationLinkWindowMinimisesAndRestoresTheMainWindow)
{
    action("N23")->trigger();
    EXPECT_TRUE(windows.stationLinkWindow().isVisible());
    EXPECT_TRUE(main().isMinimized());

    QTest::mouseClick(windows.stationLinkWindow().findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                      Qt::LeftButton);
    EXPECT_FALSE(windows.stationLinkWindow().isVisible());
    EXPECT_FALSE(main().isMinimized());
    // Shown even without a plan; they are then empty.
    EXPECT_TRUE(visible("Panel1"));
    EXPECT_TRUE(visible("Memo1"));
    EXPECT_TRUE(visible("StringGrid1"));
    EXPECT_EQ(main().tableModel()->rowCount(), 0);
}

TEST_F(MainWindowTest, ProtocolWindowMinimisesAndRestoresTheMainWindow)
{
    makeTemplate(QStringLiteral("1"));
    action("N19")->trigger();
    ASSERT_TRUE(state.dataChecked());
    action("N21")->trigger();
    EXPECT_TRUE(windows.protocolWindow().isVisible());
    EXPECT_TRUE(main().isMinimized());
    QTest::mouseClick(windows.protocolWindow().findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                      Qt::LeftButton);
    EXPECT_FALSE(windows.protocolWindow().isVisible());
    EXPECT_FALSE(main().isMinimized());
}

TEST_F(MainWindowTest, ExitClosesTheProgramWithoutAsking)
{
    QSignalSpy closed(&main(), &MainWindow::closed);
    action("N23")->trigger();
    action("N25")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(windows.stationLinkWindow().isVisible());
    EXPECT_TRUE(feedback.messages.empty());
}

} // namespace
} // namespace yalmera::ui
