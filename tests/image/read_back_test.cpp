#include "common/qt_printers.h"
#include "common/stream_fixture.h"

#include "image/read_back.h"
#include "model/value_lists.h"
#include "session/app_state.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::test;

namespace {

const StationType Band144 = StationType::forBand(Band::Mhz144to174);
const StationType Band30 = StationType::forBand(Band::Mhz30to60);

// A station holding one channel at 145000 kHz with the template's other values.
const char* const ExampleHeader = "012345010801C80000014"
                                  "64B64788C9BAAC7D2F00000C806000000"
                                  "00";
const char* const ExampleRecord = "BE0111DB01116A81C8C80000010104FF0000";

QByteArray exampleStream()
{
    return hexBytes(ExampleHeader) + hexBytes(ExampleRecord);
}

// A read stream of one record with the given bytes patched in.
QByteArray oneRecordStream(std::initializer_list<std::pair<int, quint8>> recordPatches,
                           quint8 dcsPolarity = SwitchOn)
{
    QByteArray stream = exampleStream();
    stream[readAt(HeaderField::DcsPolarity)] = static_cast<char>(dcsPolarity);
    for (const auto& [offset, value] : recordPatches)
        stream[ReadRecords + offset] = static_cast<char>(value);
    return stream;
}

QString cellOf(const QByteArray& stream, Column column, const StationType& band = Band144)
{
    const ReadStreamDecode decoded = decodeReadStream(stream, band);
    if (!decoded.ok())
        return QStringLiteral("refused: ") + decoded.refusal.text;
    return decoded.readBack->table.cell(column, 1);
}

} // namespace

TEST(ReadStreamDecoding, FrequenciesUseTheBandTheStationsCodeNames)
{
    // Worked words of both bands; the first byte 0 marks a repeater channel's silent direction.
    // The station's code 0 names 144-174 MHz, 1 and 2 name 30-60 MHz, whatever band is selected;
    // only a code naming no band leaves the decoding to the selected band.
    struct Case
    {
        const char* rx;
        const char* tx;
        quint8 typeCode;
        const StationType& selected;
        const char* rxText;
        const char* txText;
    };
    const Case cases[] = {
        {"11DB01", "116A85", 0, Band144, "145000,00", "145006,25"},
        {"120089", "116A81", 0, Band30, "160012,50", "145000,00"},
        {"12200D", "114A0D", 1, Band144, "33018,75", "33018,75"},
        {"12200D", "114A0D", 2, Band144, "33018,75", "33018,75"},
        {"11DB01", "116A81", 7, Band30, "26100,00", "36250,00"},
        {"11DB01", "116A81", 7, Band144, "145000,00", "145000,00"},
        {"000000", "116A81", 0, Band30, "РЕТР_ПП", "145000,00"},
        {"11DB01", "00FFFF", 0, Band144, "145000,00", "РЕТР_ПР"},
    };
    for (const Case& c : cases) {
        QByteArray stream = exampleStream();
        stream[readAt(HeaderField::TypeCode)] = static_cast<char>(c.typeCode);
        stream.replace(ReadRecords + inRecord(RecordField::RxFrequencyWord), 3, hexBytes(c.rx));
        stream.replace(ReadRecords + inRecord(RecordField::TxFrequencyWord), 3, hexBytes(c.tx));
        EXPECT_EQ(cellOf(stream, Column::RxFrequency, c.selected), QString::fromUtf8(c.rxText)) << c.rx;
        EXPECT_EQ(cellOf(stream, Column::TxFrequency, c.selected), QString::fromUtf8(c.txText)) << c.tx;
    }
}

