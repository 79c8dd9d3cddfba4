#pragma once

#include "cell_editors.h"

#include <QStyledItemDelegate>

#include <array>

class QComboBox;

namespace yalmera::ui {

class ChannelGrid;

// Draws the cells in the table's colours with the flag check boxes in their cells, and provides
// the editors: a line editor for the typed columns, which writes every keystroke into the cell,
// and one drop-down list per list editor, kept for the whole run so that each remembers the
// item of its previous use.
class ChannelCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit ChannelCellDelegate(ChannelGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The drop-down list of an editor kind, or nothing before its first use.
    QComboBox* listEditor(CellEditor editor) const;

signals:
    // Enter in the line editor: the cell already holds the text typed so far.
    void enterPressedWhileTyping();

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    static void paintMarks(QPainter* painter, const QRect& cell, int kinds);
    QComboBox* makeListEditor(CellEditor editor, QWidget* parent) const;
    void commitAndClose(QWidget* editor);

    ChannelGrid* m_grid;
    // Index: CellEditor value. Owned by the grid's viewport.
    mutable std::array<QComboBox*, 10> m_listEditors{};
};

} // namespace yalmera::ui
