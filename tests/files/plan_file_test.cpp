#include "common/platform_texts.h"
#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "model/channel_template.h"
#include "session/app_state.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace yalmera;
using namespace yalmera::files;

namespace {

QByteArray cp1251(const QString& text)
{
    return encodeWindows1251(text).value_or(QByteArray());
}

QString fromCp1251(const QByteArray& bytes)
{
    return decodeWindows1251(bytes);
}

// Lines joined with CR LF and encoded as a plan file is.
QByteArray planBytes(const QString& linesWithLf)
{
    QString text = linesWithLf;
    text.replace(u'\n', QStringLiteral("\r\n"));
    return cp1251(text);
}

QStringList linesOf(std::initializer_list<const char16_t*> lines)
{
    QStringList list;
    for (const char16_t* line : lines)
        list << QString::fromUtf16(line);
    return list;
}

TemplateResult templatePlan(const QString& count)
{
    TemplateFields fields;
    fields.count = count;
    fields.startKHz = QStringLiteral("140000");
    fields.offsetKHz = QStringLiteral("1000");
    return makeChannelTemplate(fields, StationType::forBand(Band::Mhz144to174));
}

PlanFileContents decoded(const QByteArray& bytes)
{
    PlanDecodeResult result = decodePlan(bytes);
    EXPECT_TRUE(result.error.isEmpty()) << result.error.text.toStdString();
    return result.contents.value_or(PlanFileContents{});
}

// A file whose settings section and first channel section hold the given lines.
QByteArray fileWith(const QString& settingsLines, const QString& channelLines)
{
    return planBytes(QStringLiteral("[Общие установки]\n") + settingsLines + QStringLiteral("[1]\n") +
                     channelLines);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The one-channel template plan (count 1, start 140000, offset 1000, 144-174 MHz, no module)
// exactly as a plan file holds it: Windows-1251, CR LF.
QByteArray oneChannelPlanFile()
{
    return readAll(QStringLiteral(YALMERA_SOURCE_DIR "/tests/files/data/one_channel_template.ini"));
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// --- writing -------------------------------------------------------------------------------

TEST(PlanWriter, OneChannelTemplateIsTheExampleFileByteForByte)
{
    const TemplateResult plan = templatePlan(QStringLiteral("1"));
    ASSERT_TRUE(plan.ok());
    const QByteArray expected = oneChannelPlanFile();
    ASSERT_EQ(expected.count('\n'), 47);
    EXPECT_EQ(encodePlan(plan.settings, plan.table, 0, 0), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K17M_10.ini"));
    EXPECT_TRUE(writePlanFile(path, plan.settings, plan.table, 0, 0).isEmpty());
    EXPECT_EQ(readAll(path), expected);
}

TEST(PlanWriter, TypeAndModuleGoAfterTheLastSettingsKeyLine)
{
    GeneralSettings settings(linesOf({u"[Общие установки]", u"СК=1", u"", u"; заметка"}));
    ChannelTable table;
    const QString text = fromCp1251(encodePlan(settings, table, 1, 4));
    EXPECT_EQ(text, QStringLiteral("[Общие установки]\r\nСК=1\r\nТип=1\r\nТипВУ=4\r\n\r\n; заметка\r\n"));
}

TEST(PlanWriter, ReplacesATypeLineInPlaceInsteadOfAddingASecond)
{
    GeneralSettings settings(linesOf({u"[Общие установки]", u"тип = 5", u"Громкость=8", u"ТипВУ=1"}));
    ChannelTable table;
    const QString text = fromCp1251(encodePlan(settings, table, 0, 2));
    EXPECT_EQ(text, QStringLiteral("[Общие установки]\r\nТип=0\r\nГромкость=8\r\nТипВУ=2\r\n"));
}

TEST(PlanWriter, SettingsWithoutSectionLineGetTheSectionCreatedForTypeAndModule)
{
    const TemplateResult plan = templatePlan(QStringLiteral("1"));
    GeneralSettings settings(linesOf({u"Громкость=3", u"СК=1"}));
    const QString text = fromCp1251(encodePlan(settings, plan.table, 1, 3));
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("Громкость=3\r\nСК=1\r\n[Общие установки]\r\nТип=1\r\nТипВУ=3\r\n[1]\r\n")))
        << text.toStdString();

    const PlanFileContents read = decoded(encodePlan(settings, plan.table, 1, 3));
    EXPECT_EQ(read.settings.lookup(u"Громкость"), QStringLiteral("8")); // the reader's default
    EXPECT_EQ(read.settings.lookup(u"СК"), QStringLiteral("1"));
    EXPECT_EQ(read.typeCode, 1);
    EXPECT_EQ(read.moduleType, 3);
}

TEST(PlanWriter, EmptyCellsAreWrittenAsKeyAndEqualsSign)
{
    TemplateResult plan = templatePlan(QStringLiteral("1"));
    plan.table.setCell(Column::Time, 1, QString());
    const QString text = fromCp1251(encodePlan(plan.settings, plan.table, 0, 0));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nВремя=\r\n")));
}

TEST(PlanWriter, RefusesWithoutATableAndWhileRowsLackTheirFlags)
{
    // After a band change the rows have no flags: the file would store every flag as "нет".
    const TemplateResult plan = templatePlan(QStringLiteral("3"));
    EXPECT_FALSE(planWriteRefusal(true, plan.table).has_value());
    EXPECT_TRUE(
        planWriteRefusal(false, plan.table)->text.startsWith(QStringLiteral("Нет данных для записи")));

    ChannelTable bandChanged = plan.table;
    bandChanged.removeFlags();
    ChannelTable lastRowAdded = plan.table;
    lastRowAdded.setRowCount(3);
    lastRowAdded.setRowCount(4); // row 3 comes back without its flags
    const std::pair<const ChannelTable*, int> cases[] = {{&bandChanged, 1}, {&lastRowAdded, 3}};
    for (const auto& [table, row] : cases) {
        const QString refusal =
            QStringLiteral("В строчке №%1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\": таблица "
                           "не будет записана в файл. Создайте шаблон или прочитайте файл заново")
                .arg(row);
        EXPECT_EQ(planWriteRefusal(true, *table)->text, refusal);
        const PlanEncodeResult encoded = tryEncodePlan(plan.settings, *table, 0, 0);
        EXPECT_TRUE(encoded.bytes.isEmpty());
        EXPECT_EQ(encoded.error.text, refusal);
    }
}

// --- write then read ---------------------------------------------------------------------

TEST(PlanRoundTrip, GivesTheSameCellsFlagsTypeAndModule)
{
    TemplateResult plan = templatePlan(QStringLiteral("4"));
    ChannelTable& t = plan.table;
    t.setCell(Column::ChannelNumber, 1, QStringLiteral("17"));
    t.setCell(Column::RxFrequency, 1, QStringLiteral("144006,25"));
    t.setCell(Column::TxFrequency, 1, QStringLiteral("РЕТР_ПР"));
    t.setCell(Column::RxFrequency, 2, QStringLiteral("РЕТР_ПП"));
    t.setCell(Column::TxFrequency, 2, QStringLiteral("145000,00"));
    t.setCell(Column::CtcssRx, 2, QStringLiteral("67,0"));
    t.setCell(Column::DcsTx, 3, QStringLiteral("023"));
    t.setCell(Column::ToneRx, 3, QStringLiteral("10"));
    t.setCell(Column::Width, 3, QStringLiteral("12,5"));
    t.setCell(Column::TxOff, 4, QStringLiteral("RSSI"));
    t.setCell(Column::Time, 4, QStringLiteral("15"));
    t.setCell(Column::Squelch, 4, QString());
    t.setCell(Column::PowerMax, 4, QStringLiteral("a=b")); // split at the first "="
    t.setFlag(Column::Scan, 2, false);
    t.setFlag(Column::IdTone, 3, true);
    t.setFlag(Column::Active, 4, false);

    for (const auto& [typeCode, moduleType] : {std::pair<quint8, quint8>{0, 0}, {1, 3}, {2, 4}, {255, 0}}) {
        const PlanFileContents read = decoded(encodePlan(plan.settings, t, typeCode, moduleType));
        EXPECT_EQ(read.typeCode, typeCode);
        EXPECT_EQ(read.moduleType, moduleType);
        ASSERT_EQ(read.table.rowCount(), t.rowCount());
        for (int row = 1; row < t.rowCount(); ++row) {
            for (int column = 0; column < ColumnCount; ++column) {
                if (isFlagColumn(columnAt(column)))
                    EXPECT_EQ(read.table.flag(columnAt(column), row), t.flag(columnAt(column), row))
                        << row << ' ' << column;
                else
                    EXPECT_EQ(read.table.cell(columnAt(column), row), t.cell(columnAt(column), row))
                        << row << ' ' << column;
            }
        }
        EXPECT_EQ(read.table.cell(Column::TxFrequency, 0), QStringLiteral(" Tx, кГЦ"));
        EXPECT_EQ(read.table.cell(Column::RxFrequency, 0), QStringLiteral(" Rx, кГц"));
    }
}

TEST(PlanRoundTrip, SettingsComeBackAsTheReadersTwentySevenLines)
{
    TemplateResult plan = templatePlan(QStringLiteral("1"));
    plan.settings.appendLine(QStringLiteral("Лишний ключ=7")); // not in the reader's list: dropped
    const PlanFileContents read = decoded(encodePlan(plan.settings, plan.table, 0, 0));
    QStringList expected = GeneralSettings::templateLines();
    expected.insert(1, QStringLiteral("Серийный номер=100000"));
    EXPECT_EQ(read.settings.lines(), expected);
}

TEST(PlanRoundTrip, Windows1251SignsAndEuroSurvive)
{
    TemplateResult plan = templatePlan(QStringLiteral("1"));
    plan.settings.setLines(linesOf({u"[Общие установки]", u"Серийный номер=№Ё-ёЪ€", u"Id_номер=0001"}));
    plan.table.setCell(Column::Time, 1, QStringLiteral("№5"));
    const QByteArray bytes = encodePlan(plan.settings, plan.table, 0, 0);
    EXPECT_TRUE(bytes.contains("\xB9\xA8-\xB8\xDA\x88")); // №, Ё, -, ё, Ъ, €
    const PlanFileContents read = decoded(bytes);
    EXPECT_EQ(read.settings.lookup(u"Серийный номер"), QStringLiteral("№Ё-ёЪ€"));
    EXPECT_EQ(read.table.cell(Column::Time, 1), QStringLiteral("№5"));
}

TEST(PlanRoundTrip, FivePlanChannelsOverATenChannelFileLeaveFive)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.ini"));
    const TemplateResult ten = templatePlan(QStringLiteral("10"));
    const TemplateResult five = templatePlan(QStringLiteral("5"));
    ASSERT_TRUE(writePlanFile(path, ten.settings, ten.table, 0, 0).isEmpty());
    ASSERT_TRUE(writePlanFile(path, five.settings, five.table, 0, 0).isEmpty());
    EXPECT_EQ(readAll(path), encodePlan(five.settings, five.table, 0, 0));
    const PlanDecodeResult read = readPlanFile(path);
    ASSERT_TRUE(read.contents.has_value());
    EXPECT_EQ(read.contents->table.channelCount(), 5);
}

// --- reading ---------------------------------------------------------------------------------

TEST(PlanReader, MissingKeysTakeTheReadersOwnDefaults)
{
    const PlanFileContents read =
        decoded(fileWith(QStringLiteral("Громкость=12\n"), QStringLiteral("Rx=150000\n")));
    const QStringList expected = linesOf({
        u"[Общие установки]",
        u"Серийный номер=100000",
        u"Id_номер=1000",
        u"Тон1=1000",
        u"Тон2=1000",
        u"Тон3=1000",
        u"Тон4=1000",
        u"Тон5=1000",
        u"Тон6=1000",
        u"Тон7=1000",
        u"Тон8=1000",
        u"Тон9=1000",
        u"Тон10=1000",
        u"P_1=1",
        u"P_2=1",
        u"P_3=1",
        u"P_4=1",
        u"Яркость диодов=1",
        u"Громкость=12",
        u"МинГромкость=1",
        u"Пик_кнопок=+",
        u"ФВ=00",
        u"Код_DCS=+",
        u"Ф_Скан=-",
        u"Ф_V=-",
        u"ВУ=-",
        u"СК=1",
    });
    EXPECT_EQ(read.settings.lines(), expected);

    const std::pair<Column, const char16_t*> cells[] = {
        {Column::ChannelNumber, u"1"}, {Column::RxFrequency, u"150000"}, {Column::TxFrequency, u"144000"},
        {Column::CtcssRx, u"Нет"},     {Column::CtcssTx, u"Нет"},        {Column::DcsRx, u"Нет"},
        {Column::DcsTx, u"Нет"},       {Column::ToneRx, u"Нет"},         {Column::ToneTx, u"Нет"},
        {Column::Squelch, u"1"},       {Column::PowerMax, u"1"},         {Column::PowerMin, u"1"},
        {Column::Width, u"25"},        {Column::TxOff, u"Норм"},         {Column::Time, u"Нет"},
    };
    for (const auto& [column, text] : cells)
        EXPECT_EQ(read.table.cell(column, 1), QString::fromUtf16(text)) << columnIndex(column);
    EXPECT_EQ(read.table.rowFlags(1), (RowFlags{false, false, false}));
}

TEST(PlanReader, AnEmptyValueIsEmptyNotTheDefault)
{
    const PlanFileContents read =
        decoded(fileWith(QStringLiteral("Id_номер=\nСерийный номер=  \n"), QStringLiteral("Rx=\nВремя=\n")));
    EXPECT_EQ(read.settings.lines().value(1), QStringLiteral("Серийный номер="));
    EXPECT_EQ(read.settings.lines().value(2), QStringLiteral("Id_номер="));
    EXPECT_EQ(read.table.cell(Column::RxFrequency, 1), QString());
    EXPECT_EQ(read.table.cell(Column::Time, 1), QString());
}

TEST(PlanReader, OnlyNetClearsAFlagAndAMissingKeyClearsIt)
{
    const std::pair<const char16_t*, bool> cases[] = {
        {u"Сканировать=да", true},    {u"Сканировать=ДА", true},      {u"Сканировать=yes", true},
        {u"Сканировать=", true},      {u"Сканировать=Нет", true},     {u"Сканировать=НЕТ", true},
        {u"Сканировать=нет", false},  {u"Сканировать = нет ", false}, {u"сканировать=нет", false},
        {u"Сканировать0=нет", false}, // another key: the flag's key is missing
    };
    for (const auto& [line, expected] : cases) {
        const PlanFileContents read = decoded(fileWith({}, QString::fromUtf16(line) + u'\n'));
        EXPECT_EQ(read.table.flag(Column::Scan, 1), expected) << QString::fromUtf16(line).toStdString();
    }
}

TEST(PlanReader, CountsChannelSectionsUpToTheFirstMissingOrEmptyOne)
{
    struct Case
    {
        const char16_t* file;
        int channels;
    };
    const Case cases[] = {
        {u"[1]\nНомер=1\n[2]\nНомер=2\n[4]\nНомер=4\n", 2},
        {u"[1]\nНомер=1\n[2]\n; нет ключей\nбез знака равенства\n[3]\nНомер=3\n", 1},
        {u"[2]\nНомер=2\n[1]\nНомер=1\n", 2},             // order in the file does not matter
        {u"[1]\nНомер=1\n[01]\nНомер=2\n", 1},            // "01" is not "2"
        {u"[1]\n=безымянный\n[1]\nНомер=1\n", 0},         // the first section "1" counts, and it is keyless
        {u"  [ 1 ]  \nНомер=7\n\n\n[2]\r\nНомер=8\n", 2}, // blanks and blank lines are not significant
    };
    for (const Case& c : cases) {
        const PlanDecodeResult read = decodePlan(cp1251(QString::fromUtf16(c.file)));
        if (c.channels == 0) {
            EXPECT_FALSE(read.contents.has_value());
            continue;
        }
        ASSERT_TRUE(read.contents.has_value()) << QString::fromUtf16(c.file).toStdString();
        EXPECT_EQ(read.contents->table.channelCount(), c.channels)
            << QString::fromUtf16(c.file).toStdString();
    }
}

TEST(PlanReader, NamesCompareWithoutCaseAndTheFirstOccurrenceWins)
{
    const PlanFileContents read = decoded(planBytes(QStringLiteral(
        "[ОБЩИЕ УСТАНОВКИ]\nгромкость=5\nГромкость=6\nтипву=2\n[1]\nRX=145000\nrx=146000\nСКАНИРОВАТЬ=нет\n"
        "[общие установки]\nСК=9\n[1]\nTx=1\n")));
    EXPECT_EQ(read.settings.lookup(u"Громкость"), QStringLiteral("5"));
    EXPECT_EQ(read.settings.lookup(u"СК"), QStringLiteral("1")); // the second section is not read
    EXPECT_EQ(read.moduleType, 2);
    EXPECT_EQ(read.table.cell(Column::RxFrequency, 1), QStringLiteral("145000"));
    EXPECT_EQ(read.table.cell(Column::TxFrequency, 1), QStringLiteral("144000"));
    EXPECT_EQ(read.table.flag(Column::Scan, 1), false);
}

TEST(PlanReader, TypeAndModuleAreWholeNumbersCutToEightBits)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"Тип=1", 1},   {u"Тип=7", 7},   {u"Тип=$101", 1}, {u"Тип=0x0A", 10}, {u"Тип=-1", 255},
        {u"Тип=1,5", 0}, {u"Тип=abc", 0}, {u"Тип=", 0},     {u"Тип= 2 ", 2},   {u"Громкость=8", 0},
    };
    for (const auto& [line, expected] : cases) {
        const PlanFileContents read =
            decoded(fileWith(QString::fromUtf16(line) + u'\n', QStringLiteral("Номер=1\n")));
        EXPECT_EQ(read.typeCode, expected) << QString::fromUtf16(line).toStdString();
    }
    EXPECT_EQ(decoded(fileWith(QStringLiteral("ТипВУ=260\n"), QStringLiteral("Номер=1\n"))).moduleType, 4);
}

