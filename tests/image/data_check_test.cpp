#include "plan_fixture.h"

#include "common/image_printers.h"

#include "session/app_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>

using namespace yalmera;

namespace {

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

const QString Passed = s(u"Все данные введены верно.");

const ChannelRecord& record(const AppState& state, int row)
{
    return state.image().records[static_cast<std::size_t>(row - 1)];
}

struct MessageCase
{
    const char* name;
    std::function<void(AppState&)> edit;
    QString text;
    MessageKind kind = MessageKind::Notice;
    Sound sound = Sound::None;
};

void expectMessage(const MessageCase& c, AppState state)
{
    state.acceptCheck(state.image(), state.settingsDigitCount()); // a check clears it before anything else
    c.edit(state);
    const AppState before = state;
    expectRefusalMarked(state, c.name);
    const CheckResult result = runDataCheck(state);
    EXPECT_FALSE(result.passed) << c.name;
    EXPECT_EQ(result.message.text, c.text) << c.name;
    EXPECT_EQ(result.message.kind, c.kind) << c.name;
    EXPECT_EQ(result.message.sound, c.sound) << c.name;
    EXPECT_FALSE(state.dataChecked()) << c.name;
    EXPECT_EQ(state.table(), before.table()) << c.name;
    EXPECT_EQ(state.settings(), before.settings()) << c.name;
}

std::function<void(AppState&)> setting(const char16_t* key, const char16_t* value)
{
    return [key, value](AppState& st) { setSetting(st, s(key), value ? s(value) : QString()); };
}

std::function<void(AppState&)> cellAt(Column column, int row, const char16_t* text)
{
    return [column, row, text](AppState& st) { st.editTable().setCell(column, row, s(text)); };
}

} // namespace

TEST(DataCheck, TheProgramsOwnTemplateGivesTheSameStream)
{
    AppState state;
    TemplateFields fields;
    fields.count = QStringLiteral("1");
    fields.startKHz = QStringLiteral("140000");
    ASSERT_TRUE(state.createTemplate(fields).isEmpty());
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_EQ(state.settingsDigitCount(), 43);
    AppState handMade = templateState(1);
    ASSERT_TRUE(runDataCheck(handMade).passed);
    EXPECT_EQ(state.image().writeStream(0, 0), handMade.image().writeStream(0, 0));
    EXPECT_EQ(state.image().writeStream(0, 0).size(), 44);
}

