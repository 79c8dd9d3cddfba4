#include "ui_test_support.h"

#include "ui/channel_grid.h"
#include "ui/channel_table_model.h"
#include "ui/help_windows.h"
#include "ui/journal_window.h"
#include "ui/plan_file_dialogs.h"
#include "ui/plan_markers.h"
#include "ui/unsaved_plan.h"

#include "common/station_peers.h"

#include "files/journal.h"
#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "link/write_exchange.h"
#include "model/value_lists.h"
#include "model/version.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <cstdio>
#include <functional>
#include <list>
#include <tuple>

#ifndef Q_OS_WIN
#include <signal.h>
#endif

namespace yalmera::ui {
namespace {

using testing::ProgramFixture;

const QString DigitsOnly = QStringLiteral("Вводите только цифры от 0 до 9");
const QString DigitsAndComma = QStringLiteral("Вводите только цифры от 0 до 9 и запятую");

class MainWindowTest : public ::testing::Test, public ProgramFixture
{
public:
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

    // A key where the keyboard's keys go: an open menu, the focused field, or the active window.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QWidget* target = QApplication::activePopupWidget();
        target = target                        ? target
                 : QApplication::focusWidget() ? QApplication::focusWidget()
                                               : QApplication::activeWindow();
        ASSERT_NE(target, nullptr) << "no window takes the keys";
        if (text.isEmpty())
            QTest::keyClick(target, key, modifiers); // with the key's own text: a tab for Tab
        else
            QTest::sendKeyEvent(QTest::Click, target, key, text, modifiers);
    }
    // Tab until the window's part, or the field inside it, has the focus; then the key, if any.
    static void tabTo(const QWidget* part, Qt::Key then = Qt::Key_unknown)
    {
        const auto reached = [part] {
            return part->isAncestorOf(QApplication::focusWidget()) || part->hasFocus();
        };
        for (int i = 0; i < 20 && !reached(); ++i)
            press(Qt::Key_Tab);
        ASSERT_TRUE(reached()) << part->objectName().toStdString();
        if (then != Qt::Key_unknown)
            press(then);
    }

    // A caption as the user reads it: the '&' before an underlined letter is no part of the text.
    static QString shown(const QString& caption)
    {
        QString text;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == u'&' && i + 1 < caption.size())
                ++i;
            text += caption[i];
        }
        return text;
    }
    static QStringList menuTexts(const QList<QAction*>& items)
    {
        QStringList result;
        for (QAction* item : items)
            result.append(item->isSeparator() ? QStringLiteral("-") : shown(item->text()));
        return result;
    }
    static QStringList menuTexts(QMenu* menu) { return menuTexts(menu->actions()); }
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
    // offer yet: no step to undo or redo, no table, no plan file used before.
    const QStringList emptyYet{u"UndoItem"_qs,   u"RedoItem"_qs,          u"CopyItem"_qs,
                               u"PasteItem"_qs,  u"InsertChannelItem"_qs, u"RemoveChannelsItem"_qs,
                               u"MoveUpItem"_qs, u"MoveDownItem"_qs};
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
    EXPECT_EQ(menuTexts(main().menuBar()->actions()),
              (QStringList{QStringLiteral("Каналы"), QStringLiteral("Доп. оборудование"),
                           QStringLiteral("Ретранслятор"), QStringLiteral("Контроль"),
                           QStringLiteral("Станция"), QStringLiteral("Выход"), QStringLiteral("Правка"),
                           QStringLiteral("Вид"), QStringLiteral("Справка")}));
    // The guide places "Правка" where the bar has it.
    const QStringList bar = menuTexts(main().menuBar()->actions());
    const qsizetype edit = bar.indexOf(QStringLiteral("Правка"));
    QFile guide(QStringLiteral(YALMERA_SOURCE_DIR "/docs/руководство.md"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(guide.readAll())
                    .contains(QStringLiteral("Меню «Правка» (в строке меню между «%1» и «%2»)")
                                  .arg(bar.value(edit - 1), bar.value(edit + 1))));
    EXPECT_EQ(
        menuTexts(mainChild<QMenu>("N1")),
        (QStringList{QStringLiteral("Создать шаблон"), QStringLiteral("-"), QStringLiteral("Запись в файл"),
                     QStringLiteral("Сохранить"), QStringLiteral("Чтение файла"),
                     QStringLiteral("Последние файлы"), QStringLiteral("-"), QStringLiteral("Экспорт CSV"),
                     QStringLiteral("Импорт CSV")}));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("ViewMenu")), QStringList{QStringLiteral("Просторное окно")});
    EXPECT_EQ(menuTexts(mainChild<QMenu>("HelpMenu")),
              (QStringList{QStringLiteral("Руководство"), QStringLiteral("Журнал обмена"),
                           QStringLiteral("О программе")}));
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
    EXPECT_EQ(shown(mainChild<QMenu>("N7")->title()), QStringLiteral("Модули "));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("N20")),
              (QStringList{QStringLiteral("Создать протокол"), QStringLiteral("-"),
                           QStringLiteral("Запись/Чтение данных"), QStringLiteral("Тип радиостанции"),
                           QStringLiteral("Сравнить со станцией"), QStringLiteral("-"),
                           QStringLiteral("Запись в несколько станций")}));
    EXPECT_EQ(menuTexts(mainChild<QMenu>("N24")),
              (QStringList{QStringLiteral("30-60 МГц"), QStringLiteral("144-174 МГц"),
                           QStringLiteral("300-345 МГц"), QStringLiteral("400-486 Мгц")}));

    EXPECT_EQ(mainChild<QMenu>("N1")->menuAction()->toolTip(),
              QStringLiteral("Программирование каналов радоистанции"));
    EXPECT_EQ(action("N19")->toolTip(), QStringLiteral("Проверка введенных данных"));
    EXPECT_EQ(action("N19")->statusTip(), QStringLiteral("Проверка введенных данных"));
    EXPECT_EQ(action("N25")->toolTip(), QStringLiteral("Закрытие программы"));
}

