// One suite for every station model: what the model's streams hold, both ways, held against
// values worked out by hand from its band.
#include "plan_fixture.h"

#include "common/image_printers.h"
#include "common/stream_fixture.h"

#include "image/field_codec.h"
#include "image/read_back.h"
#include "image/station_model.h"
#include "model/number_text.h"
#include "model/value_lists.h"
#include "session/app_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <span>
#include <vector>

using namespace yalmera;
using namespace yalmera::test;

namespace {

struct WordCase
{
    double kHz;
    bool receive;
    std::int64_t steps;
    const char* bytes;
    const char* text; // as the read-back writes it
};

// What the suite knows of a model.
struct Golden
{
    Band band;
    const char* name;
    const char* limitsMHz; // as the band refusal names them
    // The one-channel template at the band's lower limit, default values and settings, no module.
    const char* templateStream;
    // A station holding one channel with the template's other values, and the text both its
    // frequency columns read back as.
    const char* stationStream;
    const char* stationKHz;
    std::vector<WordCase> words;
};

const Golden Goldens[] = {
    {Band::Mhz144to174,
     "Yalmera4K17",
     "140-174",
     "14 01 08 01 C8 00 46 4B 64 78 8C 9B AA C7 D2 F0 00 01 00 00 C8 06 00 00 00 00"
     "BE 01 11 CE 81 11 5E 01 C8 C8 00 00 01 01 04 FF 00 00",
     "01 23 45 01 08 01 C8 00 00 01 46 4B 64 78 8C 9B AA C7 D2 F0 00 00 C8 06 00 00 00 00"
     "BE 01 11 DB 01 11 6A 81 C8 C8 00 00 01 01 04 FF 00 00",
     "145000,00",
     {{145000, true, 30400, "11DB01", "145000,00"},
      {145000, false, 23200, "116A81", "145000,00"},
      {145006.25, false, 23201, "116A85", "145006,25"},
      {160012.5, true, 32802, "120089", "160012,50"},
      {174000, true, 35040, "122381", "174000,00"},
      {140000, true, 29600, "11CE81", "140000,00"},
      {140000, false, 22400, "115E01", "140000,00"}}},
    {Band::Mhz30to60,
     "Yalmera4K15",
     "30-60",
     "14 01 08 01 C8 00 46 4B 64 78 8C 9B AA C7 D2 F0 00 01 00 00 C8 06 00 01 01 01"
     "BE 01 12 02 01 11 2C 01 C8 C8 00 00 01 01 04 FF 00 00",
     "01 23 45 01 08 01 C8 00 00 01 46 4B 64 78 8C 9B AA C7 D2 F0 00 00 C8 06 00 01 00 00"
     "BE 01 12 20 0D 11 4A 0D C8 C8 00 00 01 01 04 FF 00 00",
     "33018,75",
     {{30000, true, 8224, "120201", "30000,00"},
      {33018.75, true, 8707, "12200D", "33018,75"},
      {33018.75, false, 5283, "114A0D", "33018,75"}}},
};

const Golden* goldenOf(const StationModel& model)
{
    const auto found = std::find_if(std::begin(Goldens), std::end(Goldens),
                                    [&model](const Golden& g) { return g.band == model.band.band; });
    return found == std::end(Goldens) ? nullptr : found;
}

class EveryModel : public testing::TestWithParam<const StationModel*>
{
protected:
    void SetUp() override { ASSERT_NE(goldenOf(model()), nullptr) << "a model without its values here"; }
    const StationModel& model() const { return *GetParam(); }
    const StationType& band() const { return model().band; }
    const Golden& golden() const { return *goldenOf(model()); }
    AppState templatePlan(int count, double stepKHz = 1000) const
    {
        return templateState(count, band().lowerLimitKHz, stepKHz, band().band);
    }
};

INSTANTIATE_TEST_SUITE_P(StationModels, EveryModel, testing::ValuesIn(StationModels),
                         [](const testing::TestParamInfo<const StationModel*>& info) {
                             const Golden* golden = goldenOf(*info.param);
                             return std::string(golden ? golden->name : "Unknown");
                         });

FrequencyWord wordAt(const QByteArray& bytes, qsizetype at = 0)
{
    return {static_cast<quint8>(bytes[at]), static_cast<quint8>(bytes[at + 1]),
            static_cast<quint8>(bytes[at + 2])};
}
FrequencyWord wordOf(const char* hex)
{
    return wordAt(hexBytes(hex));
}

// A plan the check accepts, drawn at random over the model's values: distinct channel numbers,
// frequencies anywhere on the band's grid or repeater marks, every list's entries, both switches.
AppState generatedPlan(const StationModel& model, std::mt19937& random)
{
    const auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const auto from = [&pick](std::span<const QStringView> list) {
        return list[pick(list.size())].toString();
    };
    const auto sign = [&pick] { return pick(2) ? QStringLiteral("+") : QStringLiteral("-"); };
    const StationType& band = model.band;
    const auto gridSteps = static_cast<std::size_t>((band.upperLimitKHz - band.lowerLimitKHz) / 6.25) + 1;
    const auto frequency = [&](QStringView mark) {
        return pick(8) == 0 ? mark.toString()
                            : shortestDecimalText(band.lowerLimitKHz + 6.25 * pick(gridSteps));
    };

    const int count = 1 + static_cast<int>(pick(static_cast<std::size_t>(model.maxChannels)));
    std::vector<int> numbers(static_cast<std::size_t>(model.maxChannels));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    ChannelTable table;
    table.setRowCount(count + 1);
    table.writeCaptions();
    table.createFlags();
    for (int row = 1; row <= count; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            if (const auto list = columnValues(columnAt(c)); !list.empty())
                table.setCell(columnAt(c), row, from(list));
        }
        // Half the rows in CTCSS mode; the power steps the check refuses moved one step.
        if (pick(2) == 0) {
            table.setCell(Column::DcsRx, row, NoneText.toString());
            table.setCell(Column::DcsTx, row, NoneText.toString());
        }
        if (table.cell(Column::PowerMax, row) == u"1")
            table.setCell(Column::PowerMax, row, QStringLiteral("2"));
        if (table.cell(Column::PowerMin, row) == u"4")
            table.setCell(Column::PowerMin, row, QStringLiteral("3"));
        table.setCell(Column::ChannelNumber, row,
                      QString::number(numbers[static_cast<std::size_t>(row - 1)]));
        table.setCell(Column::RxFrequency, row, frequency(RxRepeaterMark));
        table.setCell(Column::TxFrequency, row, frequency(TxRepeaterMark));
        for (const Column flag : {Column::Scan, Column::IdTone, Column::Active})
            table.setFlag(flag, row, pick(2) == 0);
    }