TEST(PlanReader, TypeCodeSelectsTheBandWhenTheStateAdoptsTheFile)
{
    AppState state;
    state.adoptPlanFile(decoded(fileWith(QStringLiteral("Тип=2\n"), QStringLiteral("Номер=1\n"))));
    EXPECT_EQ(state.stationType().band, Band::Mhz30to60);
    EXPECT_EQ(state.stationType().modelCaption(), QStringLiteral("Ялмера 4К-15"));
    EXPECT_EQ(state.stationType().typeCode, 2);

    state.selectBand(Band::Mhz144to174);
    state.adoptPlanFile(decoded(fileWith(QStringLiteral("Тип=7\n"), QStringLiteral("Номер=1\n"))));
    EXPECT_EQ(state.stationType().band, Band::Mhz144to174);
    EXPECT_EQ(state.stationType().lowerLimitKHz, 140000);
    EXPECT_EQ(state.stationType().upperLimitKHz, 174000);
    EXPECT_EQ(state.stationType().typeCode, 7);
}

TEST(PlanReader, AcceptsEveryLineEndAndUtf8Files)
{
    const QByteArray crlf = oneChannelPlanFile();
    const PlanFileContents expected = decoded(crlf);
    ASSERT_EQ(expected.table.channelCount(), 1);

    const QString lf = fromCp1251(crlf).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString cr = lf;
    cr.replace(u'\n', u'\r');
    QString noFinalBreak = lf;
    noFinalBreak.chop(1);
    const QByteArray variants[] = {
        cp1251(lf), cp1251(cr), cp1251(noFinalBreak), lf.toUtf8(), QByteArray("\xEF\xBB\xBF") + lf.toUtf8(),
    };
    for (const QByteArray& bytes : variants) {
        const PlanFileContents read = decoded(bytes);
        EXPECT_EQ(read.settings, expected.settings);
        EXPECT_EQ(read.table, expected.table);
        EXPECT_EQ(read.typeCode, expected.typeCode);
    }
}