TEST_F(MainWindowTest, EveryMenuHasItsKeysAndTheCommandsTheirShortcuts)
{
    const std::pair<const char*, QString> shortcuts[] = {
        {"N2", QStringLiteral("Ctrl+N")},       {"N5", QStringLiteral("Ctrl+O")},
        {"SaveItem", QStringLiteral("Ctrl+S")}, {"N19", QStringLiteral("F9")},
        {"GuideItem", QStringLiteral("F1")},
    };
    for (const auto& [name, keys] : shortcuts)
        EXPECT_EQ(action(name)->shortcut(), QKeySequence(keys)) << name;

    // An underlined letter for every menu and every item that can be chosen, none twice in a menu.
    std::vector<QList<QAction*>> menus{main().menuBar()->actions()};
    for (QMenu* menu : main().findChildren<QMenu*>())
        if (menu->objectName() != u"RecentMenu")
            menus.push_back(menu->actions());
    for (const QList<QAction*>& items : menus) {
        QList<QKeySequence> keys;
        for (QAction* item : items) {
            if (item->isSeparator() || !item->isEnabled())
                continue;
            const QKeySequence key = QKeySequence::mnemonic(item->text());
            EXPECT_FALSE(key.isEmpty()) << item->text().toStdString();
            EXPECT_FALSE(keys.contains(key)) << item->text().toStdString();
            keys.append(key);
        }
    }

    // Alt with a letter and F10 open the menus; F9 checks from anywhere in the window.
    QTest::sendKeyEvent(QTest::Click, &main(), static_cast<Qt::Key>(u'С'), QStringLiteral("с"),
                        Qt::AltModifier);
    EXPECT_TRUE(mainChild<QMenu>("HelpMenu")->isVisible());
    testing::saveScreenshot(*mainChild<QMenu>("HelpMenu"), QStringLiteral("menu-help"));
    mainChild<QMenu>("HelpMenu")->close();
    QTest::keyClick(&main(), Qt::Key_F10);
    EXPECT_TRUE(mainChild<QMenu>("N1")->isVisible());
    mainChild<QMenu>("N1")->close();
    makeTemplate(QStringLiteral("1"));
    QTest::keyClick(field("Edit1"), Qt::Key_F9);
    EXPECT_EQ(feedback.texts(), QStringList{QStringLiteral("Все данные введены верно.")});
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
    EXPECT_TRUE(action("CopyItem")->isEnabled());
    action("N3062")->trigger();
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-15"));
    EXPECT_FALSE(visible("Panel1"));
    EXPECT_FALSE(action("CopyItem")->isEnabled()); // a table's commands need a table
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
    EXPECT_TRUE(feedback.questions.isEmpty());
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
    // A pasted tab is a blank, which shows.
    QGuiApplication::clipboard()->setText(QStringLiteral("\nТон1\t=\t700"));
    memo->paste();
    EXPECT_EQ(state.settings().lines().last(), QStringLiteral("Тон1 = 700"));
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

TEST_F(MainWindowTest, EveryRefusalIsMarkedWhileEditingAndF8VisitsThem)
{
    makeTemplate();
    auto* count = mainChild<QToolButton>("RefusalCount");
    auto* memo = mainChild<QPlainTextEdit>("Memo1");
    auto* grid = mainChild<ChannelGrid>("StringGrid1");
    ChannelTableModel* model = grid->channelModel();
    EXPECT_FALSE(count->isVisible());

    // Line 16 of the template's settings is the brightness.
    memo->setPlainText(
        memo->toPlainText().replace(QStringLiteral("Яркость диодов=1"), QStringLiteral("Яркость диодов=0")));
    const QModelIndex power = model->index(2, columnIndex(Column::PowerMin));
    const QModelIndex transmit = model->index(4, columnIndex(Column::TxFrequency));
    model->setData(power, QStringLiteral("4"));
    model->setData(transmit, QStringLiteral("145003"));
    EXPECT_TRUE(count->isVisible());
    EXPECT_EQ(count->text(), QStringLiteral("ошибок: 3"));
    EXPECT_EQ(power.data(Qt::ToolTipRole).toString(),
              QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень"));
    EXPECT_NE(transmit.data(ChannelTableModel::MarkKindsRole).toInt(), 0);
    EXPECT_EQ(model->index(0, 0).data(ChannelTableModel::MarkKindsRole).toInt(), 0);
    ASSERT_EQ(memo->extraSelections().size(), 1);
    EXPECT_EQ(memo->extraSelections().constFirst().cursor.blockNumber(), 16);
    EXPECT_EQ(main().planMarkers()->lineMessages(16), QStringLiteral("Уровень яркости изм. 1-5"));

    // F8 from outside the plan: the first mark, then on round the plan; Shift+F8 back.
    const auto place = [&] {
        return memo->hasFocus() ? QStringLiteral("line %1").arg(memo->textCursor().blockNumber())
                                : QStringLiteral("cell %1/%2")
                                      .arg(grid->currentIndex().row() + 1)
                                      .arg(grid->currentIndex().column());
    };
    field("Edit1")->setFocus();
    const QStringList visits{QStringLiteral("line 16"), QStringLiteral("cell 3/11"),
                             QStringLiteral("cell 5/2"), QStringLiteral("line 16")};
    for (const QString& expected : visits) {
        QTest::keyClick(&main(), Qt::Key_F8);
        EXPECT_EQ(place(), expected);
    }
    QTest::keyClick(&main(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(place(), QStringLiteral("cell 5/2"));
    QTest::mouseClick(count, Qt::LeftButton);
    EXPECT_EQ(place(), QStringLiteral("line 16"));
    // From a cell's open editor the next and previous marks are those of the edited cell.
    const auto pressInEditor = [&](const QModelIndex& cell, Qt::KeyboardModifiers modifiers) {
        grid->setCurrentIndex(cell);
        static_cast<QAbstractItemView*>(grid)->edit(cell); // through the grid's own delegate
        ASSERT_TRUE(grid->isEditing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8, modifiers);
        EXPECT_FALSE(grid->isEditing());
    };
    pressInEditor(power, Qt::NoModifier);
    EXPECT_EQ(place(), QStringLiteral("cell 5/2"));
    pressInEditor(transmit, Qt::ShiftModifier);
    EXPECT_EQ(place(), QStringLiteral("cell 3/11"));

    // A picture with the settings line in view and a cell's tool tip.
    const QRect cell = grid->visualRect(transmit);
    QHelpEvent help(QEvent::ToolTip, cell.center(), grid->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(grid->viewport(), &help);
    testing::saveScreenshot(main(), QStringLiteral("main-window-marks"), /*withPopups=*/true);

    // "Контроль" still names the first only; an undo takes its mark away.
    action("N19")->trigger();
    EXPECT_EQ(feedback.texts(), QStringList{QStringLiteral("Уровень яркости изм. 1-5")});
    action("UndoItem")->trigger();
    EXPECT_EQ(count->text(), QStringLiteral("ошибок: 2"));
    EXPECT_FALSE(transmit.data(Qt::ToolTipRole).isValid());
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

TEST(PlanFileDialogs, TheOpenDialogSaysWhatItIsFor)
{
    QString title;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&title] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            title = dialog->windowTitle();
            dialog->close();
        }
    });
    poll.start(20);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // Qt's own, which the test can close
    QWidget parent;
    QTemporaryDir config;
    UserChoices choices(config.filePath(u"choices.ini"_qs));
    StandardPlanFileDialogs(choices).askOpenPath(&parent);
    EXPECT_EQ(title, u"Чтение данных радиостанции с диска"_qs);
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

TEST_F(MainWindowTest, FileDialogsStartInTheFolderOfTheLastPlanWithNoNameTypedIn)
{
    // The platform's dialog: its folder and typed name, then `choose` chosen or the dialog cancelled.
    const auto shown = [](const std::function<void()>& ask, const QString& choose = {}) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = static_cast<QFileDialog*>(QApplication::activeModalWidget());
            seen = {QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(),
                    dialog->findChild<QLineEdit*>(u"fileNameEdit"_qs)->text()};
            dialog->selectFile(choose);
            choose.isEmpty() ? dialog->reject() : static_cast<QDialog*>(dialog)->accept();
        });
        ask();
        return seen;
    };
    StandardPlanFileDialogs standard(stores.choices);
    const auto open = [&] { standard.askOpenPath(&main()); };
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString first =
        QFileInfo(QFileInfo(documents).isDir() ? documents : QDir::homePath()).canonicalFilePath();
    QTemporaryDir plans(QDir::tempPath() + u"/планы-XXXXXX"_qs);
    const QString plan = plans.filePath(u"k17m_10.ini"_qs);
    ASSERT_TRUE(QFile::copy(QStringLiteral(YALMERA_SOURCE_DIR "/examples/k17m_10.ini"), plan));
    const QString folder = QFileInfo(plans.path()).canonicalFilePath();
    EXPECT_EQ(shown(open, plan), (QStringList{first, QString()}));
    EXPECT_EQ(shown(open), (QStringList{folder, QString()}));
    EXPECT_EQ(shown([&] { standard.askSavePath(&main()); }), (QStringList{folder, u"K17M_10.ini"_qs}));
    ASSERT_TRUE(plans.remove()); // a folder that is gone is not offered
    EXPECT_EQ(shown(open).value(0), first);
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

TEST_F(MainWindowTest, ExitWithoutAPlanClosesTheProgramWithoutAsking)
{
    QSignalSpy closed(&main(), &MainWindow::closed);
    action("N3062")->trigger(); // a band and a module chosen make no plan to save
    action("N15")->trigger();
    EXPECT_FALSE(mainChild("UnsavedMark")->isVisible());
    action("N23")->trigger();
    action("N25")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(windows.stationLinkWindow().isVisible());
    EXPECT_TRUE(feedback.messages.empty());
    EXPECT_TRUE(feedback.questions.isEmpty());
}

struct LeavingCase
{
    const char* name;
    std::function<void(MainWindowTest&)> leave;
};

TEST_F(MainWindowTest, EveryWayOfLeavingAnUnsavedPlanAsksAndCancelKeepsIt)
{
    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("saved.ini"));
    const QString csv = folder.filePath(QStringLiteral("saved.csv"));
    makeTemplate(QStringLiteral("2"));
    dialogs.savePaths.push_back(saved);
    action("N4")->trigger(); // the recent files now name it
    ASSERT_TRUE(files::writePlanCsv(csv, state.table()).isEmpty());
    makeTemplate(QStringLiteral("3")); // a saved plan goes without a question
    ASSERT_TRUE(feedback.questions.isEmpty());
    const PlanSnapshot unsaved = state.snapshot();
    JournalEntry read;
    read.time = QDateTime::currentDateTime();
    read.planFile = saved;
    windows.stationLinkWindow().setJournalPath(folder.filePath(QStringLiteral("journal.csv")));
    ASSERT_TRUE(files::appendJournal(windows.stationLinkWindow().journalPath(), read).isEmpty());

    const LeavingCase cases[] = {
        {"Выход", [](MainWindowTest& t) { t.action("N25")->trigger(); }},
        {"close button", [](MainWindowTest& t) { t.main().close(); }},
        {"Ok",
         [](MainWindowTest& t) { QTest::mouseClick(t.mainChild<QPushButton>("BitBtn1"), Qt::LeftButton); }},
        {"Чтение файла", [](MainWindowTest& t) { t.action("N5")->trigger(); }},
        {"recent file", [](MainWindowTest& t) { t.action("RecentPlan1")->trigger(); }},
        {"dropped file",
         [&saved](MainWindowTest& t) {
             QMimeData dropped;
             dropped.setUrls({QUrl::fromLocalFile(saved)});
             QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &dropped, Qt::LeftButton,
                                   Qt::NoModifier);
             QApplication::sendEvent(&t.main(), &enter);
             QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(&t.main(), &drop);
         }},
        {"CSV import", [](MainWindowTest& t) { t.action("ImportCsvItem")->trigger(); }},
        {"band change", [](MainWindowTest& t) { t.action("N3062")->trigger(); }},
        {"a plan the journal names",
         [](MainWindowTest& t) {
             t.action("JournalItem")->trigger();
             t.main().journalWindow()->findChild<QTableView*>(QStringLiteral("JournalTable"))->selectRow(0);
             t.main().journalWindow()->openCurrentPlan();
         }},
    };
    QSignalSpy closed(&main(), &MainWindow::closed);
    for (const LeavingCase& c : cases) {
        SCOPED_TRACE(c.name);
        feedback.clear();
        feedback.answers = {Answer::Cancel};
        c.leave(*this);
        EXPECT_EQ(feedback.questions, QStringList{QStringLiteral("Сохранить изменения?")});
        EXPECT_EQ(state.snapshot(), unsaved);
        EXPECT_TRUE(main().isVisible());
        EXPECT_TRUE(mainChild("UnsavedMark")->isVisible());
        EXPECT_TRUE(action("N3063")->isChecked());
    }
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(dialogs.openAsked, 0); // no dialog opened after "Отмена"

    // "Да" saves as "Сохранить" does (a plan without a file through the dialog), then goes on.
    const QString asked = folder.filePath(QStringLiteral("asked.ini"));
    feedback.answers = {Answer::Yes};
    dialogs.savePaths.push_back(asked);
    dialogs.openPaths.push_back(saved);
    action("N5")->trigger();
    EXPECT_EQ(files::readPlanFile(asked).contents->table.channelCount(), 3);
    EXPECT_EQ(state.table().channelCount(), 2);

    // "Нет" goes on without saving.
    main().tableModel()->setData(main().tableModel()->index(0, columnIndex(Column::RxFrequency)),
                                 QStringLiteral("145000"));
    feedback.answers = {Answer::No};
    action("N25")->trigger();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(files::readPlanFile(saved).contents->table.cell(Column::RxFrequency, 1),
              QStringLiteral("140000"));
}