TEST(DataCheck, EverySettingsMessage)
{
    const QString tone3 = s(u"Ошибка в Тон3 диапазон от 700Гц до 2550Гц");
    const MessageCase cases[] = {
        {"brightness 0", setting(u"Яркость диодов", u"0"), s(u"Уровень яркости изм. 1-5")},
        {"brightness 6", setting(u"Яркость диодов", u"6"), s(u"Уровень яркости изм. 1-5")},
        {"brightness missing", setting(u"Яркость диодов", nullptr), s(u"Уровень яркости изм. 1-5")},
        {"brightness negative", setting(u"Яркость диодов", u"-1"), s(u"Уровень яркости изм. 1-5")},
        {"brightness no number", setting(u"Яркость диодов", u"1,0"), s(u"Уровень яркости изм. 1-5")},
        {"no section line", [](AppState& st) { st.editSettings().setLines(st.settings().lines().mid(1)); },
         s(u"Уровень яркости изм. 1-5")},
        {"volume 0", setting(u"Громкость", u"0"), s(u"Уровень громкости изм. 1-16")},
        {"volume 17", setting(u"Громкость", u"17"), s(u"Уровень громкости изм. 1-16")},
        {"volume overflowing", setting(u"Громкость", u"99999999999"), s(u"Уровень громкости изм. 1-16")},
        {"volume -4294967295", setting(u"Громкость", u"-4294967295"), s(u"Уровень громкости изм. 1-16")},
        {"key beep", setting(u"Пик_кнопок", u"1"), s(u"Вводить в поле \"Пик_кнопок\" можно только + или -")},
        {"special channel 7 of 5", setting(u"СК", u"7"),
         s(u"Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала")},
        {"special channel missing", setting(u"СК", nullptr),
         s(u"Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала")},
        {"special channel search meets no number", cellAt(Column::ChannelNumber, 1, u"x1"),
         s(u"'x1' is not a valid integer value"), MessageKind::Failure},
        {"ФВ one digit", setting(u"ФВ", u"0"), s(u"Код поля \"ФВ\" должен быть двузначным")},
        {"ФВ missing", setting(u"ФВ", nullptr), s(u"Код поля \"ФВ\" должен быть двузначным")},
        {"ФВ 30", setting(u"ФВ", u"30"), s(u"В поле \"ФВ\" введен неправильный код")},
        {"ФВ 03", setting(u"ФВ", u"03"), s(u"В поле \"ФВ\" введен неправильный код")},
        {"ФВ letter", setting(u"ФВ", u"0x"), s(u"'x' is not a valid integer value"), MessageKind::Failure},
        {"ФВ sign", setting(u"ФВ", u"+1"), s(u"'+' is not a valid integer value"), MessageKind::Failure},
        {"min volume 9", setting(u"МинГромкость", u"9"),
         s(u"Минимальный уровень громкости изменякться от 0 до 8")},
        {"min volume -1", setting(u"МинГромкость", u"-1"),
         s(u"Минимальный уровень громкости изменякться от 0 до 8")},
        {"min volume missing", setting(u"МинГромкость", nullptr),
         s(u"Минимальный уровень громкости изменякться от 0 до 8")},
        {"min volume above volume",
         [](AppState& st) {
             setSetting(st, s(u"Громкость"), s(u"5"));
             setSetting(st, s(u"МинГромкость"), s(u"6"));
         },
         s(u"Громкость не д.б. меньше минимального уровня громкости")},
        {"DCS switch", setting(u"Код_DCS", u"++"), s(u"Вводить в поле \"Код_DCS\" можно только + или -")},
        {"scan function missing", setting(u"Ф_Скан", nullptr),
         s(u"Вы не заполнили поле \"Ф_Скан\" или ввели не тот символ. Вводимые символы  + или -")},
        {"V function empty", setting(u"Ф_V", u""),
         s(u"Вы не заполнили поле \"Ф_V\" или ввели не тот символ. Вводимые символы  + или -")},
        {"module switch", setting(u"ВУ", u"да"),
         s(u"Вы не заполнили поле \"ВУ\" или ввели не тот символ. Вводимые символы  + или -")},
        {"tone 3 at 2551", setting(u"Тон3", u"2551"), tone3},
        {"tone 1 missing", setting(u"Тон1", nullptr), s(u"Ошибка в Тон1 диапазон от 700Гц до 2550Гц")},
        {"tone 1 negative", setting(u"Тон1", u"-5"), s(u"Ошибка в Тон1 диапазон от 700Гц до 2550Гц")},
        {"tone 10 at 699", setting(u"Тон10", u"699"), s(u"Ошибка в Тон10 диапазон от 700Гц до 2550Гц")},
        {"Id three symbols", setting(u"Id_номер", u"001"),
         s(u"Id_Tон должен быть четырехзначным. Например: 0001")},
        {"Id missing", setting(u"Id_номер", nullptr),
         s(u"Id_Tон должен быть четырехзначным. Например: 0001")},
    };
    const AppState plan = templateState(5);
    for (const MessageCase& c : cases)
        expectMessage(c, plan);
}