TEST(PlanReader, Utf8WithByteOrderMarkAndWindows1251WithStrayBytes)
{
    const QByteArray utf8 =
        QByteArray("\xEF\xBB\xBF") +
        QStringLiteral("[Общие установки]\r\nСерийный номер=№42\r\n[1]\r\nНомер=1\r\n").toUtf8();
    EXPECT_EQ(decoded(utf8).settings.lookup(u"Серийный номер"), QStringLiteral("№42"));
    // An ASCII-only file with a mark is still read (as UTF-8, which is the same text).
    EXPECT_EQ(decoded(QByteArray("\xEF\xBB\xBF[1]\r\nNomer=1\r\n")).table.channelCount(), 1);
    // Byte 0x98 has no letter in Windows-1251; the file is still read.
    EXPECT_EQ(decoded(QByteArray("[1]\r\nRx=\x98\r\n")).table.cell(Column::RxFrequency, 1).size(), 1);
}

TEST(PlanReader, RefusesFilesWithoutChannelsOrWithTooMany)
{
    const PlanDecodeResult none =
        decodePlan(planBytes(QStringLiteral("[Общие установки]\nТип=1\n[2]\nНомер=2\n")));
    EXPECT_FALSE(none.contents.has_value());
    EXPECT_EQ(none.error.kind, MessageKind::Notice);
    EXPECT_EQ(
        none.error.text,
        QStringLiteral("В файле нет данных каналов (раздел [1] отсутствует или пуст). Файл не прочитан."));
    EXPECT_FALSE(decodePlan(QByteArray()).contents.has_value());

    QString sections;
    for (int n = 1; n <= 100; ++n)
        sections += QStringLiteral("[%1]\nНомер=%1\n").arg(n);
    const PlanDecodeResult tooMany = decodePlan(planBytes(sections));
    EXPECT_FALSE(tooMany.contents.has_value());
    EXPECT_EQ(tooMany.error.text, QStringLiteral("В файле больше 99 каналов. Файл не прочитан."));

    sections.truncate(sections.indexOf(QStringLiteral("[100]")));
    const PlanDecodeResult most = decodePlan(planBytes(sections));
    ASSERT_TRUE(most.contents.has_value());
    EXPECT_EQ(most.contents->table.channelCount(), 99);
    EXPECT_EQ(most.contents->table.cell(Column::ChannelNumber, 99), QStringLiteral("99"));
}