TEST_F(MainWindowTest, ABandChangeGoesOnlyOnceTheUnsavedPlanIsSavedOrGivenUp)
{
    QTemporaryDir folder;
    const QString saved = folder.filePath(QStringLiteral("saved.ini"));
    // The answer, the path the file dialog gives (none: cancelled), whether the band changes.
    const std::tuple<const char*, Answer, std::optional<QString>, bool> cases[] = {
        {"Нет", Answer::No, std::nullopt, true},
        {"Да, no file chosen", Answer::Yes, std::nullopt, false},
        {"Да", Answer::Yes, saved, true},
    };
    for (const auto& [name, answer, savePath, bandChanges] : cases) {
        SCOPED_TRACE(name);
        action("N3063")->trigger();
        makeTemplate(QStringLiteral("3"));
        const PlanSnapshot before = state.snapshot();
        feedback.clear();
        feedback.answers = {answer};
        dialogs.savePaths = {savePath};
        action("N3062")->trigger();
        EXPECT_EQ(feedback.questions, QStringList{QStringLiteral("Сохранить изменения?")});
        EXPECT_EQ(state.stationType().band, bandChanges ? Band::Mhz30to60 : Band::Mhz144to174);
        EXPECT_EQ(action("N3062")->isChecked(), bandChanges);
        EXPECT_EQ(visible("StringGrid1"), !bandChanges);
        EXPECT_EQ(mainChild("UnsavedMark")->isVisible(), !bandChanges);
        if (!bandChanges) {
            EXPECT_EQ(state.snapshot(), before);
        }
    }
    // Saved before the change, with the old band.
    const std::optional<PlanFileContents> written = files::readPlanFile(saved).contents;
    EXPECT_TRUE(written && written->typeCode == 0 && written->table.channelCount() == 3);
}

