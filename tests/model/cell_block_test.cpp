#include "model/cell_block.h"
#include "model/value_lists.h"

#include <gtest/gtest.h>

using namespace yalmera;

namespace {

// Three channels of typed cells and the first text of each list, flags in their creation state.
ChannelTable threeChannels()
{
    ChannelTable t;
    t.setRowCount(4);
    t.writeCaptions();
    t.createFlags();
    for (int row = 1; row <= 3; ++row) {
        for (int index = 0; index < ColumnCount; ++index) {
            const auto values = columnValues(columnAt(index));
            if (!values.empty())
                t.setCell(columnAt(index), row, values.front().toString());
        }
        t.setCell(Column::ChannelNumber, row, QString::number(row));
        t.setCell(Column::RxFrequency, row, QString::number(140000 + row));
        t.setCell(Column::TxFrequency, row, QString::number(150000 + row));
    }
    return t;
}

} // namespace

TEST(CellBlockPaste, FlagsTravelAsTextsAndOneTextFillsTheTarget)
{
    ChannelTable t = threeChannels();
    t.setFlag(Column::Scan, 2, false);
    const QList<QStringList> flags =
        copyCells(t, {1, 2, columnIndex(Column::Scan), columnIndex(Column::Scan)});
    EXPECT_EQ(flags, (QList<QStringList>{{u"да"_qs}, {u"нет"_qs}}));
    ASSERT_TRUE(pasteCells(t, flags, {2, 2, columnIndex(Column::Active), columnIndex(Column::Active)}).ok());
    EXPECT_EQ(t.flag(Column::Active, 3), false);

    const PasteResult filled =
        pasteCells(t, {{u"88,5"_qs}}, {1, 3, columnIndex(Column::CtcssRx), columnIndex(Column::CtcssTx)});
    ASSERT_TRUE(filled.ok());
    EXPECT_EQ(filled.pasted, (CellRange{1, 3, 3, 4}));
    EXPECT_EQ(copyCells(t, filled.pasted), QList<QStringList>(3, {u"88,5"_qs, u"88,5"_qs}));
}

TEST(CellBlockPaste, RefusalNamesWhereAndChangesNothing)
{
    const struct
    {
        QList<QStringList> block;
        CellRange target;
        QString message;
    } cases[]{
        {{{u"145000"_qs, u"67,1"_qs}},
         {2, 2, 2, 2},
         u"Строка 2, столбец «CTC_Rx»: значения «67,1» нет в списке этого столбца. Ничего не вставлено."_qs},
        {{{u"да"_qs}, {u"да "_qs}},
         {1, 1, 12, 12},
         u"Строка 2, столбец «Скан.»: «да » не отметка, вставляются только «да» и «нет». Ничего не вставлено."_qs},
        {{{u"1"_qs, u"2"_qs, u"3"_qs}},
         {1, 1, 16, 16},
         u"Вставляемый блок не помещается: в нем столбцов 3, а от столбца «Время» до конца таблицы их 2. "
         u"Ничего не вставлено."_qs},
        {QList<QStringList>(99, {u"1"_qs}),
         {2, 2, 0, 0},
         u"Вставляемый блок не помещается: в нем строк 99, а от строки 2 до 99-го канала их 98. "
         u"Ничего не вставлено."_qs},
    };
    for (const auto& c : cases) {
        ChannelTable t = threeChannels();
        const ChannelTable before = t;
        EXPECT_EQ(pasteCells(t, c.block, c.target).refusal.text, c.message);
        EXPECT_EQ(t, before);
    }
}