    const int volume = 1 + static_cast<int>(pick(16));
    QString id;
    for (int i = 0; i < 4; ++i)
        id += QStringLiteral("0123456789ABCDabcd#*")[static_cast<qsizetype>(pick(20))];
    QStringList lines{GeneralSettings::sectionLine(), QStringLiteral("Id_номер=") + id};
    for (int tone = 1; tone <= 10; ++tone)
        lines << QStringLiteral("Тон%1=%2").arg(tone).arg(700 + pick(1851));
    lines
        << QStringLiteral("P_1=5") << QStringLiteral("P_2=10") << QStringLiteral("P_3=25")
        << QStringLiteral("P_4=40") << QStringLiteral("Яркость диодов=%1").arg(1 + pick(5))
        << QStringLiteral("Громкость=%1").arg(volume)
        << QStringLiteral("МинГромкость=%1").arg(pick(static_cast<std::size_t>(std::min(volume, 8) + 1)))
        << QStringLiteral("Пик_кнопок=") + sign()
        << QStringLiteral("ФВ=%1%2").arg(QStringLiteral("0124")[static_cast<qsizetype>(pick(4))]).arg(pick(3))
        << QStringLiteral("Код_DCS=") + sign() << QStringLiteral("Ф_Скан=") + sign()
        << QStringLiteral("Ф_V=") + sign() << QStringLiteral("ВУ=") + sign()
        << QStringLiteral("СК=%1").arg(numbers[pick(static_cast<std::size_t>(count))]);

    AppState state;
    state.selectBand(band.band);
    state.adoptPlan(GeneralSettings(lines), table);
    state.selectModule(moduleTypeOfCode(static_cast<quint8>(pick(5))));
    return state;
}

} // namespace