TEST(DataCheck, SettingsValuesThatPass)
{
    struct PassCase
    {
        const char* name;
        std::function<void(AppState&)> edit;
        std::function<void(const AppState&)> expect;
    };
    const PassCase cases[] = {
        {"ФВ 40", setting(u"ФВ", u"40"), [](const AppState& st) { EXPECT_EQ(st.image().fvCode, 0x40); }},
        {"ФВ 22", setting(u"ФВ", u"22"), [](const AppState& st) { EXPECT_EQ(st.image().fvCode, 0x22); }},
        {"tone 3 at 2550", setting(u"Тон3", u"2550"),
         [](const AppState& st) { EXPECT_EQ(st.image().toneCodes[2], 255); }},
        {"tone ties to even", setting(u"Тон4", u"1015"),
         [](const AppState& st) { EXPECT_EQ(st.image().toneCodes[3], 102); }},
        {"min volume equal to volume",
         [](AppState& st) {
             setSetting(st, s(u"Громкость"), s(u"5"));
             setSetting(st, s(u"МинГромкость"), s(u"5"));
         },
         [](const AppState& st) {
             EXPECT_EQ(st.image().volume, 5);
             EXPECT_EQ(st.image().minVolume, 5);
         }},
        {"switches may be missing",
         [](AppState& st) {
             setSetting(st, s(u"Пик_кнопок"), QString());
             setSetting(st, s(u"Код_DCS"), QString());
         },
         [](const AppState& st) {
             EXPECT_EQ(st.image().keyBeep, 200);
             EXPECT_EQ(st.image().dcsPolarity, 200);
         }},
        {"switches off",
         [](AppState& st) {
             for (const char16_t* key : {u"Пик_кнопок", u"Код_DCS", u"Ф_Скан", u"Ф_V"})
                 setSetting(st, s(key), s(u"-"));
             setSetting(st, s(u"ВУ"), s(u"+"));
         },
         [](const AppState& st) {
             EXPECT_EQ(st.image().keyBeep, 100);
             EXPECT_EQ(st.image().dcsPolarity, 100);
             EXPECT_EQ(st.image().functionFlags, 0x10);
         }},
        {"brightness hexadecimal, keys in any case, blanks around",
         [](AppState& st) {
             setSetting(st, s(u"Яркость диодов"), QString());
             st.editSettings().appendLine(s(u"  ЯРКОСТЬ ДИОДОВ = $5 "));
         },
         [](const AppState& st) { EXPECT_EQ(st.image().brightnessCode, 21); }},
        {"first of two equal keys counts",
         [](AppState& st) {
             setSetting(st, s(u"Громкость"), s(u"16"));
             st.editSettings().appendLine(s(u"Громкость=99"));
         },
         [](const AppState& st) { EXPECT_EQ(st.image().volume, 16); }},
        {"Id symbols", setting(u"Id_номер", u"1a#*"),
         [](const AppState& st) { EXPECT_EQ(st.image().idCode, 0x1AEF); }},
        {"special channel 257 is channel 1", setting(u"СК", u"257"),
         [](const AppState& st) { EXPECT_EQ(st.image().specialChannelIndex, 0); }},
        {"special channel 7 in row 3",
         [](AppState& st) {
             st.editTable().setCell(Column::ChannelNumber, 3, s(u"7"));
             setSetting(st, s(u"СК"), s(u"7"));
         },
         [](const AppState& st) { EXPECT_EQ(st.image().specialChannelIndex, 2); }},
        {"serial number and unknown keys are carried, not read",
         [](AppState& st) {
             st.editSettings().appendLine(s(u"Серийный номер=ZZ"));
             st.editSettings().appendLine(s(u"Прочее=?"));
         },
         [](const AppState&) {}},
    };
    for (const PassCase& c : cases) {
        AppState state = templateState(5);
        c.edit(state);
        const CheckResult result = runDataCheck(state);
        EXPECT_TRUE(result.passed) << c.name << ": " << result.message.text.toStdString();
        EXPECT_TRUE(state.dataChecked()) << c.name;
        c.expect(state);
    }
}

TEST(DataCheck, SettingsDigitCount)
{
    AppState state = templateState(12);
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_EQ(state.settingsDigitCount(), 43);

    // Volume 16 and the special channel in row 12 add a digit each; every tone from 1000 Hz has 4.
    setSetting(state, s(u"Громкость"), s(u"16"));
    setSetting(state, s(u"СК"), s(u"12"));
    for (int n = 1; n <= 10; ++n)
        setSetting(state, QStringLiteral("Тон%1").arg(n), QStringLiteral("2000"));
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_EQ(state.settingsDigitCount(), 47);

    // A stopped check leaves the count of what it had accepted; the next run starts from 0.
    setSetting(state, s(u"Тон2"), s(u"1"));
    EXPECT_FALSE(runDataCheck(state).passed);
    EXPECT_EQ(state.settingsDigitCount(), 2 + 2 + 2 + 1 + 4);
}