TEST_F(MainWindowTest, SaveWritesBackToThePlansOwnFileAndTheMarkFollowsUndo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("p99.ini"));
    makeTemplate(QStringLiteral("3"));
    ASSERT_TRUE(files::writePlanFile(path, state.settings(), state.table(), 0, 0).isEmpty());
    dialogs.openPaths.push_back(path);
    action("N5")->trigger();
    auto* mark = mainChild<QLabel>("UnsavedMark");
    EXPECT_FALSE(mark->isVisible());

    ChannelTableModel* model = main().tableModel();
    model->setData(model->index(1, columnIndex(Column::RxFrequency)), QStringLiteral("145000"));
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(shown(mark->text()), QStringLiteral("изменён"));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Ялмера 4К-17"));
    testing::saveScreenshot(main(), QStringLiteral("main-window-unsaved"));
    action("UndoItem")->trigger(); // back to the plan of the file
    EXPECT_FALSE(mark->isVisible());
    action("RedoItem")->trigger();
    EXPECT_TRUE(mark->isVisible());

    QTest::keyClick(&main(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.saveAsked, 0);
    EXPECT_TRUE(feedback.messages.empty()) << feedback.texts().join(u'\n').toStdString();
    EXPECT_FALSE(mark->isVisible());
    EXPECT_EQ(files::readPlanFile(path).contents->table.cell(Column::RxFrequency, 2),
              QStringLiteral("145000"));
}

