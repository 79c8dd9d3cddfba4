// A catalogue of bad inputs, one row each: template fields, settings values, table cells, plan
// files and station read streams. Every row names the exact message the user gets; none may
// crash or hang, and a refused input leaves the program's plan as it was (a refused template and
// a failed check clear only the data-check gate, as they always do).

#include "common/platform_texts.h"
#include "common/stream_fixture.h"
#include "hardening_fixture.h"
#include "image/plan_fixture.h"

#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "image/read_back.h"
#include "session/app_state.h"

#include <QDir>
#include <QTemporaryDir>

#include <functional>
#include <random>

namespace yalmera::hardening {
namespace {

using test::inRecord;
using test::readAt;
using test::ReadRecords;

// What the row's action is allowed to change besides showing its message.
enum class Leaves {
    Everything, // a refused file or station stream: nothing changes
    AllButGate, // a refused template or a failed check: only the gate is cleared
    NewPlan,    // a file that loads: the plan is replaced (the user asked for it), then checked
};

struct BadInput
{
    std::string name;
    // The user's own edit before the action (a cell, a settings line); part of "before".
    std::function<void(AppState&)> edit;
    // The action on the edited state; returns the message the user sees.
    std::function<UserMessage(AppState&, const QString& folder)> act;
    QString expected;
    Leaves leaves = Leaves::AllButGate;
};

// ---- Building blocks ------------------------------------------------------------------------

const QString CountRefused = QStringLiteral("Вы не ввели количество каналов или ввели слишком много");
const QString OffGrid = QStringLiteral("Частота должна быть кратна 6,25кГц");
const QString NoChannels =
    QStringLiteral("В файле нет данных каналов (раздел [1] отсутствует или пуст). Файл не прочитан.");
const QString TooManyInFile = QStringLiteral("В файле больше 99 каналов. Файл не прочитан.");
const QString TooLarge =
    QStringLiteral("Файл слишком велик для файла каналов (больше 1 МБ). Файл не прочитан.");
const QString Passed = QStringLiteral("Все данные введены верно.");

QString integerError(const QString& text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}
QString decimalError(const QString& text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

BadInput templateRow(std::string name, QString count, QString start, QString offset, QString expected)
{
    return {std::move(name), nullptr,
            [=](AppState& state, const QString&) {
                return state.createTemplate(TemplateFields{count, start, offset});
            },
            std::move(expected), Leaves::AllButGate};
}

UserMessage check(AppState& state, const QString&)
{
    expectRefusalMarked(state, "marks");
    return runDataCheck(state).message;
}

BadInput settingsRow(std::string name, std::function<void(AppState&)> edit, QString expected)
{
    return {std::move(name), std::move(edit), check, std::move(expected), Leaves::AllButGate};
}
BadInput settingRow(std::string name, const QString& key, const QString& value, QString expected)
{
    return settingsRow(
        std::move(name), [=](AppState& state) { setSetting(state, key, value); }, std::move(expected));
}
BadInput cellRow(std::string name, Column column, int row, const QString& text, QString expected)
{
    return settingsRow(
        std::move(name), [=](AppState& state) { state.editTable().setCell(column, row, text); },
        std::move(expected));
}

// The bytes of the one-channel template plan as the program saves it (Windows-1251, CR LF).
QByteArray oneChannelFile()
{
    AppState state;
    state.createTemplate(
        TemplateFields{QStringLiteral("1"), QStringLiteral("140000"), QStringLiteral("1000")});
    return files::encodePlan(state.settings(), state.table(), 0, 0);
}

QByteArray withLine(QByteArray file, const QByteArray& line, const QByteArray& replacement)
{
    return file.replace(line, replacement);
}

QByteArray cp1251(const QString& text)
{
    return files::encodeWindows1251(text).value_or(QByteArray());
}

QByteArray channelSections(int count)
{
    QByteArray bytes = cp1251(QStringLiteral("[Общие установки]\r\nСК=1\r\n"));
    for (int i = 1; i <= count; ++i)
        bytes += cp1251(QStringLiteral("[%1]\r\nНомер=%1\r\nRx=145000\r\nTx=145000\r\n").arg(i));
    return bytes;
}

QByteArray noise(int size)
{
    std::mt19937 generator(20261207);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(generator() & 0xFF);
    // Never a channel section by chance.
    bytes.replace("[1]", "[x]");
    return bytes;
}

// Reads a file as "Чтение файла" does: a refusal changes nothing; a plan that loads replaces the
// user's plan and is then checked, and the row's message is the check's.
UserMessage readFile(AppState& state, const QString& path)
{
    files::PlanDecodeResult read = files::readPlanFile(path);
    if (!read.contents)
        return read.error;
    state.adoptPlanFile(std::move(*read.contents));
    expectRefusalMarked(state, "marks of the file read");
    return runDataCheck(state).message;
}

BadInput fileRow(std::string name, QByteArray bytes, QString expected, Leaves leaves = Leaves::Everything)
{
    return {std::move(name), nullptr,
            [bytes = std::move(bytes)](AppState& state, const QString& folder) {
                const QString path = QDir(folder).filePath(QStringLiteral("plan.ini"));
                EXPECT_TRUE(writeFileBytes(path, bytes));
                const UserMessage message = readFile(state, path);
                EXPECT_EQ(readFileBytes(path), bytes); // reading never writes
                return message;
            },
            std::move(expected), leaves};
}

// A read stream that arrived whole: only an acceptable one replaces the plan.
BadInput streamRow(std::string name, QByteArray stream, QString expected)
{
    return {std::move(name), nullptr,
            [stream = std::move(stream)](AppState& state, const QString&) {
                const ReadStreamDecode decoded = decodeReadStream(stream, state.stationType());
                if (decoded.ok())
                    applyReadBack(state, *decoded.readBack);
                return decoded.refusal;
            },
            std::move(expected), Leaves::Everything};
}

// The read stream of the station of the one-channel example (channel 1 at 145000 kHz).
QByteArray exampleStream()
{
    return QByteArray::fromHex("012345010801C8000001464B64788C9BAAC7D2F00000C806000000"
                               "00BE0111DB01116A81C8C80000010104FF0000");
}

QByteArray streamWith(int offset, quint8 byte, QByteArray stream = exampleStream())
{
    stream[offset] = static_cast<char>(byte);
    return stream;
}

// A DCS-mode record (flags without 0x08) with the given receive code.
QByteArray dcsStream(quint8 polarity, quint8 rxCode)
{
    QByteArray stream = streamWith(readAt(HeaderField::DcsPolarity), polarity);
    stream[ReadRecords] = static_cast<char>(0xB6);
    stream[ReadRecords + inRecord(RecordField::RxCode)] = static_cast<char>(rxCode);
    return stream;
}

// ---- The catalogue ----------------------------------------------------------------------------

std::vector<BadInput> catalogue()
{
    const QString rangeRefused = QStringLiteral(
        "Введенная частота не соответствует частотному диапазону, частотный диапазон 140-174 МГц");
    const QString hugeDigits(200000, u'1');
    std::vector<BadInput> rows{
        // Template fields
        templateRow("TemplateCountEmpty", {}, QStringLiteral("140000"), QStringLiteral("1000"), CountRefused),
        templateRow("TemplateCountThreeDigits", QStringLiteral("100"), QStringLiteral("140000"),
                    QStringLiteral("1000"), CountRefused),
        templateRow("TemplateCountZero", QStringLiteral("00"), QStringLiteral("140000"),
                    QStringLiteral("1000"), CountRefused),
        templateRow("TemplateCountNegative", QStringLiteral("-1"), QStringLiteral("140000"),
                    QStringLiteral("1000"), CountRefused),
        templateRow("TemplateCountLetters", QStringLiteral("ab"), QStringLiteral("140000"),
                    QStringLiteral("1000"), integerError(QStringLiteral("ab"))),
        templateRow("TemplateCountArabicIndicDigit", QStringLiteral("٣"), QStringLiteral("140000"),
                    QStringLiteral("1000"), integerError(QStringLiteral("٣"))),
        templateRow("TemplateStartEmpty", QStringLiteral("10"), {}, QStringLiteral("1000"), decimalError({})),
        templateRow("TemplateStartTwoCommas", QStringLiteral("10"), QStringLiteral("1,2,3"),
                    QStringLiteral("1000"), decimalError(QStringLiteral("1,2,3"))),
        templateRow("TemplateStartWithPoint", QStringLiteral("10"), QStringLiteral("145000.5"),
                    QStringLiteral("1000"), decimalError(QStringLiteral("145000.5"))),
        templateRow("TemplateStartOverflowsDouble", QStringLiteral("10"), QStringLiteral("1E999"),
                    QStringLiteral("1000"), decimalError(QStringLiteral("1E999"))),
        templateRow("TemplateStartOffGrid", QStringLiteral("10"), QStringLiteral("145003"),
                    QStringLiteral("1000"), OffGrid),
        templateRow("TemplateStartBelowBand", QStringLiteral("10"), QStringLiteral("139993,75"),
                    QStringLiteral("1000"), rangeRefused),
        templateRow("TemplateOffsetOffGrid", QStringLiteral("10"), QStringLiteral("140000"),
                    QStringLiteral("7"), QStringLiteral("Шаг смещения должен быть кратен 6,25кГц")),

        // Settings values, each edited into a plan that passed, then checked
        settingRow("SettingBrightnessZero", QStringLiteral("Яркость диодов"), QStringLiteral("0"),
                   QStringLiteral("Уровень яркости изм. 1-5")),
        settingRow("SettingBrightnessSix", QStringLiteral("Яркость диодов"), QStringLiteral("6"),
                   QStringLiteral("Уровень яркости изм. 1-5")),
        settingRow("SettingBrightnessMissing", QStringLiteral("Яркость диодов"), QString(),
                   QStringLiteral("Уровень яркости изм. 1-5")),
        settingRow("SettingBrightnessBeyond32Bits", QStringLiteral("Яркость диодов"),
                   QStringLiteral("99999999999"), QStringLiteral("Уровень яркости изм. 1-5")),
        settingRow("SettingBrightness200000Digits", QStringLiteral("Яркость диодов"), hugeDigits,
                   QStringLiteral("Уровень яркости изм. 1-5")),
        settingRow("SettingVolumeSeventeen", QStringLiteral("Громкость"), QStringLiteral("17"),
                   QStringLiteral("Уровень громкости изм. 1-16")),
        settingRow("SettingVolumeNegative", QStringLiteral("Громкость"), QStringLiteral("-1"),
                   QStringLiteral("Уровень громкости изм. 1-16")),
        settingRow("SettingMinVolumeNine", QStringLiteral("МинГромкость"), QStringLiteral("9"),
                   QStringLiteral("Минимальный уровень громкости изменякться от 0 до 8")),
        settingsRow(
            "SettingMinVolumeAboveVolume",
            [](AppState& state) {
                setSetting(state, QStringLiteral("Громкость"), QStringLiteral("5"));
                setSetting(state, QStringLiteral("МинГромкость"), QStringLiteral("6"));
            },
            QStringLiteral("Громкость не д.б. меньше минимального уровня громкости")),
        settingRow("SettingKeyBeepStar", QStringLiteral("Пик_кнопок"), QStringLiteral("*"),
                   QStringLiteral("Вводить в поле \"Пик_кнопок\" можно только + или -")),
        settingRow("SettingSpecialChannelAbsent", QStringLiteral("СК"), QStringLiteral("7"),
                   QStringLiteral("Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала")),
        settingRow("SettingFvOneDigit", QStringLiteral("ФВ"), QStringLiteral("0"),
                   QStringLiteral("Код поля \"ФВ\" должен быть двузначным")),
        settingRow("SettingFvDigitOutOfSet", QStringLiteral("ФВ"), QStringLiteral("30"),
                   QStringLiteral("В поле \"ФВ\" введен неправильный код")),
        settingRow("SettingFvLetter", QStringLiteral("ФВ"), QStringLiteral("0x"),
                   integerError(QStringLiteral("x"))),
        settingRow("SettingDcsPolarityPlusMinus", QStringLiteral("Код_DCS"), QStringLiteral("±"),
                   QStringLiteral("Вводить в поле \"Код_DCS\" можно только + или -")),
        settingRow("SettingScanFunctionEmpty", QStringLiteral("Ф_Скан"), QStringLiteral(""),
                   QStringLiteral(
                       "Вы не заполнили поле \"Ф_Скан\" или ввели не тот символ. Вводимые символы  + или -")),
        settingRow("SettingVFunctionDoublePlus", QStringLiteral("Ф_V"), QStringLiteral("++"),
                   QStringLiteral(
                       "Вы не заполнили поле \"Ф_V\" или ввели не тот символ. Вводимые символы  + или -")),
        settingRow(
            "SettingModuleWord", QStringLiteral("ВУ"), QStringLiteral("да"),
            QStringLiteral("Вы не заполнили поле \"ВУ\" или ввели не тот символ. Вводимые символы  + или -")),
        settingRow("SettingToneAboveRange", QStringLiteral("Тон3"), QStringLiteral("2551"),
                   QStringLiteral("Ошибка в Тон3 диапазон от 700Гц до 2550Гц")),
        settingRow("SettingToneNotANumber", QStringLiteral("Тон10"), QStringLiteral("abc"),
                   QStringLiteral("Ошибка в Тон10 диапазон от 700Гц до 2550Гц")),
        settingRow("SettingIdFiveCharacters", QStringLiteral("Id_номер"), QStringLiteral("00001"),
                   QStringLiteral("Id_Tон должен быть четырехзначным. Например: 0001")),
        settingsRow(
            "SettingsWithoutSectionLine",
            [](AppState& state) {
                QStringList lines = state.settings().lines();
                lines.removeFirst();
                state.editSettings().setLines(lines);
            },
            QStringLiteral("Уровень яркости изм. 1-5")),

        // Table cells of the two-channel plan, then checked
        cellRow("CellChannelNumberThreeDigits", Column::ChannelNumber, 2, QStringLiteral("100"),
                QStringLiteral("В строчке №2 введен неправильный номер канала")),
        cellRow("CellChannelNumberEmpty", Column::ChannelNumber, 2, QString(),
                QStringLiteral("В строчке №2 введен неправильный номер канала")),
        cellRow("CellChannelNumberLetter", Column::ChannelNumber, 1, QStringLiteral("x"),
                integerError(QStringLiteral("x"))),
        cellRow("CellChannelNumberPercentSign", Column::ChannelNumber, 2, QStringLiteral("%1"),
                integerError(QStringLiteral("%1"))),
        cellRow("CellReceiveEmpty", Column::RxFrequency, 2, QString(),
                QStringLiteral("В канале №2 не введена частота приема")),
        cellRow("CellTransmitEmpty", Column::TxFrequency, 1, QString(),
                QStringLiteral("В канале №1 не введена частота передачи")),
        cellRow("CellReceiveBelowBand", Column::RxFrequency, 1, QStringLiteral("139993,75"),
                QStringLiteral("Ошибка в канале №1 частотный диапазон 140-174 MГц")),
        cellRow("CellTransmitOffGrid", Column::TxFrequency, 1, QStringLiteral("145003"), OffGrid),
        cellRow("CellReceiveLetters", Column::RxFrequency, 1, QStringLiteral("abc"),
                decimalError(QStringLiteral("abc"))),
        cellRow("CellReceiveOverflowsDouble", Column::RxFrequency, 1, QStringLiteral("1E400"),
                decimalError(QStringLiteral("1E400"))),
        cellRow("CellReceive200000Digits", Column::RxFrequency, 1, hugeDigits, decimalError(hugeDigits)),
        cellRow("CellCtcssNotInList", Column::CtcssRx, 1, QStringLiteral("67"),
                QStringLiteral("В строчке №1 в столбце \"CTC_Rx\" значение \"67\" не из списка")),
        cellRow("CellDcsNotInList", Column::DcsTx, 2, QStringLiteral("999"),
                QStringLiteral("В строчке №2 в столбце \"DCS_Tx\" значение \"999\" не из списка")),
        cellRow("CellToneNumberLetter", Column::ToneRx, 1, QStringLiteral("x"),
                integerError(QStringLiteral("x"))),
        cellRow("CellSquelchEmpty", Column::Squelch, 2, QString(), integerError(QString())),
        cellRow("CellPowerMinFour", Column::PowerMin, 1, QStringLiteral("4"),
                QStringLiteral("Не желательно использовать в минимальной мощности 4 уровень")),
        cellRow("CellPowerMaxOne", Column::PowerMax, 1, QStringLiteral("1"),
                QStringLiteral("Не желательно использовать в максимальной мощности 1 уровень")),
        cellRow("CellTimeLetters", Column::Time, 2, QStringLiteral("abc"),
                integerError(QStringLiteral("abc"))),
        settingsRow(
            "RowsWithoutFlagsAfterABandChange", [](AppState& state) { state.selectBand(Band::Mhz30to60); },
            QStringLiteral("В строчке №1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\". "
                           "Создайте шаблон или прочитайте файл заново")),
        settingsRow(
            "HundredChannelRows", [](AppState& state) { state.editTable().setRowCount(101); },
            QStringLiteral("В таблице больше 99 каналов. В радиостанцию можно записать не более 99 каналов")),

        // Plan files
        fileRow("FileEmpty", {}, NoChannels),
        fileRow("FileBinaryNoise", noise(4096), NoChannels),
        fileRow("FileOnlyNulBytes", QByteArray(1000, '\0'), NoChannels),
        fileRow("FileOneLongLine", QByteArray(500000, 'A'), NoChannels),
        fileRow("FileTruncatedBeforeChannels", oneChannelFile().left(oneChannelFile().indexOf("[1]")),
                NoChannels),
        fileRow("FileTruncatedInsideAChannel",
                oneChannelFile().left(oneChannelFile().indexOf("Rx=140000") + 5),
                QStringLiteral("Ошибка в канале №1 частотный диапазон 140-174 MГц"), Leaves::NewPlan),
        fileRow("FileChannelSectionWithoutKeys", cp1251(QStringLiteral("[1]\r\n[2]\r\nНомер=2\r\n")),
                NoChannels),
        fileRow("FileChannelSectionUnclosed", cp1251(QStringLiteral("[1\r\nНомер=1\r\n")), NoChannels),
        fileRow("FileHundredChannelSections", channelSections(100), TooManyInFile),
        fileRow("FileHundredFiftyChannelSections", channelSections(150), TooManyInFile),
        fileRow("FileHugeValues",
                withLine(withLine(oneChannelFile(), cp1251(QStringLiteral("Тип=0\r\n")),
                                  cp1251(QStringLiteral("Тип=99999999999999999999\r\n"))),
                         "\r\n[1]\r\n" + cp1251(QStringLiteral("Номер=1")),
                         "\r\n[1]\r\n" + cp1251(QStringLiteral("Номер=123456789012345678901234567890"))),
                // The special channel is looked for first, and the huge number is none.
                integerError(QStringLiteral("123456789012345678901234567890")), Leaves::NewPlan),
        fileRow(
            "FileTypeCodeWrapsToAnotherBand",
            withLine(oneChannelFile(), cp1251(QStringLiteral("Тип=0")), cp1251(QStringLiteral("Тип=0x101"))),
            QStringLiteral("Ошибка в канале №1 частотный диапазон 30-60 MГц"), Leaves::NewPlan),
        fileRow("FileEmptyKeysAndValues",
                withLine(oneChannelFile(), "\r\n[1]\r\n" + cp1251(QStringLiteral("Номер=1")),
                         "\r\n[1]\r\n=5\r\n = \r\n" + cp1251(QStringLiteral("Номер="))),
                integerError(QString()), Leaves::NewPlan),
        // A section line in UTF-8 inside a Windows-1251 file names another section: the settings
        // take the reader's defaults, which pass.
        fileRow("FileMixedEncodings",
                withLine(oneChannelFile(), cp1251(QStringLiteral("[Общие установки]")),
                         QStringLiteral("[Общие установки]").toUtf8()),
                Passed, Leaves::NewPlan),
        fileRow("FileCarriageReturnsOnly", oneChannelFile().replace("\r\n", "\r"), Passed, Leaves::NewPlan),
        fileRow("FileLineFeedsOnly", oneChannelFile().replace("\r\n", "\n"), Passed, Leaves::NewPlan),
        fileRow("FileLargerThanOneMiB", oneChannelFile() + QByteArray(files::MaxPlanFileBytes, ';'),
                TooLarge),
        {"FileIsADirectory", nullptr,
         [](AppState& state, const QString& folder) { return readFile(state, folder); },
         test::folderAsFileText(), Leaves::Everything},
        {"FileMissing", nullptr,
         [](AppState& state, const QString& folder) {
             return readFile(state, QDir(folder).filePath(QStringLiteral("no-such-plan.ini")));
         },
         test::saidInRussian(u"Нет такого файла или папки", test::noSuchFileText()), Leaves::Everything},

        // Read streams that arrived whole
        streamRow("StreamEmpty", {},
                  QStringLiteral("Станция передала неполные данные (0 байт из 28): данные не приняты.")),
        streamRow("StreamFiveBytes", exampleStream().left(5),
                  QStringLiteral("Станция передала неполные данные (5 байт из 28): данные не приняты.")),
        streamRow("StreamHeaderCutShort", exampleStream().left(27),
                  QStringLiteral("Станция передала неполные данные (27 байт из 46): данные не приняты.")),
        streamRow("StreamRecordCutShort", exampleStream().left(45),
                  QStringLiteral("Станция передала неполные данные (45 байт из 46): данные не приняты.")),
        streamRow("StreamHundredChannels", streamWith(readAt(HeaderField::ChannelCount), 100),
                  QStringLiteral(
                      "Станция передала число каналов 100, а допускается не более 99: данные не приняты.")),
        streamRow("StreamTwoHundredFiftyFiveChannels", streamWith(readAt(HeaderField::ChannelCount), 255),
                  QStringLiteral(
                      "Станция передала число каналов 255, а допускается не более 99: данные не приняты.")),
        streamRow(
            "StreamCtcssCodeOutOfList", streamWith(ReadRecords + inRecord(RecordField::RxCode), 56),
            QStringLiteral(
                "Станция передала недопустимый код CTCSS 56 в канале 1 (запись 1): данные не приняты.")),
        streamRow(
            "StreamTransmitCodeTwoHundredFiftyFive",
            streamWith(ReadRecords + inRecord(RecordField::TxCode), 255),
            QStringLiteral(
                "Станция передала недопустимый код CTCSS 255 в канале 1 (запись 1): данные не приняты.")),
        streamRow("StreamDcsCodeOutOfList", dcsStream(SwitchOff, 85),
                  QStringLiteral(
                      "Станция передала недопустимый код DCS 85 в канале 1 (запись 1): данные не приняты.")),
        streamRow("StreamDcsCodeZeroWithInversePolarity", dcsStream(SwitchOn, 0),
                  QStringLiteral(
                      "Станция передала недопустимый код DCS 0 в канале 1 (запись 1): данные не приняты.")),
    };
    return rows;
}

void PrintTo(const BadInput& input, std::ostream* os)
{
    *os << input.name;
}

class BadInputCatalogue : public ::testing::TestWithParam<BadInput>
{
};

TEST_P(BadInputCatalogue, GivesItsMessageAndKeepsWhatTheUserHad)
{
    const BadInput& input = GetParam();
    // A two-channel plan that passed the check: gate set, image built.
    AppState state = checkedTemplateState(2);
    if (input.edit)
        input.edit(state);
    const PlanSnapshot before = PlanSnapshot::of(state);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    const UserMessage message = input.act(state, folder.path());
    EXPECT_EQ(message.text, input.expected);

    PlanSnapshot expectedAfter = before;
    switch (input.leaves) {
    case Leaves::Everything:
        EXPECT_EQ(PlanSnapshot::of(state), expectedAfter);
        break;
    case Leaves::AllButGate:
        expectedAfter.dataChecked = false;
        EXPECT_EQ(PlanSnapshot::of(state), expectedAfter);
        break;
    case Leaves::NewPlan:
        // The loaded plan passed or not, and the gate says the same.
        EXPECT_EQ(state.dataChecked(), message.text == Passed);
        break;
    }
}

TEST(BadInputs, FileWithCarriageReturnsOrLineFeedsOnlyReadsLikeTheSavedOne)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("plan.ini"));
    ASSERT_TRUE(writeFileBytes(path, oneChannelFile()));
    const files::PlanDecodeResult saved = files::readPlanFile(path);
    ASSERT_TRUE(saved.contents.has_value());
    for (const QByteArray& lineEnd : {QByteArray("\r"), QByteArray("\n")}) {
        ASSERT_TRUE(writeFileBytes(path, oneChannelFile().replace("\r\n", lineEnd)));
        const files::PlanDecodeResult read = files::readPlanFile(path);
        ASSERT_TRUE(read.contents.has_value());
        EXPECT_EQ(read.contents->settings, saved.contents->settings);
        EXPECT_EQ(read.contents->table, saved.contents->table);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, BadInputCatalogue, ::testing::ValuesIn(catalogue()),
                         [](const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; });

} // namespace
} // namespace yalmera::hardening