TEST(PlanReader, ARefusedFileLeavesTheStateAsItWas)
{
    AppState state;
    ASSERT_TRUE(state
                    .createTemplate(
                        TemplateFields{QStringLiteral("3"), QStringLiteral("150000"), QStringLiteral("12,5")})
                    .isEmpty());
    state.acceptCheck(state.image(), state.settingsDigitCount());
    const AppState before = state;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("пусто.ini"));
    ASSERT_TRUE(writeAll(path, planBytes(QStringLiteral("[Общие установки]\nТип=1\n"))));
    for (const QString& p : {path, dir.filePath(QStringLiteral("нет такого.ini")), dir.path()}) {
        const PlanDecodeResult read = readPlanFile(p);
        ASSERT_FALSE(read.contents.has_value());
        EXPECT_FALSE(read.error.isEmpty());
        if (read.contents)
            state.adoptPlanFile(*read.contents);
    }
    EXPECT_EQ(state.settings(), before.settings());
    EXPECT_EQ(state.table(), before.table());
    EXPECT_EQ(state.stationType(), before.stationType());
    EXPECT_TRUE(state.dataChecked());
}

TEST(PlanReader, FileErrorsCarryThePlatformsText)
{
    QTemporaryDir dir;
    const PlanDecodeResult missing = readPlanFile(dir.filePath(QStringLiteral("нет.ini")));
    EXPECT_EQ(missing.error.kind, MessageKind::Failure);
    EXPECT_EQ(missing.error.text, test::saidInRussian(u"Нет такого файла или папки", test::noSuchFileText()));
    EXPECT_EQ(readPlanFile(dir.path()).error.kind, MessageKind::Failure);
}