TEST(DataCheck, EveryRowMessage)
{
    const QString offGrid = s(u"Частота должна быть кратна 6,25кГц");
    const MessageCase cases[] = {
        {"channel number of three characters", cellAt(Column::ChannelNumber, 4, u"100"),
         s(u"В строчке №4 введен неправильный номер канала")},
        {"empty channel number", cellAt(Column::ChannelNumber, 3, u""),
         s(u"В строчке №3 введен неправильный номер канала")},
        {"channel number no integer", cellAt(Column::ChannelNumber, 2, u"2a"),
         s(u"'2a' is not a valid integer value"), MessageKind::Failure},
        {"empty receive frequency",
         [](AppState& st) {
             st.editTable().setCell(Column::ChannelNumber, 2, s(u"5"));
             st.editTable().setCell(Column::ChannelNumber, 5, s(u"2"));
             st.editTable().setCell(Column::RxFrequency, 2, QString());
         },
         s(u"В канале №5 не введена частота приема")},
        {"empty transmit frequency", cellAt(Column::TxFrequency, 3, u""),
         s(u"В канале №3 не введена частота передачи")},
        {"transmit off the grid beeps", cellAt(Column::TxFrequency, 1, u"145003"), offGrid,
         MessageKind::Notice, Sound::ErrorBeep},
        {"receive off the grid is silent", cellAt(Column::RxFrequency, 1, u"145003"), offGrid},
        {"frequency no number", cellAt(Column::RxFrequency, 1, u"145.000"),
         s(u"'145.000' is not a valid floating point value"), MessageKind::Failure},
        {"frequency with two commas", cellAt(Column::TxFrequency, 1, u"145,0,0"),
         s(u"'145,0,0' is not a valid floating point value"), MessageKind::Failure},
        {"power min 4", cellAt(Column::PowerMin, 5, u"4"),
         s(u"Не желательно использовать в минимальной мощности 4 уровень")},
        {"power max 1", cellAt(Column::PowerMax, 5, u"1"),
         s(u"Не желательно использовать в максимальной мощности 1 уровень")},
        {"squelch no integer", cellAt(Column::Squelch, 1, u""), s(u"'' is not a valid integer value"),
         MessageKind::Failure},
        {"tone number no integer", cellAt(Column::ToneTx, 1, u"Да"), s(u"'Да' is not a valid integer value"),
         MessageKind::Failure},
        {"time no integer", cellAt(Column::Time, 1, u"5с"), s(u"'5с' is not a valid integer value"),
         MessageKind::Failure},
        {"power max no integer", cellAt(Column::PowerMax, 1, u"max"),
         s(u"'max' is not a valid integer value"), MessageKind::Failure},
        {"CTCSS text in no list", cellAt(Column::CtcssRx, 2, u"67.0"),
         s(u"В строчке №2 в столбце \"CTC_Rx\" значение \"67.0\" не из списка")},
        {"DCS text in no list", cellAt(Column::DcsTx, 3, u"23"),
         s(u"В строчке №3 в столбце \"DCS_Tx\" значение \"23\" не из списка")},
        {"unknown CTCSS text beside a DCS code",
         [](AppState& st) {
             st.editTable().setCell(Column::DcsRx, 1, s(u"023"));
             st.editTable().setCell(Column::CtcssTx, 1, QString());
         },
         s(u"В строчке №1 в столбце \"CTC_Tx\" значение \"\" не из списка")},
        {"rows without flags after a band change", [](AppState& st) { st.editTable().removeFlags(); },
         s(u"В строчке №1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\". Создайте шаблон или прочитайте файл "
           u"заново")},
    };
    const AppState plan = templateState(5);
    for (const MessageCase& c : cases)
        expectMessage(c, plan);
}