TEST_F(MainWindowTest, TheQuestionOffersYesNoAndCancel)
{
    // Escape closes either question without an answer, which is never "Нет".
    const std::pair<bool, QStringList> cases[] = {
        {true, {QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")}},
        {false, {QStringLiteral("Да"), QStringLiteral("Нет")}},
    };
    for (const auto& [cancellable, offered] : cases) {
        MessageBoxFeedback boxes;
        QStringList buttons;
        QTimer::singleShot(0, [&buttons, shot = cancellable] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            if (shot)
                testing::saveScreenshot(*box, QStringLiteral("question-save-changes"));
            for (QAbstractButton* button : box->buttons()) {
                if (button->isVisible())
                    buttons.append(button->text());
            }
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(boxes.ask(QStringLiteral("Сохранить изменения?"), cancellable, &main()), Answer::Cancel);
        buttons.sort();
        EXPECT_EQ(buttons, offered);
        EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), &main()); // the keys go there again
    }
}

#ifndef Q_OS_WIN // where the platform's own file dialog may stand in
TEST_F(MainWindowTest, TheFileDialogsQuestionsGiveTheFocusBackToTheWindow)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QFile(folder.filePath(QStringLiteral("old.ini"))).open(QIODevice::WriteOnly));
    // "Заменить?" of the dialog itself, then "Создать?" after it; each answered "Да".
    for (const QString& path : {folder.filePath(QStringLiteral("old.ini")), folder.filePath(u"new.ini"_qs)}) {
        QTimer::singleShot(0, [path] {
            QTimer::singleShot(0, [] {
                auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(question, nullptr);
                question->button(QMessageBox::Yes)->click();
            });
            ASSERT_NE(QApplication::activeModalWidget(), nullptr);
            auto* name = QApplication::activeModalWidget()->findChild<QLineEdit*>(u"fileNameEdit"_qs);
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        });
        EXPECT_EQ(StandardPlanFileDialogs(stores.choices).askSavePath(&main()), path);
        EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), &main());
    }
}
#endif