TEST_P(EveryModel, OneChannelTemplateAtTheLowerLimitGivesTheGoldenStream)
{
    AppState state = templatePlan(1);
    const CheckResult result = runDataCheck(state);
    ASSERT_TRUE(result.passed) << result.message.text.toStdString();
    EXPECT_EQ(result.message, UserMessage::notice(QStringLiteral("Все данные введены верно.")));
    EXPECT_TRUE(state.dataChecked());
    EXPECT_EQ(state.settingsDigitCount(), 43);
    const QByteArray expected = hexBytes(golden().templateStream);
    EXPECT_PRED_FORMAT2(
        SameWriteStream,
        state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode), expected);
    // The module and band code are taken when the stream is made, never kept in the image.
    const QByteArray other = state.image().writeStream(3, 1);
    EXPECT_EQ(other.mid(22, 4), hexBytes("03010101"));
    EXPECT_EQ(other.mid(26), expected.mid(26));
}

TEST_P(EveryModel, AStationsGoldenStreamReadsBackAs27LinesAndOneRow)
{
    const QByteArray stream = hexBytes(golden().stationStream);
    ASSERT_EQ(stream.size(), 28 + 18);
    const ReadStreamDecode decoded = decodeReadStream(stream, band());
    ASSERT_TRUE(decoded.ok()) << decoded.refusal.text.toStdString();
    const ReadBack& rb = *decoded.readBack;

    const QStringList expected =
        QStringLiteral(
            "[Общие установки]|Серийный номер=012345|Id_номер=0001|Тон1=700|Тон2=750|Тон3=1000|"
            "Тон4=1200|Тон5=1400|Тон6=1550|Тон7=1700|Тон8=1990|Тон9=2100|Тон10=2400|P_1=5|P_2=10|"
            "P_3=25|P_4=40|Яркость диодов=1|Громкость=8|МинГромкость=0|Пик_кнопок=+|ФВ=00|Код_DCS=+|"
            "Ф_Скан=+|Ф_V=+|ВУ=-|СК=1")
            .split(u'|');
    ASSERT_EQ(expected.size(), 27);
    EXPECT_EQ(rb.settings, GeneralSettings(expected));
    EXPECT_EQ(rb.serialNumber, QStringLiteral("012345"));

    const ChannelTable& t = rb.table;
    ASSERT_EQ(t.rowCount(), 2);
    for (int c = 0; c < ColumnCount; ++c)
        EXPECT_EQ(t.cell(columnAt(c), 0), columnCaption(columnAt(c))) << c;
    const QString kHz = QString::fromUtf8(golden().stationKHz);
    const QStringList row = QStringLiteral("1|%1|%1|Нет|Нет|Нет|Нет|Нет|Нет|1|4|1").arg(kHz).split(u'|');
    for (int c = 0; c < row.size(); ++c)
        EXPECT_EQ(t.cell(columnAt(c), 1), row[c]) << c;
    EXPECT_EQ(t.cell(Column::Width, 1), QStringLiteral("25"));
    EXPECT_EQ(t.cell(Column::TxOff, 1), QStringLiteral("Норм"));
    EXPECT_EQ(t.cell(Column::Time, 1), QStringLiteral("Нет"));
    EXPECT_EQ(t.rowFlags(1), (RowFlags{true, false, true}));

    EXPECT_EQ(rb.image.channelCount, 1);
    EXPECT_EQ(rb.image.toneCodes[7], 199);
    EXPECT_EQ(rb.image.functionFlags, 0x06);
    EXPECT_EQ(rb.moduleType, 0);
    EXPECT_EQ(rb.typeCode, band().typeCode);

    // The station's stream is the one-channel image's, serial first, IdCode before the tones.
    DeviceImage station = oneChannelTemplateImage();
    station.records[0].setRxFrequencyWord(
        wordAt(stream, ReadRecords + inRecord(RecordField::RxFrequencyWord)));
    station.records[0].setTxFrequencyWord(
        wordAt(stream, ReadRecords + inRecord(RecordField::TxFrequencyWord)));
    EXPECT_PRED_FORMAT2(SameReadStream, encodeReadStream(station, 0x012345, 0, band().typeCode), stream);
}