TEST(ReadStreamDecoding, CodeColumnsFollowTheModeAndTheDcsPolarity)
{
    constexpr int Flags = inRecord(RecordField::ChannelFlags);
    constexpr int Rx = inRecord(RecordField::RxCode);
    constexpr int Tx = inRecord(RecordField::TxCode);
    const quint8 dcsMode = 0xB6; // 0xBE without the CTCSS bit
    struct Case
    {
        QByteArray stream;
        Column column;
        const char* text;
    };
    const Case cases[] = {
        {oneRecordStream({{Flags, dcsMode}, {Rx, 8}}, SwitchOn), Column::DcsRx, "023"},
        {oneRecordStream({{Flags, dcsMode}, {Rx, 8}}, SwitchOff), Column::DcsRx, "047"},
        {oneRecordStream({{Flags, dcsMode}, {Rx, 8}}, SwitchOff), Column::CtcssRx, "Нет"},
        {oneRecordStream({{Flags, dcsMode}, {Tx, 84}}, SwitchOff), Column::DcsTx, "754"},
        {oneRecordStream({{Flags, dcsMode}, {Tx, 1}}, SwitchOn), Column::DcsTx, "047"},
        {oneRecordStream({{Flags, dcsMode}, {Tx, 0}}, SwitchOff), Column::DcsTx, "Нет"},
        {oneRecordStream({{Flags, dcsMode}, {Tx, 200}}, SwitchOn), Column::DcsTx, "Нет"},
        {oneRecordStream({{Rx, 1}}), Column::CtcssRx, "67,0"},
        {oneRecordStream({{Rx, 34}}), Column::CtcssRx, "67,0"},
        {oneRecordStream({{Tx, 55}}), Column::CtcssTx, "254,1"},
        {oneRecordStream({{Tx, 55}}), Column::DcsTx, "Нет"},
        {oneRecordStream({{Rx, 0}}), Column::CtcssRx, "Нет"},
        // Codes in no list: the stream is refused, nothing is guessed.
        {oneRecordStream({{Rx, 56}}), Column::CtcssRx, nullptr},
        {oneRecordStream({{Tx, 199}}), Column::CtcssTx, nullptr},
        {oneRecordStream({{Flags, dcsMode}, {Rx, 85}}, SwitchOff), Column::DcsRx, nullptr},
        {oneRecordStream({{Flags, dcsMode}, {Rx, 0}}, SwitchOn), Column::DcsRx, nullptr},
        {oneRecordStream({{Flags, dcsMode}, {Tx, 0}}, 7), Column::DcsTx, nullptr},
    };
    for (const Case& c : cases) {
        const QString cell = cellOf(c.stream, c.column);
        if (c.text)
            EXPECT_EQ(cell, QString::fromUtf8(c.text)) << c.stream.toHex().toStdString();
        else
            EXPECT_TRUE(cell.startsWith(QStringLiteral("refused: Станция передала недопустимый код")))
                << cell.toStdString();
    }
    const QString dcsRefusal =
        cellOf(oneRecordStream({{Flags, dcsMode}, {Rx, 85}}, SwitchOff), Column::DcsRx);
    EXPECT_EQ(
        dcsRefusal,
        QStringLiteral(
            "refused: Станция передала недопустимый код DCS 85 в канале 1 (запись 1): данные не приняты."));
}