// The program the next test kills: it edits a plan read from a file and waits, its recovery copy
// kept, in the folder the next test names. Run only by that test.
TEST(KilledProgram, DISABLED_EditsAPlanAndWaits)
{
    const QString folder = qEnvironmentVariable("YALMERA_TEST_RECOVERY_FOLDER");
    ASSERT_FALSE(folder.isEmpty());
    AppState state;
    testing::RecordingFeedback feedback;
    testing::ScriptedPlanFileDialogs dialogs;
    const QTemporaryDir config;
    UserStores stores(config.path(), folder);
    ProgramWindows windows(state, feedback, dialogs, stores);
    windows.show();
    MainWindow& main = windows.mainWindow();
    main.unsavedPlan()->setIdleTime(std::chrono::milliseconds(20));
    dialogs.openPaths.push_back(folder + QStringLiteral("/план.ini"));
    main.findChild<QAction*>(QStringLiteral("N5"))->trigger();
    ASSERT_EQ(state.table().channelCount(), 3);
    main.findChild<QAction*>(QStringLiteral("N15"))->trigger();
    main.tableModel()->setData(main.tableModel()->index(1, columnIndex(Column::RxFrequency)),
                               QStringLiteral("145000"));
    main.tableModel()->setData(main.tableModel()->index(2, columnIndex(Column::IdTone)), Qt::Checked,
                               Qt::CheckStateRole);
    main.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->appendPlainText(QStringLiteral("Громкость=3"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !QDir(folder).entryList({QStringLiteral("*.json")}).isEmpty(); }));
    std::printf("recovery copy kept\n");
    std::fflush(stdout);
    QTest::qWait(30000); // killed long before
}

TEST_F(MainWindowTest, AKilledProgramsEditsAreOfferedAtTheNextStart)
{
    QTemporaryDir folder;
    const QString planPath = folder.filePath(QStringLiteral("план.ini"));
    makeTemplate(QStringLiteral("3"));
    ASSERT_TRUE(files::writePlanFile(planPath, state.settings(), state.table(), 0, 0).isEmpty());

    QProcess killed;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("YALMERA_TEST_RECOVERY_FOLDER"), folder.path());
    // Its temporary folders, which a killed program leaves, go with ours.
    for (const char* name : {"TMPDIR", "TEMP", "TMP"})
        environment.insert(QString::fromLatin1(name), folder.path());
    killed.setProcessEnvironment(environment);
    killed.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=KilledProgram.DISABLED_EditsAPlanAndWaits"),
                  QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            killed.waitForReadyRead(100);
            return killed.peek(1 << 16).contains("recovery copy kept") ||
                   killed.state() == QProcess::NotRunning;
        },
        30000));
    ASSERT_EQ(killed.state(), QProcess::Running) << killed.readAll().toStdString();
    // While it runs its copy is its own: another program finds nothing to offer.
    EXPECT_FALSE(files::RecoveryFolder(folder.path()).takeNewestLeftCopy());
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished(10000));

    // The next start, with the same folders.
    AppState next;
    UserStores nextStores(configFolder.path(), folder.path());
    ProgramWindows nextWindows(next, feedback, dialogs, nextStores);
    nextWindows.show();
    // A question closed without an answer leaves the copy, free for the next start to offer.
    feedback.answers = {Answer::Cancel, Answer::Yes};
    nextWindows.mainWindow().offerRecovery();
    EXPECT_TRUE(files::RecoveryFolder(folder.path()).takeNewestLeftCopy());
    nextWindows.mainWindow().offerRecovery();
    ASSERT_EQ(feedback.questions.size(), 2);
    EXPECT_TRUE(feedback.questions[0].contains(QDir::toNativeSeparators(planPath)))
        << feedback.questions[0].toStdString();
    EXPECT_EQ(next.table().cell(Column::RxFrequency, 2), QStringLiteral("145000"));
    EXPECT_EQ(next.table().flag(Column::IdTone, 3), true);
    EXPECT_EQ(next.settings().lines().constLast(), QStringLiteral("Громкость=3"));
    EXPECT_EQ(moduleCode(next.moduleType()), 3);
    EXPECT_EQ(next.planFile(), QFileInfo(planPath).absoluteFilePath());
    EXPECT_TRUE(nextWindows.mainWindow().findChild<QLabel*>(QStringLiteral("UnsavedMark"))->isVisible());
    EXPECT_TRUE(nextWindows.mainWindow().findChild<QWidget*>(QStringLiteral("StringGrid1"))->isVisible());
    EXPECT_TRUE(nextWindows.mainWindow().findChild<QAction*>(QStringLiteral("N15"))->isChecked());
    // Its own copy replaces the one it was offered: nothing is offered twice.
    EXPECT_FALSE(files::RecoveryFolder(folder.path()).takeNewestLeftCopy());
}