TEST(PlanReader, RefusesAFileLargerThanAnyPlan)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.ini"));
    QByteArray bytes = oneChannelPlanFile();
    bytes += QByteArray(MaxPlanFileBytes, ';');
    ASSERT_TRUE(writeAll(path, bytes));
    PlanDecodeResult read = readPlanFile(path);
    EXPECT_FALSE(read.contents.has_value());

    // Exactly at the limit, even when it is all line breaks, the file is read.
    const QByteArray tail("[1]\r\nRx=5\r\n");
    bytes = QByteArray(MaxPlanFileBytes - tail.size(), '\r') + tail;
    ASSERT_EQ(bytes.size(), MaxPlanFileBytes);
    ASSERT_TRUE(writeAll(path, bytes));
    const PlanDecodeResult atLimit = readPlanFile(path);
    ASSERT_TRUE(atLimit.contents.has_value()) << atLimit.error.text.toStdString();
    EXPECT_EQ(atLimit.contents->table.cell(Column::RxFrequency, 1), QStringLiteral("5"));

    bytes += ' ';
    ASSERT_TRUE(writeAll(path, bytes));
    read = readPlanFile(path);
    EXPECT_FALSE(read.contents.has_value());
    EXPECT_EQ(read.error.text,
              QStringLiteral("Файл слишком велик для файла каналов (больше 1 МБ). Файл не прочитан."));
}