TEST_P(EveryModel, AnImageOfDistinctHeaderBytesTravelsBothStreamsBothWays)
{
    // Every header field different: any two swapped on the way out or back change the bytes.
    const DeviceImage image = distinctHeaderImage();
    const QByteArray written = image.writeStream(DistinctModuleType, DistinctTypeCode);
    EXPECT_PRED_FORMAT2(SameWriteStream, written, distinctHeaderWriteStream());
    const auto back = readWriteStream(written);
    ASSERT_TRUE(back.has_value());
    EXPECT_PRED_FORMAT2(SameImage, back->image, image);
    EXPECT_EQ(back->moduleType, DistinctModuleType);
    EXPECT_EQ(back->typeCode, DistinctTypeCode);
    // Only the records the stream holds; nothing from a header cut short.
    EXPECT_EQ(readWriteStream(written.left(26 + 5))->image.channelCount, 0);
    EXPECT_FALSE(readWriteStream(written.left(25)).has_value());

    EXPECT_PRED_FORMAT2(SameReadStream,
                        encodeReadStream(image, DistinctSerialNumber, DistinctModuleType, DistinctTypeCode),
                        distinctHeaderReadStream());
    const ReadStreamDecode read = decodeReadStream(distinctHeaderReadStream(), band());
    ASSERT_TRUE(read.ok());
    EXPECT_PRED_FORMAT2(SameImage, read.readBack->image, image);
    EXPECT_EQ(read.readBack->moduleType, DistinctModuleType);
    EXPECT_EQ(read.readBack->typeCode, DistinctTypeCode);
}

TEST_P(EveryModel, WorkedFrequencyWordsBothWays)
{
    for (const WordCase& c : golden().words) {
        const qint32 offset = c.receive ? band().receiveOffsetKHz : 0;
        const FrequencyWord word = frequencyWordForKHz(c.kHz + offset, band().dividerModulus);
        EXPECT_EQ(word, wordOf(c.bytes)) << c.kHz;
        EXPECT_EQ(decodeFrequencyWordSteps(word, band().dividerModulus), c.steps) << c.kHz;
        EXPECT_DOUBLE_EQ(stepsToKHz(c.steps) - offset, c.kHz);

        // The same word from the check, and the same frequency from the read-back.
        const Column column = c.receive ? Column::RxFrequency : Column::TxFrequency;
        AppState state = templatePlan(1);
        state.editTable().setCell(column, 1, shortestDecimalText(c.kHz));
        ASSERT_TRUE(runDataCheck(state).passed) << c.kHz;
        const ChannelRecord& record = state.image().records[0];
        EXPECT_EQ(c.receive ? record.rxFrequencyWord() : record.txFrequencyWord(), wordOf(c.bytes)) << c.kHz;
        const PlanFromImage plan = planFromImage({state.image()}, band());
        ASSERT_TRUE(plan.plan.has_value());
        EXPECT_EQ(plan.plan->table.cell(column, 1), QString::fromUtf8(c.text));
    }
}

TEST_P(EveryModel, EncodeDecodeEncodeKeepsTheBytesOfGeneratedPlans)
{
    std::mt19937 random(20240611);
    for (int n = 0; n < 25; ++n) {
        AppState state = generatedPlan(model(), random);
        const CheckResult first = runDataCheck(state);
        ASSERT_TRUE(first.passed) << first.message.text.toStdString();
        const QByteArray written = state.image().writeStream(moduleCode(state.moduleType()), band().typeCode);

        // The station keeps what it was sent and gives it back; the plan read from it, checked
        // again, is sent as the same bytes.
        const auto held = readWriteStream(written);
        ASSERT_TRUE(held.has_value());
        EXPECT_PRED_FORMAT2(SameImage, held->image, state.image());
        const QByteArray stream = encodeReadStream(held->image, 0x012345, held->moduleType, held->typeCode);
        const ReadStreamDecode read = decodeReadStream(stream, band());
        ASSERT_TRUE(read.ok()) << read.refusal.text.toStdString();
        AppState again;
        applyReadBack(again, *read.readBack);
        const CheckResult second = runDataCheck(again);
        ASSERT_TRUE(second.passed) << second.message.text.toStdString();
        EXPECT_PRED_FORMAT2(
            SameWriteStream,
            again.image().writeStream(moduleCode(again.moduleType()), again.stationType().typeCode), written);
    }
}

