#include "common/qt_printers.h"
#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "files/recent_plans.h"
#include "model/channel_template.h"
#include "model/value_lists.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace yalmera;
using namespace yalmera::files;

namespace {

const QString Captions =
    u"№ кан.; Rx, кГц; Tx, кГц;CTC_Rx;CTC_Tx;DCS_Rx;DCS_Tx;Тон_Rx;Тон_Tx;  ШП;P_max;P_min;"
    u"Скан.;  SW;Id_Тон;Tx_Off;Время;Акт"_qs;
const QString Row = u"1;140000;140000;Нет;Нет;Нет;Нет;Нет;Нет;1;4;1;да;25;нет;Норм;Нет;да"_qs;

TemplateResult templatePlan(int count)
{
    return makeChannelTemplate({QString::number(count), u"140000"_qs, u"1000"_qs},
                               StationType::forBand(Band::Mhz144to174));
}

QByteArray lines(const QStringList& rows, const QString& lineEnd = u"\r\n"_qs)
{
    return (rows.join(lineEnd) + lineEnd).toUtf8();
}

} // namespace

TEST(PlanCsv, ExportThenImportGivesTheSameCellsFlagsAndPlanFile)
{
    TemplateResult plan = templatePlan(3);
    ChannelTable& table = plan.table;
    table.setCell(Column::ChannelNumber, 1, u"7;\"x\""_qs);
    table.setCell(Column::RxFrequency, 2, u"145006,25"_qs);
    table.setCell(Column::DcsTx, 2, u"023"_qs);
    table.setCell(Column::TxFrequency, 3, u"РЕТР_ПР"_qs);
    table.setCell(Column::TxOff, 3, u"=1+2"_qs);
    table.setFlag(Column::Scan, 2, false);
    table.setFlag(Column::IdTone, 3, true);

    const QByteArray csv = encodePlanCsv(table).bytes;
    const QString quotedCaptions = QString(Captions)
                                       .replace(u" Rx, кГц"_qs, u"\" Rx, кГц\""_qs)
                                       .replace(u" Tx, кГц"_qs, u"\" Tx, кГц\""_qs);
    EXPECT_TRUE(csv.startsWith(QByteArray("\xEF\xBB\xBF") + quotedCaptions.toUtf8() + "\r\n"));
    EXPECT_TRUE(csv.contains("\r\n\"7;\"\"x\"\"\";140000;140000;"));
    // Quoted for spreadsheets that split on commas too; no formula runs.
    EXPECT_TRUE(csv.contains("\r\n2;\"145006,25\";141000;"));
    EXPECT_TRUE(csv.contains(";'=1+2;"));
    const CsvDecodeResult back = decodePlanCsv(csv);
    ASSERT_TRUE(back.table.has_value()) << back.error.text.toStdString();
    EXPECT_EQ(encodePlan(plan.settings, *back.table, 0, 0), encodePlan(plan.settings, table, 0, 0));

    // As spreadsheets save it: LF, no byte-order mark, or Windows-1251; blank rows skipped.
    for (const QByteArray& saved :
         {lines({Captions, Row}, u"\n"_qs), lines({u""_qs, Captions, u";;"_qs, Row}),
          lines({Captions, Row}).chopped(2),
          encodeWindows1251(QString::fromUtf8(lines({Captions, Row}))).value()}) {
        const CsvDecodeResult read = decodePlanCsv(saved);
        ASSERT_TRUE(read.table.has_value()) << read.error.text.toStdString();
        EXPECT_EQ(read.table->channelCount(), 1);
        EXPECT_EQ(read.table->cell(Column::TxOff, 1), u"Норм"_qs);
        EXPECT_EQ(read.table->flag(Column::IdTone, 1), false);
    }
}

TEST(PlanCsv, EveryPlanThatAPlanFileHoldsComesBackFromItsExportExactly)
{
    // Besides the lists' own texts, what a plan file holds and the check may even pass ("Sw=1",
    // "P_min=15", "Время=25"), and what spreadsheets take apart or run.
    const QStringList odd{u""_qs,         u"1"_qs,     u"15"_qs,    u"25"_qs,
                          u"abc"_qs,      u"=1+2"_qs,  u"+7"_qs,    u"-5"_qs,
                          u"@A1"_qs,      u"'x"_qs,    u"''"_qs,    u"a;b"_qs,
                          u"140012,5"_qs, u"\"q\""_qs, u"№ Ё €"_qs, QString(MaxCsvCellLength, u'9')};
    std::mt19937 random(18);
    const auto pick = [&random](qsizetype count) { return static_cast<qsizetype>(random() % count); };
    for (int plan = 0; plan < 100; ++plan) {
        TemplateResult made = templatePlan(1 + static_cast<int>(pick(MaxChannels)));
        for (int row = 1; row <= made.table.channelCount(); ++row) {
            for (int index = 0; index < ColumnCount; ++index) {
                const Column column = columnAt(index);
                const auto values = columnValues(column);
                if (isFlagColumn(column))
                    made.table.setFlag(column, row, pick(2) == 0);
                else if (pick(2) == 0 && !values.empty())
                    made.table.setCell(column, row, values[pick(values.size())].toString());
                else if (pick(3) == 0)
                    made.table.setCell(column, row, odd[pick(odd.size())]);
            }
        }
        // As the program opens it, through a plan file.
        const QByteArray file = encodePlan(made.settings, made.table, 0, 0);
        const PlanDecodeResult opened = decodePlan(file);
        ASSERT_TRUE(opened.contents.has_value());
        const PlanEncodeResult csv = encodePlanCsv(opened.contents->table);
        ASSERT_TRUE(csv.ok()) << csv.error.text.toStdString();
        const CsvDecodeResult back = decodePlanCsv(csv.bytes);
        ASSERT_TRUE(back.table.has_value()) << plan << ": " << back.error.text.toStdString();
        EXPECT_EQ(encodePlan(made.settings, *back.table, 0, 0), file) << plan;
    }

    // What import would refuse, export refuses, naming the channel.
    TemplateResult control = templatePlan(2);
    control.table.setCell(Column::TxOff, 2, u"a\u0001"_qs);
    EXPECT_EQ(encodePlanCsv(control.table).error.text,
              u"Текст в канале 2 (строка 2 таблицы), столбец «Tx_Off», содержит управляющий символ U+0001 "
              u"(перевод строки, табуляцию и т. п.) и не может быть записан в файл CSV. Файл не записан."_qs);
}