TEST(DataCheck, MarksEveryRefusalAtItsPlace)
{
    // Lines of the template's block: 0 the section, 1 "Id_номер", 2.. "Тон1".., 16 "Яркость диодов",
    // 17 "Громкость", 18 "МинГромкость", 25 "СК".
    const QString special = s(u"Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала");
    struct MarkCase
    {
        const char* name;
        int rows;
        std::function<void(AppState&)> edit;
        PlanMarks marks;
    };
    const MarkCase cases[] = {
        {"settings and cells, several in a row, in the order the check meets them",
         5,
         [](AppState& st) {
             setSetting(st, s(u"Яркость диодов"), s(u"0"));
             setSetting(st, s(u"Тон3"), s(u"1"));
             setSetting(st, s(u"Id_номер"), s(u"001"));
             st.editTable().setCell(Column::TxFrequency, 2, s(u"141003"));
             st.editTable().setCell(Column::PowerMin, 2, s(u"4"));
             st.editTable().setCell(Column::CtcssRx, 4, s(u"x"));
         },
         {PlanMark::line(16, s(u"Уровень яркости изм. 1-5")),
          PlanMark::line(4, s(u"Ошибка в Тон3 диапазон от 700Гц до 2550Гц")),
          PlanMark::line(1, s(u"Id_Tон должен быть четырехзначным. Например: 0001")),
          PlanMark::cell(2, Column::TxFrequency, s(u"Частота должна быть кратна 6,25кГц")),
          PlanMark::cell(2, Column::PowerMin,
                         s(u"Не желательно использовать в минимальной мощности 4 уровень")),
          PlanMark::cell(4, Column::CtcssRx,
                         s(u"В строчке №4 в столбце \"CTC_Rx\" значение \"x\" не из списка"))}},
        {"a missing key at the section line, no compare with a refused value",
         5,
         [](AppState& st) {
             setSetting(st, s(u"Тон1"), QString());
             setSetting(st, s(u"Громкость"), s(u"0"));
             setSetting(st, s(u"МинГромкость"), s(u"5"));
         },
         {PlanMark::line(16, s(u"Уровень громкости изм. 1-16")),
          PlanMark::line(0, s(u"Ошибка в Тон1 диапазон от 700Гц до 2550Гц"))}},
        {"a channel number the special-channel search cannot read is marked once",
         3,
         [](AppState& st) {
             st.editTable().setCell(Column::ChannelNumber, 1, s(u"x1"));
             st.editTable().setCell(Column::RxFrequency, 1, QString());
         },
         {PlanMark::cell(1, Column::ChannelNumber, s(u"'x1' is not a valid integer value")),
          PlanMark::line(25, special),
          PlanMark::cell(1, Column::RxFrequency, s(u"В канале №x1 не введена частота приема"))}},
        {"rows beyond the records at the first of them",
         100,
         [](AppState&) {},
         {PlanMark::cell(
              100, Column::ChannelNumber,
              s(u"В таблице больше 99 каналов. В радиостанцию можно записать не более 99 каналов")),
          PlanMark::cell(100, Column::ChannelNumber, s(u"В строчке №100 введен неправильный номер канала"))}},
    };
    for (const MarkCase& c : cases) {
        AppState state = templateState(c.rows, 140000, 0);
        c.edit(state);
        EXPECT_EQ(markRefusals(state.settings(), state.table(), state.stationType()), c.marks) << c.name;
    }
}

TEST(DataCheck, ZeroRowsNeverPass)
{
    AppState state = templateState(0);
    const CheckResult result = runDataCheck(state);
    EXPECT_FALSE(result.passed);
    EXPECT_EQ(result.message.text,
              s(u"Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала"));
}

TEST(DataCheck, ChannelCodes)
{
    struct CodeCase
    {
        const char* name;
        const char16_t* ctcRx;
        const char16_t* ctcTx;
        const char16_t* dcsRx;
        const char16_t* dcsTx;
        const char16_t* polarity;
        int rxCode;
        int txCode;
        bool ctcssMode;
    };
    const CodeCase cases[] = {
        {"DCS plain", u"Нет", u"Нет", u"023", u"Нет", u"-", 1, 200, false},
        {"DCS inverse twin", u"Нет", u"Нет", u"023", u"Нет", u"+", 8, 200, false},
        {"DCS transmit only, twin both ways", u"Нет", u"Нет", u"Нет", u"047", u"+", 200, 1, false},
        {"DCS beats CTCSS", u"67,0", u"67,0", u"Нет", u"754", u"-", 200, 84, false},
        {"CTCSS first position of a repeated value", u"67,0", u"Нет", u"Нет", u"Нет", u"+", 1, 200, true},
        {"CTCSS ends of the list", u"250,3", u"254,1", u"Нет", u"Нет", u"+", 33, 55, true},
        {"CTCSS values only in the second part", u"74,4", u"69,4", u"Нет", u"Нет", u"-", 36, 44, true},
        {"none at all", u"Нет", u"Нет", u"Нет", u"Нет", u"+", 200, 200, true},
    };
    for (const CodeCase& c : cases) {
        AppState state = templateState(1);
        state.editTable().setCell(Column::CtcssRx, 1, s(c.ctcRx));
        state.editTable().setCell(Column::CtcssTx, 1, s(c.ctcTx));
        state.editTable().setCell(Column::DcsRx, 1, s(c.dcsRx));
        state.editTable().setCell(Column::DcsTx, 1, s(c.dcsTx));
        setSetting(state, s(u"Код_DCS"), s(c.polarity));
        ASSERT_TRUE(runDataCheck(state).passed) << c.name;
        EXPECT_EQ(record(state, 1).value(RecordField::RxCode), c.rxCode) << c.name;
        EXPECT_EQ(record(state, 1).value(RecordField::TxCode), c.txCode) << c.name;
        EXPECT_EQ((record(state, 1).channelFlags() & ChannelFlagBits::CtcssMode) != 0, c.ctcssMode) << c.name;
    }
}