TEST(ReadStreamDecoding, FlagsTonesTimerAndWidth)
{
    constexpr int Extra = inRecord(RecordField::ExtraFlags);
    constexpr int Flags = inRecord(RecordField::ChannelFlags);
    struct Case
    {
        std::initializer_list<std::pair<int, quint8>> patches;
        Column column;
        const char* text;
    };
    const Case cases[] = {
        {{{Extra, 0xFA}}, Column::TxOff, "RSSI"},
        {{{Extra, 0xFB}}, Column::TxOff, "OFF"},
        {{{Extra, 0xFF}}, Column::TxOff, "Норм"},
        {{{Extra, 0xFE}}, Column::TxOff, "RSSI"},
        {{{inRecord(RecordField::RxToneNumber), 0}}, Column::ToneRx, "Нет"},
        {{{inRecord(RecordField::RxToneNumber), 11}}, Column::ToneRx, "Нет"},
        {{{inRecord(RecordField::TxToneNumber), 10}}, Column::ToneTx, "10"},
        {{{inRecord(RecordField::TxToneNumber), 1}}, Column::ToneTx, "1"},
        {{{inRecord(RecordField::TimerValue), 0}}, Column::Time, "Нет"},
        {{{inRecord(RecordField::TimerValue), 15}}, Column::Time, "15"},
        {{{Flags, 0xFE}}, Column::Width, "12,5"},
        {{{inRecord(RecordField::SquelchLevel), 6}}, Column::Squelch, "6"},
        {{{inRecord(RecordField::PowerMax), 3}}, Column::PowerMax, "3"},
        {{{inRecord(RecordField::ChannelNumber), 42}}, Column::ChannelNumber, "42"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cellOf(oneRecordStream(c.patches), c.column), QString::fromUtf8(c.text))
            << columnIndex(c.column);

    // Scan bit 0x02, active bit 0x04, identification tone when bit 0x80 is clear.
    const std::pair<quint8, RowFlags> flagCases[] = {{0xBE, {true, false, true}},
                                                     {0x38, {false, true, false}},
                                                     {0x3E, {true, true, true}},
                                                     {0x80, {false, false, false}}};
    for (const auto& [flags, expected] : flagCases) {
        const ReadStreamDecode decoded = decodeReadStream(oneRecordStream({{Flags, flags}}), Band144);
        ASSERT_TRUE(decoded.ok());
        EXPECT_EQ(decoded.readBack->table.rowFlags(1), expected) << int(flags);
    }
}

TEST(ReadStreamDecoding, SettingsLinesCarryLevelsSymbolsAndSwitches)
{
    QByteArray stream = exampleStream();
    const auto settingsOf = [](const QByteArray& s) {
        const ReadStreamDecode decoded = decodeReadStream(s, Band144);
        return decoded.ok() ? decoded.readBack->settings : GeneralSettings();
    };
    // Brightness levels 1..5 travel as 5 L - 4 and come back as the level.
    for (int level = 1; level <= 5; ++level) {
        stream[readAt(HeaderField::BrightnessCode)] = static_cast<char>(5 * level - 4);
        EXPECT_EQ(settingsOf(stream).textValue(u"Яркость диодов", {}), QString::number(level));
    }
    stream[readAt(HeaderField::IdCode)] = static_cast<char>(0x1A);
    stream[readAt(HeaderField::IdCode) + 1] = static_cast<char>(0xEF);
    stream[readAt(HeaderField::SerialNumber)] = 0x0A;
    stream[readAt(HeaderField::SerialNumber) + 1] = 0x1B;
    stream[readAt(HeaderField::SerialNumber) + 2] = 0x2C;
    stream[readAt(HeaderField::FvCode)] = 0x21;
    stream[readAt(HeaderField::KeyBeep)] = 100;
    stream[readAt(HeaderField::DcsPolarity)] = 100;
    stream[readAt(HeaderField::FunctionFlags)] = 0x10;
    stream[readAt(HeaderField::Volume)] = 16;
    stream[readAt(HeaderField::MinVolume)] = 8;
    const GeneralSettings s = settingsOf(stream);
    ASSERT_EQ(s.lines().size(), 27);
    EXPECT_EQ(s.lines()[1], QStringLiteral("Серийный номер=0A1B2C"));
    EXPECT_EQ(s.lines()[2], QStringLiteral("Id_номер=1A#*"));
    EXPECT_EQ(packIdCode(s.textValue(u"Id_номер", {})), 0x1AEF);
    EXPECT_EQ(s.textValue(u"ФВ", {}), QStringLiteral("21"));
    EXPECT_EQ(s.textValue(u"Пик_кнопок", {}), QStringLiteral("-"));
    EXPECT_EQ(s.textValue(u"Код_DCS", {}), QStringLiteral("-"));
    EXPECT_EQ(s.textValue(u"Ф_Скан", {}), QStringLiteral("-"));
    EXPECT_EQ(s.textValue(u"Ф_V", {}), QStringLiteral("-"));
    EXPECT_EQ(s.textValue(u"ВУ", {}), QStringLiteral("+"));
    EXPECT_EQ(s.textValue(u"Громкость", {}), QStringLiteral("16"));
    EXPECT_EQ(s.textValue(u"МинГромкость", {}), QStringLiteral("8"));
}

TEST(ReadStreamDecoding, ChannelCountAndSpecialChannelEdges)
{
    // No channels: refused as soon as the header is in; such a plan could never be opened again.
    QByteArray empty = hexBytes(ExampleHeader);
    empty[readAt(HeaderField::ChannelCount)] = 0;
    ReadStreamDecode decoded = decodeReadStream(empty, Band144);
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.refusal.text, QStringLiteral("Станция передала число каналов 0: в станции нет данных "
                                                   "каналов, данные не приняты."));
    EXPECT_EQ(checkReadStreamHeader(empty), decoded.refusal);

    // A special channel index naming no record.
    QByteArray stream = exampleStream();
    stream[readAt(HeaderField::SpecialChannelIndex)] = 1;
    decoded = decodeReadStream(stream, Band144);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.readBack->settings.lines().last(), QStringLiteral("СК="));

    // The special channel is named by its channel number, not its position.
    QByteArray two = exampleStream() + hexBytes(ExampleRecord);
    two[readAt(HeaderField::ChannelCount)] = 2;
    two[readAt(HeaderField::SpecialChannelIndex)] = 1;
    two[ReadRecords + ChannelRecord::Size + inRecord(RecordField::ChannelNumber)] = 17;
    decoded = decodeReadStream(two, Band144);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.readBack->settings.lines().last(), QStringLiteral("СК=17"));
    EXPECT_EQ(decoded.readBack->table.cell(Column::ChannelNumber, 2), QStringLiteral("17"));

    // Fewer bytes than announced: refused.
    EXPECT_FALSE(decodeReadStream(two.left(two.size() - 1), Band144).ok());
    EXPECT_FALSE(decodeReadStream(QByteArray(), Band144).ok());

    // Bytes after the stream are ignored.
    const ReadStreamDecode longer = decodeReadStream(exampleStream() + hexBytes("FFFF00"), Band144);
    ASSERT_TRUE(longer.ok());
    EXPECT_EQ(*longer.readBack, *decodeReadStream(exampleStream(), Band144).readBack);
}