#ifndef Q_OS_WIN
// A logout, a shutdown or a closed terminal ends the program while it offers a plan back: nobody
// answered, so the copy is offered again at the next start, whole.
TEST_F(MainWindowTest, ACopyOfferedAsTheProgramIsEndedBySignalStaysForTheNextStart)
{
    makeTemplate(QString::number(MaxChannels));
    files::RecoveryPlan kept = UnsavedPlan::recoveryPlanOf(state);
    kept.kept = QDateTime::fromSecsSinceEpoch(kept.kept.toSecsSinceEpoch()); // a copy holds seconds
    const std::pair<int, int> endings[] = {{SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& [number, exitCode] : endings) {
        SCOPED_TRACE(exitCode);
        QTemporaryDir data;
        const QString folder = data.filePath(QStringLiteral("recovery")); // beside the journal
        ASSERT_EQ(files::RecoveryFolder(folder).keep(kept), QString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("YALMERA_JOURNAL"), data.filePath(QStringLiteral("journal.csv")));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(YALMERA_GUI), {});
        // The copy is claimed just before its question is shown.
        const auto claimed = [&] { return !QDir(folder).entryList({QStringLiteral("*.lock")}).isEmpty(); };
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return claimed() || program.state() == QProcess::NotRunning; }, 30000));
        ASSERT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(program.processId()), number);
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), exitCode) << program.readAllStandardError().toStdString();
        const std::optional<files::RecoveryFolder::LeftCopy> left =
            files::RecoveryFolder(folder).takeNewestLeftCopy();
        ASSERT_TRUE(left);
        EXPECT_EQ(left->plan, kept);
    }
}
#endif

TEST_F(MainWindowTest, RoomyWindowGrowsOnlyWhenChosenAndIsRemembered)
{
    makeTemplate(QStringLiteral("50"));
    const QSize fixed = main().size();
    action("RoomyWindowItem")->trigger();
    EXPECT_TRUE(main().windowFlags() & Qt::WindowMaximizeButtonHint);
    main().resize(1280, 1024);
    EXPECT_EVENTUALLY_EQ(main().size(), QSize(1280, 1024));
    // The table takes the height and its columns the width; the row above keeps its height.
    const ChannelGrid* grid = main().grid();
    EXPECT_GE(grid->viewport()->height() / ChannelGrid::RowHeight, 40);
    EXPECT_EQ(mainChild("Memo1")->height(), 145);
    EXPECT_GT(mainChild("Memo1")->width(), 280 + 400);
    EXPECT_EQ(grid->geometry().right() + 5, main().centralWidget()->width() - 1);
    const QHeaderView* columns = grid->horizontalHeader();
    EXPECT_LE(columns->length(), grid->viewport()->width());
    EXPECT_GT(columns->length(), grid->viewport()->width() - 20);
    EXPECT_GT(columns->sectionSize(columnIndex(Column::Scan)),
              ChannelGrid::designedWidth(columnIndex(Column::Scan)));
    testing::saveScreenshot(main(), QStringLiteral("main-window-roomy-1280x1024"));
    main().resize(400, 300);
    EXPECT_EVENTUALLY_EQ(main().size(), fixed); // never below the fixed size

    // The next start is roomy too, at the size and place the window was left, always on the
    // screen, until the choice is turned off.
    const QRect screen = main().screen()->availableGeometry();
    const QSize size = screen.size() - QSize(2, 40);
    std::list<AppState> nextStates;
    std::list<ProgramWindows> nextStarts;
    MainWindow* window = &main();
    for (const QPoint& leftAt : {screen.topLeft() + QPoint(1, 20), screen.bottomRight() + QPoint(500, 500)}) {
        window->setGeometry({leftAt, size});
        window->close();
        ProgramWindows& next = nextStarts.emplace_back(nextStates.emplace_back(), feedback, dialogs, stores);
        next.show();
        window = &next.mainWindow();
        EXPECT_EQ(window->size(), size);
        EXPECT_TRUE(screen.contains(window->geometry()));
        EXPECT_TRUE(!screen.contains(QRect(leftAt, size)) || window->geometry().topLeft() == leftAt);
    }
    window->findChild<QAction*>(QStringLiteral("RoomyWindowItem"))->trigger();
    EXPECT_EQ(window->centralWidget()->size(), QSize(797, 397));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->grid()->geometry(), QRect(5, 155, 787, 235));
    EXPECT_FALSE(UserChoices(configFolder.filePath(QStringLiteral("choices.ini"))).roomyWindow());
}

TEST_F(MainWindowTest, GuideAndJournalOpenByTheMainWindowAndWhereTheyWereLeft)
{
    const QRect screen = main().screen()->availableGeometry();
    const std::pair<const char*, std::function<QWidget*(MainWindow&)>> windowsOfTheirOwn[] = {
        {"GuideItem", [](MainWindow& window) -> QWidget* { return window.guideWindow(); }},
        {"JournalItem", [](MainWindow& window) -> QWidget* { return window.journalWindow(); }},
    };
    std::list<AppState> nextStates;
    for (const auto& [item, windowOf] : windowsOfTheirOwn) {
        SCOPED_TRACE(item);
        action(item)->trigger();
        QWidget* window = windowOf(main());
        ASSERT_TRUE(window && window->isVisible());
        // Beside the main window or centred over it, on the screen (a screen narrower than the
        // window's contents, as Wine's virtual one, cannot hold it).
        const QRect frame = window->frameGeometry();
        if (screen.width() >= frame.width() && screen.height() >= frame.height()) {
            EXPECT_TRUE(screen.contains(window->geometry()));
            EXPECT_TRUE(!frame.intersects(main().frameGeometry()) ||
                        (frame.center() - main().frameGeometry().center()).manhattanLength() <= 2);
        }
        // Where the user left it, it opens at the next start.
        const QRect left(screen.topLeft() + QPoint(30, 40),
                         QSize(740, 450).expandedTo(window->minimumSizeHint())); // no smaller than it can be
        window->setGeometry(left);
        window->close();
        ProgramWindows next(nextStates.emplace_back(), feedback, dialogs, stores);
        next.mainWindow().findChild<QAction*>(QString::fromLatin1(item))->trigger();
        EXPECT_EQ(windowOf(next.mainWindow())->geometry(), left);
    }
}