// --- failed saves --------------------------------------------------------------------------

TEST(PlanSave, ACharacterWithoutWindows1251ByteRefusesTheSaveAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plan.ini"));
    ASSERT_TRUE(writeAll(path, "old contents"));
    TemplateResult plan = templatePlan(QStringLiteral("2"));

    GeneralSettings settings = plan.settings;
    settings.appendLine(QStringLiteral("Примечание=😀"));
    const UserMessage refused = writePlanFile(path, settings, plan.table, 0, 0);
    EXPECT_EQ(refused.kind, MessageKind::Notice);
    EXPECT_EQ(refused.text,
              QStringLiteral("Символ «😀» (U+1F600) в строке 27 общих установок нельзя записать в файл: "
                             "в кодировке Windows-1251 такого символа нет. Файл не записан."));
    EXPECT_EQ(readAll(path), QByteArray("old contents"));

    ChannelTable table = plan.table;
    table.setCell(Column::Time, 2, QStringLiteral("ä"));
    const UserMessage cellRefused = writePlanFile(path, plan.settings, table, 0, 0);
    EXPECT_TRUE(cellRefused.text.contains(
        QStringLiteral("«ä» (U+00E4) в канале 2 (строка 2 таблицы), столбец «Время»")))
        << cellRefused.text.toStdString();
    EXPECT_TRUE(encodePlan(plan.settings, table, 0, 0).isEmpty());

    table.setCell(Column::ChannelNumber, 2, QStringLiteral("%2%3"));
    EXPECT_TRUE(tryEncodePlan(plan.settings, table, 0, 0)
                    .error.text.contains(QStringLiteral("в канале %2%3 (строка 2")));

    table.setCell(Column::Time, 2, QString(QChar(0xD800))); // a lone surrogate the converter would drop
    EXPECT_FALSE(tryEncodePlan(plan.settings, table, 0, 0).ok());
    EXPECT_EQ(readAll(path), QByteArray("old contents"));
}