TEST_P(EveryModel, BandAndChannelLimitsHoldAndOneStepBeyondIsRefused)
{
    // Both band limits are allowed, in either column.
    const QString lower = shortestDecimalText(band().lowerLimitKHz);
    const QString upper = shortestDecimalText(band().upperLimitKHz);
    AppState plan = templatePlan(2);
    plan.editTable().setCell(Column::RxFrequency, 1, lower);
    plan.editTable().setCell(Column::TxFrequency, 1, upper);
    plan.editTable().setCell(Column::RxFrequency, 2, upper);
    plan.editTable().setCell(Column::TxFrequency, 2, lower);
    EXPECT_TRUE(runDataCheck(plan).passed);

    // One grid step beyond either limit: refused, the band named in MHz, nothing changed.
    struct Beyond
    {
        Column column;
        int row;
        double kHz;
    };
    for (const Beyond b : {Beyond{Column::RxFrequency, 1, band().lowerLimitKHz - 6.25},
                           Beyond{Column::TxFrequency, 2, band().upperLimitKHz + 6.25}}) {
        AppState state = plan;
        state.acceptCheck(state.image(),
                          state.settingsDigitCount()); // a check clears it before anything else
        state.editTable().setCell(b.column, b.row, shortestDecimalText(b.kHz));
        const AppState before = state;
        const CheckResult result = runDataCheck(state);
        EXPECT_FALSE(result.passed) << b.kHz;
        EXPECT_EQ(result.message,
                  UserMessage::notice(QStringLiteral("Ошибка в канале №%1 частотный диапазон %2 MГц")
                                          .arg(b.row)
                                          .arg(QString::fromUtf8(golden().limitsMHz))))
            << b.kHz;
        EXPECT_FALSE(state.dataChecked());
        EXPECT_EQ(state.table(), before.table());
        EXPECT_EQ(state.settings(), before.settings());
    }

    // The model's channels fit the image; one more does not.
    AppState full = templatePlan(model().maxChannels, 6.25);
    setSetting(full, QStringLiteral("СК"), QString::number(model().maxChannels));
    ASSERT_TRUE(runDataCheck(full).passed);
    EXPECT_EQ(full.image().channelCount, 99);
    EXPECT_EQ(full.image().specialChannelIndex, 98);
    EXPECT_EQ(full.image().records[98].channelNumber(), 99);
    EXPECT_EQ(full.image().writeStream(0, 0).size(), 1808);
    full.editTable().setRowCount(model().maxChannels + 2);
    const AppState before = full;
    const CheckResult tooMany = runDataCheck(full);
    EXPECT_FALSE(tooMany.passed);
    EXPECT_EQ(tooMany.message,
              UserMessage::notice(QStringLiteral(
                  "В таблице больше 99 каналов. В радиостанцию можно записать не более 99 каналов")));
    EXPECT_FALSE(full.dataChecked());
    EXPECT_EQ(full.table(), before.table());
    EXPECT_EQ(full.settings(), before.settings());

    // A station's stream of as many records reads back whole; one more is refused as soon as the
    // header is in.
    const QByteArray station = hexBytes(golden().stationStream);
    EXPECT_TRUE(checkReadStreamHeader(station).isEmpty());
    const QByteArray stream = encodeReadStream(full.image(), 0xABCDEF, 4, band().typeCode);
    ASSERT_EQ(stream.size(), 1810);
    EXPECT_EQ(model().longestReadTime(), std::chrono::milliseconds{15084}); // 10 bits a byte at 1200 baud
    const ReadStreamDecode whole = decodeReadStream(stream, band());
    ASSERT_TRUE(whole.ok()) << whole.refusal.text.toStdString();
    EXPECT_PRED_FORMAT2(SameImage, whole.readBack->image, full.image());
    QByteArray oneMore = station;
    oneMore[readAt(HeaderField::ChannelCount)] = static_cast<char>(model().maxChannels + 1);
    const ReadStreamDecode refused = decodeReadStream(oneMore, band());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(
        refused.refusal.text,
        QStringLiteral("Станция передала число каналов 100, а допускается не более 99: данные не приняты."));
    EXPECT_FALSE(checkReadStreamHeader(oneMore).isEmpty());
}

TEST(StreamComparison, NamesTheFieldsTwoStreamsDifferInWithTheirValues)
{
    const QByteArray written = distinctHeaderWriteStream();
    QByteArray held = written;
    held[headerField(HeaderField::FvCode).writeOffset] = 0x21;
    held[headerSize(Stream::Write) + inRecord(RecordField::RxCode)] = 0x08;
    const testing::AssertionResult result = SameWriteStream("written", "held", written, held);
    EXPECT_FALSE(result);
    EXPECT_STREQ(result.message(),
                 "written and held differ:\n  header FvCode: 0x43 ≠ 0x21\n  record 1 RxCode: 0xC8 ≠ 0x08");
}