// Takes the URLs the program asks the system to open, instead of a file manager.
class OpenedUrls : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl& url) { urls.append(url); }

public:
    QList<QUrl> urls;
};

TEST_F(MainWindowTest, HelpShowsTheGuideTheJournalFolderAndTheProgramsRecords)
{
    QTest::keyClick(&main(), Qt::Key_F1);
    GuideWindow* guide = main().guideWindow();
    ASSERT_NE(guide, nullptr) << feedback.texts().join(u'\n').toStdString();
    EXPECT_TRUE(guide->isVisible());
    const QString text = guide->browser()->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Программатор Ялмера: руководство пользователя")));
    EXPECT_FALSE(text.contains(QStringLiteral("## "))); // shown, not as Markdown source
    // Its pictures, named relative to the guide, are found beside it.
    EXPECT_FALSE(guide->browser()
                     ->loadResource(QTextDocument::ImageResource, QUrl(u"screenshots/main-window.png"_qs))
                     .isNull());

    OpenedUrls opened;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    action("JournalItem")->trigger();
    ASSERT_TRUE(main().journalWindow()->isVisible());
    QTest::mouseClick(main().journalWindow()->findChild<QPushButton*>(QStringLiteral("OpenFolderButton")),
                      Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    const QString journal = windows.stationLinkWindow().journalPath();
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(journal).absolutePath())});

    action("AboutItem")->trigger();
    ASSERT_EQ(feedback.messages.size(), 1u);
    const QString about = feedback.messages[0].text;
    for (const QString& part :
         {QString::fromLatin1(ProgramVersion), QString::fromLatin1(qVersion()), QStringLiteral("GNU GPL"),
          QDir::toNativeSeparators(journal), QDir::toNativeSeparators(recoveryFolder.path())})
        EXPECT_TRUE(about.contains(part)) << part.toStdString();
}

TEST_F(MainWindowTest, AKeyboardAloneMakesAPlanWritesItIntoAStationAndMakesItsProtocol)
{
    test::StationProcess station;
    QTemporaryDir protocols;
    windows.protocolWindow().setOutputFolder(protocols.path());
    OpenedUrls opened;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
    const auto menuItem = [](char16_t menu, char16_t item) {
        press(Qt::Key(QChar(menu).toUpper().unicode()), Qt::AltModifier, QString(QChar(menu)));
        press(Qt::Key(QChar(item).toUpper().unicode()), Qt::NoModifier, QString(QChar(item)));
    };
    StationLinkWindow& link = windows.stationLinkWindow();
    ProtocolWindow& protocol = windows.protocolWindow();
    auto* memo = mainChild("Memo1");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));

    press(Qt::Key_N, Qt::ControlModifier);
    press(Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    tabTo(mainChild("BitBtn1"), Qt::Key_Return);
    // Into the settings, where a stray key breaks the section line, and on into the table with
    // and without the errors; Ctrl+Tab leaves the settings and the table at once.
    tabTo(memo);
    press(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_TRUE(mainChild("RefusalCount")->isVisible());
    press(Qt::Key_Tab);
    EXPECT_TRUE(main().grid()->hasFocus());
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Backspace);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(main().grid()->hasFocus());
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), mainChild("Edit1"));
    press(Qt::Key_F9);
    EXPECT_EQ(feedback.texts(), QStringList{QStringLiteral("Все данные введены верно.")});

    // "Станция" → "Запись/Чтение данных": the port typed, "Запись данных ", "Выход".
    menuItem(u'т', u'з');
    EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), &link);
    tabTo(link.findChild<QWidget*>(QStringLiteral("ComboBox1")));
    QTest::keyClicks(QApplication::focusWidget(), station.path());
    QSignalSpy written(link.writeExchange(), &WriteExchange::finished);
    tabTo(link.findChild<QWidget*>(QStringLiteral("BitBtn2")), Qt::Key_Return);
    ASSERT_TRUE(written.wait(20000));
    EXPECT_EQ(feedback.texts().size(), 1) << feedback.texts().join(u'\n').toStdString();
    tabTo(link.findChild<QWidget*>(QStringLiteral("BitBtn1")), Qt::Key_Return);
    EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), &main());

    // "Станция" → "Создать протокол": "Создать" opens the document; "Выход".
    menuItem(u'т', u'п');
    EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), &protocol);
    tabTo(protocol.findChild<QWidget*>(QStringLiteral("BitBtn1")), Qt::Key_Return);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(protocol.lastSavedPath())});
    tabTo(protocol.findChild<QWidget*>(QStringLiteral("BitBtn2")), Qt::Key_Return);
    EXPECT_EVENTUALLY_EQ(QApplication::activeWindow(), &main());
    EXPECT_EQ(QApplication::focusWidget(), mainChild("Edit1"));
}

} // namespace
} // namespace yalmera::ui

#include "main_window_test.moc"