TEST(DataCheck, ChannelFlagsAndExtraFlags)
{
    AppState state = templateState(4);
    // Row 1: template defaults. Row 2: narrow, identification tone, no scan, tones 3 and 10, RSSI.
    state.editTable().setCell(Column::Width, 2, s(u"12,5"));
    state.editTable().setFlag(Column::IdTone, 2, true);
    state.editTable().setFlag(Column::Scan, 2, false);
    state.editTable().setCell(Column::ToneRx, 2, s(u"3"));
    state.editTable().setCell(Column::ToneTx, 2, s(u"10"));
    state.editTable().setCell(Column::TxOff, 2, s(u"RSSI"));
    // Row 3: receive-only repeater mark, inactive, transmit off "OFF", time 5.
    state.editTable().setCell(Column::RxFrequency, 3, s(u"РЕТР_ПП"));
    state.editTable().setFlag(Column::Active, 3, false);
    state.editTable().setCell(Column::TxOff, 3, s(u"OFF"));
    state.editTable().setCell(Column::Time, 3, s(u"5"));
    // Row 4: both marks.
    state.editTable().setCell(Column::RxFrequency, 4, s(u"РЕТР_ПП"));
    state.editTable().setCell(Column::TxFrequency, 4, s(u"РЕТР_ПР"));
    ASSERT_TRUE(runDataCheck(state).passed);

    EXPECT_EQ(record(state, 1).channelFlags(), 0xBE);
    EXPECT_EQ(record(state, 1).extraFlags(), 0xFF);

    const ChannelRecord& narrow = record(state, 2);
    EXPECT_EQ(narrow.channelFlags(), 0x40 | 0x08 | 0x04);
    EXPECT_EQ(narrow.value(RecordField::RxToneNumber), 3);
    EXPECT_EQ(narrow.value(RecordField::TxToneNumber), 10);
    EXPECT_EQ(narrow.extraFlags(), 0xFE);

    const ChannelRecord& marked = record(state, 3);
    EXPECT_EQ(marked.rxFrequencyWord(), (FrequencyWord{0, 0, 0}));
    EXPECT_EQ(marked.txFrequencyWord(), (FrequencyWord{0x11, 0x63, 0x01})); // 142000 kHz
    EXPECT_EQ(marked.extraFlags(), 0xD3);
    EXPECT_EQ(marked.value(RecordField::TimerValue), 5);
    EXPECT_EQ(marked.channelFlags(), 0xBE & ~0x04);

    const ChannelRecord& both = record(state, 4);
    EXPECT_EQ(both.rxFrequencyWord(), (FrequencyWord{0, 0, 0}));
    EXPECT_EQ(both.txFrequencyWord(), (FrequencyWord{0, 0, 0}));
    EXPECT_EQ(both.extraFlags(), 0xCF);
    EXPECT_EQ(both.value(RecordField::Reserved), 0);
}