TEST(PlanSave, ALineBreakInsideAValueRefusesTheSave)
{
    TemplateResult plan = templatePlan(QStringLiteral("1"));
    plan.table.setCell(Column::RxFrequency, 1, QStringLiteral("140000\r\n[2]"));
    const PlanEncodeResult encoded = tryEncodePlan(plan.settings, plan.table, 0, 0);
    EXPECT_FALSE(encoded.ok());
    EXPECT_TRUE(encoded.bytes.isEmpty());
    EXPECT_TRUE(encoded.error.text.contains(QStringLiteral("перевод строки")))
        << encoded.error.text.toStdString();

    GeneralSettings settings(linesOf({u"[Общие установки]", u"СК=1\n[1]"}));
    EXPECT_FALSE(tryEncodePlan(settings, templatePlan(QStringLiteral("1")).table, 0, 0).ok());
}

TEST(PlanSave, AFailedSaveLeavesTheOldFileAndCreatesNothing)
{
    QTemporaryDir dir;
    const TemplateResult plan = templatePlan(QStringLiteral("1"));

    const UserMessage noFolder =
        writePlanFile(dir.filePath(QStringLiteral("нет/plan.ini")), plan.settings, plan.table, 0, 0);
    EXPECT_EQ(noFolder.kind, MessageKind::Failure);
    EXPECT_EQ(noFolder.text, test::saidInRussian(u"Нет такого файла или папки", test::noSuchFolderText()));
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("нет"))).exists());

    const QString folder = dir.filePath(QStringLiteral("папка.ini"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(writePlanFile(folder, plan.settings, plan.table, 0, 0).kind, MessageKind::Failure);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // No temporary file is left behind by the failures.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(PlanSave, AReadOnlyTargetKeepsItsContents)
{
    QTemporaryDir dir;
    const TemplateResult plan = templatePlan(QStringLiteral("1"));
    const QString readOnly = dir.filePath(QStringLiteral("защищён.ini"));
    ASSERT_TRUE(writeAll(readOnly, "old contents"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const UserMessage readOnlyError = writePlanFile(readOnly, plan.settings, plan.table, 0, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    if (QFileInfo(readOnly).isWritable())
        GTEST_SKIP() << "permissions do not bind this user (root): the read-only case cannot fail here";
    EXPECT_EQ(readOnlyError.kind, MessageKind::Failure);
    EXPECT_FALSE(readOnlyError.isEmpty());
    EXPECT_EQ(readAll(readOnly), QByteArray("old contents"));
}

TEST(Windows1251, OurTableAgreesWithThePlatformsConverterWhereItHasOne)
{
    QStringDecoder platform("windows-1251");
    if (!platform.isValid())
        GTEST_SKIP() << "this Qt has no Windows-1251 converter";
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    const QString text = platform.decode(all);
    EXPECT_EQ(decodeWindows1251(all), text);
    EXPECT_EQ(encodeWindows1251(text), all);
    EXPECT_EQ(encodeWindows1251(QStringLiteral("№Ёё")), QByteArray("\xB9\xA8\xB8"));
    EXPECT_FALSE(encodeWindows1251(QStringLiteral("Ω")).has_value());
}