TEST(ReadStreamEncoding, AStationsStreamDecodesToTheImageItWasMadeFrom)
{
    const DeviceImage image = channelsImage(99);
    const QByteArray stream = encodeReadStream(image, 0xABCDEF, 4, 0);
    ASSERT_EQ(stream.size(), streamSize(Stream::Read, MaxRecords));
    EXPECT_EQ(stream.left(3), hexBytes("ABCDEF"));
    const ReadStreamDecode decoded = decodeReadStream(stream, Band30);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.readBack->image, image);
    EXPECT_EQ(decoded.readBack->moduleType, 4);
    EXPECT_EQ(decoded.readBack->typeCode, 0);
    EXPECT_EQ(decoded.readBack->table.cell(Column::TxFrequency, 99), QStringLiteral("146225,00"));
    // The check of a write: the station holds what was written, or names what it holds instead.
    const QByteArray written = encodeStream(Stream::Write, {image, 4, 0, 0});
    EXPECT_EQ(writtenDifferences(written, *decoded.readBack), QStringList());
    ReadBack other = *decoded.readBack;
    other.moduleType = 3;
    const QStringList differences = writtenDifferences(written, other);
    ASSERT_EQ(differences.size(), 1);
    EXPECT_TRUE(differences[0].startsWith(QStringLiteral("ModuleType"))) << differences[0].toStdString();
}

TEST(ReadStreamDecoding, ArbitraryBytesAreDecodedOrRefusedNeverMisread)
{
    QRandomGenerator random(20240611);
    int accepted = 0;
    for (int run = 0; run < 3000; ++run) {
        const int count = random.bounded(0, 120);
        const int size = random.bounded(0, streamSize(Stream::Read, count) + 40);
        QByteArray stream(size, '\0');
        for (char& c : stream)
            c = static_cast<char>(random.bounded(256));
        if (size > readAt(HeaderField::ChannelCount) && run % 2 == 0)
            stream[readAt(HeaderField::ChannelCount)] = static_cast<char>(count);
        const ReadStreamDecode decoded = decodeReadStream(stream, run % 3 ? Band144 : Band30);
        if (!decoded.ok()) {
            EXPECT_FALSE(decoded.refusal.isEmpty());
            continue;
        }
        ++accepted;
        const int n = decoded.readBack->image.channelCount;
        EXPECT_LE(n, 99);
        EXPECT_GE(stream.size(), streamSize(Stream::Read, n));
        EXPECT_EQ(decoded.readBack->table.rowCount(), n + 1);
        EXPECT_EQ(decoded.readBack->settings.lines().size(), 27);
    }
    EXPECT_GT(accepted, 0);
}

TEST(ReadBackApply, ReplacesThePlanAtOnceAndKeepsWhatTheStreamDoesNotCarry)
{
    AppState state;
    state.selectBand(Band::Mhz30to60);
    DeviceImage checked = channelsImage(5);
    checked.idCode = 0x1234;
    state.acceptCheck(checked, 0);
    state.selectModule(ModuleType::Trimlink);
    state.editSettings() = GeneralSettings(GeneralSettings::templateLines());

    // Every header field different, so a field copied into another's place shows.
    const ReadStreamDecode decoded = decodeReadStream(distinctHeaderReadStream(), state.stationType());
    ASSERT_TRUE(decoded.ok());
    const DeviceImage before = state.image();
    EXPECT_FALSE(applyReadBack(state, *decoded.readBack)); // code 0x48 names no band

    EXPECT_FALSE(state.dataChecked());
    EXPECT_TRUE(state.tableCreated());
    EXPECT_EQ(state.settings(), decoded.readBack->settings);
    EXPECT_EQ(state.table(), decoded.readBack->table);
    EXPECT_EQ(moduleCode(state.moduleType()), DistinctModuleType);
    EXPECT_EQ(state.stationType().band, Band::Mhz30to60); // a code naming no band keeps the band
    EXPECT_EQ(state.stationType().dividerModulus, 8);
    EXPECT_EQ(state.stationType().typeCode, DistinctTypeCode);
    DeviceImage expected = distinctHeaderImage();
    expected.idCode = 0x1234; // not taken from the station
    for (std::size_t i = 1; i < 5; ++i)
        expected.records[i] = before.records[i];
    EXPECT_EQ(state.image(), expected);

    // A code naming a band selects it with its constants, as a plan file's "Тип" does.
    QByteArray stream = exampleStream();
    stream[readAt(HeaderField::TypeCode)] = 1;
    state.selectBand(Band::Mhz144to174);
    EXPECT_TRUE(applyReadBack(state, *decodeReadStream(stream, state.stationType()).readBack));
    EXPECT_EQ(state.stationType(), StationType::forBand(Band::Mhz30to60));
}
