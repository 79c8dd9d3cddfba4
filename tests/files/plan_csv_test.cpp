#include "files/plan_csv.h"
#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "files/recent_plans.h"
#include "model/channel_template.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    table.setFlag(Column::Scan, 2, false);
    table.setFlag(Column::IdTone, 3, true);

    const QByteArray csv = encodePlanCsv(table);
    EXPECT_TRUE(csv.startsWith(QByteArray("\xEF\xBB\xBF") + Captions.toUtf8() + "\r\n"));
    EXPECT_TRUE(csv.contains("\r\n\"7;\"\"x\"\"\";140000;140000;"));
    const CsvDecodeResult back = decodePlanCsv(csv);
    ASSERT_TRUE(back.table.has_value()) << back.error.text.toStdString();
    EXPECT_EQ(encodePlan(plan.settings, *back.table, 0, 0), encodePlan(plan.settings, table, 0, 0));

    // As spreadsheets save it: LF, no byte-order mark, or Windows-1251; blank rows skipped.
    for (const QByteArray& saved :
         {lines({Captions, Row}, u"\n"_qs), lines({u""_qs, Captions, u";;"_qs, Row}),
          encodeWindows1251(QString::fromUtf8(lines({Captions, Row}))).value()}) {
        const CsvDecodeResult read = decodePlanCsv(saved);
        ASSERT_TRUE(read.table.has_value()) << read.error.text.toStdString();
        EXPECT_EQ(read.table->channelCount(), 1);
        EXPECT_EQ(read.table->cell(Column::TxOff, 1), u"Норм"_qs);
        EXPECT_EQ(read.table->flag(Column::IdTone, 1), false);
    }
}

TEST(PlanCsv, RefusalsNameTheRowAndColumnAndGiveNoTable)
{
    QStringList hundred{Captions};
    for (int row = 0; row < 100; ++row)
        hundred.append(Row);
    QString badDcs = Row;
    badDcs.replace(u";Нет;Нет;Нет;Нет;Нет;Нет;"_qs, u";Нет;Нет;Нет;23;Нет;Нет;"_qs);
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
        {lines({Captions, Row, u""_qs, badDcs}),
         u"Строка 4 файла, столбец «DCS_Tx»: значения «23» нет в списке этого столбца. Файл не импортирован."_qs},
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
