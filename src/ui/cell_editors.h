#pragma once

#include "model/channel_table.h"

#include <QString>
#include <QStringList>

namespace yalmera::ui {

// The drop-down editors of the list columns. The numbers follow the editors' component names
// (ComboBox1 .. ComboBox8); ComboBox8 serves "Tx_Off", ComboBox7 "Время".
enum class CellEditor {
    Typed,        // columns 0-2: free typing
    Flag,         // columns 12, 14, 17: the row's check box
    CtcssTones,   // ComboBox1, columns 3-4
    DcsCodes,     // ComboBox2, columns 5-6
    ToneNumbers,  // ComboBox3, columns 7-8
    Squelch,      // ComboBox4, column 9
    PowerSteps,   // ComboBox5, columns 10-11
    ChannelWidth, // ComboBox6, column 13
    TimeValues,   // ComboBox7, column 16
    TxOffModes,   // ComboBox8, column 15
};

CellEditor editorForColumn(Column column);
bool isListEditor(CellEditor editor);

// "ComboBox1" .. "ComboBox8" for the list editors, empty otherwise.
QString editorObjectName(CellEditor editor);
// The items a list editor offers, in list order.
QStringList editorItems(CellEditor editor);

// Which item a list editor starts on for a cell's text.
struct StartingItem
{
    enum class Kind {
        Item,           // start on item `index`; -1: the value lies outside the list, no item chosen
        KeepPrevious,   // the text is in no list position: the editor keeps its previous item
        ConversionError // a numeric list cell holding no whole number: the editor does not open
    };
    Kind kind = Kind::Item;
    int index = -1;
    QString error; // the platform's conversion error, for ConversionError

    friend bool operator==(const StartingItem&, const StartingItem&) = default;
};

// For the tone and code lists every equal position is taken in turn, so a value listed twice
// starts on its second position ("67,0" -> 34); numeric lists take the position from the cell's
// whole number.
StartingItem startingItem(CellEditor editor, const QString& cellText);

} // namespace yalmera::ui