TEST(PlanCsv, RefusalsNameTheRowAndColumnAndGiveNoTable)
{
    QStringList hundred{Captions};
    for (int row = 0; row < 100; ++row)
        hundred.append(Row);
    QStringList strayByte{Captions};
    for (int row = 0; row < 8; ++row)
        strayByte.append(Row);
    strayByte.append(QString(Row).replace(u"Норм"_qs, u"Xорм"_qs));
    const struct
    {
        QByteArray file;
        QString message;
    } cases[]{
        {lines({Captions.left(Captions.lastIndexOf(u';')), Row}),
         u"Строка 1 файла: столбцов 17, а в таблице каналов их 18 (разделитель — «;»). Файл не импортирован."_qs},
        {lines({QString(Captions).replace(u"CTC_Tx"_qs, u"CTC"_qs), Row}),
         u"Строка 1 файла, столбец 5: заголовок «CTC», а должен быть «CTC_Tx». Файл не импортирован."_qs},
        {lines({Captions, Row, Row + u";x"_qs}),
         u"Строка 3 файла: столбцов 19, а в таблице каналов их 18 (разделитель — «;»). Файл не импортирован."_qs},
        {lines({Captions, Row, u""_qs, QString(Row).replace(u";Норм;"_qs, u";\"Но\r\nрм\";"_qs)}),
         u"Строка 4 файла, столбец «Tx_Off»: управляющий символ U+000D (перевод строки, табуляция и т. п.) "
         u"в файле каналов храниться не может. Файл не импортирован."_qs},
        {lines({Captions, QString(Row).replace(u"Норм"_qs, u"✓"_qs)}),
         u"Строка 2 файла, столбец «Tx_Off»: символа «✓» (U+2713) нет в кодировке Windows-1251 файлов "
         u"каналов. Файл не импортирован."_qs},
        {lines(strayByte).replace('X', '\xCE'),
         u"Строка 10 файла, столбец «Tx_Off»: байты не в кодировке UTF-8, в которой записан остальной файл. "
         u"Файл не импортирован."_qs},
        {lines(
             {Captions, QString(Row).replace(u"1;140000;"_qs, u"1;'"_qs + QString(900 * 1024, u'1') + u';')}),
         u"Строка 2 файла, столбец «Rx, кГц»: текст длиннее 200 символов (его длина 921600). Файл не импортирован."_qs},
        {lines({Captions, QString(Row).replace(u";да;25;"_qs, u";1;25;"_qs)}),
         u"Строка 2 файла, столбец «Скан.»: «1» не отметка, нужно «да» или «нет». Файл не импортирован."_qs},
        {lines(hundred), u"В файле больше 99 строк каналов. Файл не импортирован."_qs},
        {lines({Captions}), u"В файле нет строк каналов. Файл не импортирован."_qs},
    };
    for (const auto& c : cases) {
        const CsvDecodeResult read = decodePlanCsv(c.file);
        EXPECT_FALSE(read.table.has_value()) << c.message.toStdString();
        EXPECT_EQ(read.error.text, c.message);
    }
}

TEST(RecentPlans, NewestFirstEachFileOnceAtMostFive)
{
    QTemporaryDir folder;
    RecentPlans recent(folder.filePath(u"config/recent.ini"_qs));
    EXPECT_TRUE(recent.paths().isEmpty());
    const QString odd = folder.filePath(u"план, «новый».ini"_qs);
    for (int i = 1; i <= 6; ++i)
        recent.remember(folder.filePath(u"K17M_%1.ini"_qs.arg(i)));
    recent.remember(odd);
    recent.remember(folder.filePath(u"sub/../K17M_5.ini"_qs));
    const QStringList expected{folder.filePath(u"K17M_5.ini"_qs), odd, folder.filePath(u"K17M_6.ini"_qs),
                               folder.filePath(u"K17M_4.ini"_qs), folder.filePath(u"K17M_3.ini"_qs)};
    EXPECT_EQ(RecentPlans(folder.filePath(u"config/recent.ini"_qs)).paths(), expected);
}