TEST(DataCheck, IntegerCellsOutsideTheirListsKeepTheirLowByte)
{
    AppState state = templateState(2);
    state.editTable().setCell(Column::ChannelNumber, 2, s(u"-1"));
    state.editTable().setCell(Column::Squelch, 1, s(u"300"));
    state.editTable().setCell(Column::Time, 1, s(u"$1FF"));
    state.editTable().setCell(Column::PowerMin, 1, s(u" 4")); // not the text "4": taken as a number
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_EQ(record(state, 2).channelNumber(), 255);
    EXPECT_EQ(record(state, 1).value(RecordField::SquelchLevel), 300 & 0xFF);
    EXPECT_EQ(record(state, 1).value(RecordField::TimerValue), 0xFF);
    EXPECT_EQ(record(state, 1).value(RecordField::PowerMin), 4);
}

TEST(DataCheck, GateAndImageAcrossRuns)
{
    AppState state = templateState(3);
    ASSERT_TRUE(runDataCheck(state).passed);
    const DeviceImage good = state.image();

    // Edits after a check leave the gate; only the next check looks at them.
    state.editTable().setCell(Column::TxFrequency, 2, s(u"145003"));
    EXPECT_TRUE(state.dataChecked());
    EXPECT_FALSE(runDataCheck(state).passed);
    EXPECT_FALSE(state.dataChecked());
    // A stopped check keeps the image of the last good one: the repeater panel may still use it.
    EXPECT_EQ(state.image(), good);

    state.editTable().setCell(Column::TxFrequency, 2, s(u"145006,25"));
    EXPECT_TRUE(runDataCheck(state).passed);
    EXPECT_NE(state.image(), good);
    EXPECT_EQ(record(state, 2).txFrequencyWord(), (FrequencyWord{0x11, 0x6A, 0x85}));
}

TEST(DataCheck, RecordSlotsBeyondTheCountAreZero)
{
    AppState state = templateState(5);
    ASSERT_TRUE(runDataCheck(state).passed);
    state.editTable().setRowCount(4);
    ASSERT_TRUE(runDataCheck(state).passed);
    EXPECT_EQ(state.image().channelCount, 3);
    EXPECT_EQ(record(state, 4), ChannelRecord{});
    EXPECT_EQ(record(state, 99), ChannelRecord{});
}

TEST(DataCheck, ArbitraryTextsAlwaysEndInOneMessage)
{
    const char16_t* pool[] = {u"",        u"-1",      u"2147483648", u"99999999999", u"$FFFFFFFF", u"0x",
                              u"1e400",   u"NaN",     u"inf",        u"145000",      u"140006,25", u"РЕТР_ПП",
                              u"РЕТР_ПР", u"Нет",     u"67,0",       u"023",         u"4",         u"1",
                              u"12,5",    u"OFF",     u"RSSI",       u"\U0001F4A5",  u"\t",        u"%1",
                              u"\uFF11",  u"-0,0001", u"+",          u"-",           u"00",        u"1a#*"};
    const char16_t* keys[] = {u"Яркость диодов", u"Громкость", u"МинГромкость", u"Пик_кнопок", u"ФВ",
                              u"Код_DCS",        u"Ф_Скан",    u"Ф_V",          u"ВУ",         u"Тон5",
                              u"Id_номер",       u"СК"};
    std::mt19937 random(20240611);
    const auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    int passed = 0;
    for (int run = 0; run < 400; ++run) {
        AppState state = templateState(1 + static_cast<int>(pick(6)), 145000);
        for (int edit = static_cast<int>(pick(4)); edit > 0; --edit) {
            const int row =
                1 + static_cast<int>(pick(static_cast<std::size_t>(state.table().channelCount())));
            state.editTable().setCell(columnAt(static_cast<int>(pick(ColumnCount))), row,
                                      s(pool[pick(std::size(pool))]));
        }
        if (pick(3) == 0)
            setSetting(state, s(keys[pick(std::size(keys))]), s(pool[pick(std::size(pool))]));
        expectRefusalMarked(state, "run " + std::to_string(run));
        const CheckResult result = runDataCheck(state);
        EXPECT_FALSE(result.message.isEmpty());
        EXPECT_EQ(result.passed, state.dataChecked());
        EXPECT_EQ(result.passed, result.message.text == Passed) << result.message.text.toStdString();
        if (result.passed) {
            ++passed;
            EXPECT_EQ(state.image().channelCount, state.table().channelCount());
        }
    }
    EXPECT_GT(passed, 0);
}
