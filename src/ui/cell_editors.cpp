#include "cell_editors.h"

#include "model/channel_table.h"
#include "model/number_text.h"
#include "model/value_lists.h"

namespace yalmera::ui {

namespace {

template <std::size_t N> QStringList toStringList(const std::array<QStringView, N>& list)
{
    QStringList items;
    items.reserve(static_cast<qsizetype>(N));
    for (QStringView text : list)
        items.append(text.toString());
    return items;
}

StartingItem item(int index)
{
    return {StartingItem::Kind::Item, index, {}};
}

StartingItem keepPrevious()
{
    return {StartingItem::Kind::KeepPrevious, -1, {}};
}

// A position taken from the cell's whole number (minus `first`, the number of item 0); a position
// outside the list chooses no item.
StartingItem numericItem(const QString& cellText, int first, int itemCount)
{
    const auto value = parseInteger(cellText);
    if (!value)
        return {StartingItem::Kind::ConversionError, -1, integerConversionError(cellText)};
    const qint64 index = qint64(*value) - first;
    if (index < 0 || index >= itemCount)
        return item(-1);
    return item(static_cast<int>(index));
}

} // namespace

CellEditor editorForColumn(Column column)
{
    switch (column) {
    case Column::ChannelNumber:
    case Column::RxFrequency:
    case Column::TxFrequency:
        return CellEditor::Typed;
    case Column::CtcssRx:
    case Column::CtcssTx:
        return CellEditor::CtcssTones;
    case Column::DcsRx:
    case Column::DcsTx:
        return CellEditor::DcsCodes;
    case Column::ToneRx:
    case Column::ToneTx:
        return CellEditor::ToneNumbers;
    case Column::Squelch:
        return CellEditor::Squelch;
    case Column::PowerMax:
    case Column::PowerMin:
        return CellEditor::PowerSteps;
    case Column::Width:
        return CellEditor::ChannelWidth;
    case Column::TxOff:
        return CellEditor::TxOffModes;
    case Column::Time:
        return CellEditor::TimeValues;
    default:
        return CellEditor::Flag;
    }
}

bool isListEditor(CellEditor editor)
{
    return editor != CellEditor::Typed && editor != CellEditor::Flag;
}

QString editorObjectName(CellEditor editor)
{
    switch (editor) {
    case CellEditor::CtcssTones:
        return QStringLiteral("ComboBox1");
    case CellEditor::DcsCodes:
        return QStringLiteral("ComboBox2");
    case CellEditor::ToneNumbers:
        return QStringLiteral("ComboBox3");
    case CellEditor::Squelch:
        return QStringLiteral("ComboBox4");
    case CellEditor::PowerSteps:
        return QStringLiteral("ComboBox5");
    case CellEditor::ChannelWidth:
        return QStringLiteral("ComboBox6");
    case CellEditor::TimeValues:
        return QStringLiteral("ComboBox7");
    case CellEditor::TxOffModes:
        return QStringLiteral("ComboBox8");
    case CellEditor::Typed:
    case CellEditor::Flag:
        break;
    }
    return {};
}

QStringList editorItems(CellEditor editor)
{
    switch (editor) {
    case CellEditor::CtcssTones:
        return toStringList(CtcssTones);
    case CellEditor::DcsCodes:
        return toStringList(DcsCodes);
    case CellEditor::ToneNumbers:
        return toStringList(ToneNumbers);
    case CellEditor::Squelch:
        return toStringList(SquelchLevels);
    case CellEditor::PowerSteps:
        return toStringList(PowerSteps);
    case CellEditor::ChannelWidth:
        return toStringList(ChannelWidths);
    case CellEditor::TimeValues:
        return toStringList(TimeValues);
    case CellEditor::TxOffModes:
        return toStringList(TxOffModes);
    case CellEditor::Typed:
    case CellEditor::Flag:
        break;
    }
    return {};
}

StartingItem startingItem(CellEditor editor, const QString& cellText)
{
    switch (editor) {
    case CellEditor::CtcssTones: {
        const int index = lastPosition(CtcssTones, cellText);
        return index < 0 ? keepPrevious() : item(index);
    }
    case CellEditor::DcsCodes: {
        const int index = lastPosition(DcsCodes, cellText);
        return index < 0 ? keepPrevious() : item(index);
    }
    case CellEditor::ToneNumbers:
        if (cellText == NoneText)
            return item(0);
        return numericItem(cellText, 0, int(ToneNumbers.size()));
    case CellEditor::Squelch:
        return numericItem(cellText, 1, int(SquelchLevels.size()));
    case CellEditor::PowerSteps:
        return numericItem(cellText, 1, int(PowerSteps.size()));
    case CellEditor::ChannelWidth:
        return item(cellText == ChannelWidths[1] ? 1 : 0);
    case CellEditor::TimeValues:
        if (cellText == NoneText)
            return item(0);
        return numericItem(cellText, 0, int(TimeValues.size()));
    case CellEditor::TxOffModes: {
        const int index = firstPosition(TxOffModes, cellText);
        return index < 0 ? keepPrevious() : item(index);
    }
    case CellEditor::Typed:
    case CellEditor::Flag:
        break;
    }
    return item(-1);
}

} // namespace yalmera::ui
