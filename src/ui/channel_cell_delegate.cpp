#include "channel_cell_delegate.h"

#include "channel_grid.h"
#include "channel_table_model.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace yalmera::ui {

namespace {

// The text a line editor started with, given back on Escape.
constexpr char OriginalTextProperty[] = "yalmeraOriginalText";
// Set while a list's item was chosen by the user since it opened: only then is it written.
constexpr char ItemChosenProperty[] = "yalmeraItemChosen";

// A long list (CTCSS, DCS) drops down this many items high, with a scroll bar.
constexpr int VisibleListItems = 15;

// The check box of a flag cell lies 2 px in from the cell's top-left corner on its own colour.
constexpr int CheckBoxInset = 2; // px
const QColor CheckBoxBackground(80, 127, 255);

std::size_t slot(CellEditor editor)
{
    return static_cast<std::size_t>(editor);
}

// Keys that walk the table's rows: over a closed list they move to another row instead of
// choosing another item.
bool movesBetweenRows(const QKeyEvent& key)
{
    if (key.modifiers() & Qt::AltModifier)
        return false; // Alt+Down drops the list down
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

// A character typed over a closed list: it drops the list down and looks for the item.
bool typesIntoList(const QKeyEvent& key)
{
    return !key.text().isEmpty() && key.text().front().isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// A list editor drawn to fit exactly over its cell: the text from the cell's left edge and a
// narrow arrow, so that "25" or "Норм" stays readable in a 33 px column.
class CellListEditor : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        constexpr int ArrowWidth = 9; // px
        QPainter painter(this);
        const QRect frame = rect();
        painter.fillRect(frame, palette().base());
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = QRect(frame.right() - ArrowWidth, frame.top() + 1, ArrowWidth - 1, frame.height() - 2);
        style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
        const QRect text = frame.adjusted(1, 1, -ArrowWidth - 1, -1);
        QColor textColour = palette().color(QPalette::Text);
        if (hasFocus()) {
            painter.fillRect(text, palette().highlight());
            textColour = palette().color(QPalette::HighlightedText);
        }
        painter.setPen(textColour);
        painter.drawText(text.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         currentText());
    }
};

} // namespace

ChannelCellDelegate::ChannelCellDelegate(ChannelGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void ChannelCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const bool current = index == m_grid->currentIndex();
    const bool focused = current && (m_grid->hasFocus() || m_grid->isEditing());
    const bool markedRow = ChannelTableModel::tableRow(index) == m_grid->selectedRow();

    QColor background = ChannelGrid::CellBackground;
    QColor text = ChannelGrid::CellText;
    if (focused) {
        background = ChannelGrid::MarkedBackground;
        text = ChannelGrid::FocusedText;
    } else if ((option.state & QStyle::State_Selected) && m_grid->selectsBlock()) {
        background = ChannelGrid::BlockBackground;
    } else if (markedRow) {
        background = ChannelGrid::MarkedBackground;
    }

    painter->save();
    painter->fillRect(option.rect, background);

    const QVariant checkState = index.data(Qt::CheckStateRole);
    if (checkState.isValid()) {
        const QRect box = option.rect.adjusted(CheckBoxInset, CheckBoxInset, 0, 0);
        painter->fillRect(box, CheckBoxBackground);
        QStyleOptionButton indicator;
        indicator.initFrom(m_grid);
        const QStyle* style = m_grid->style();
        const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, &indicator, m_grid);
        const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, &indicator, m_grid);
        indicator.rect = QRect(box.left() + 1, box.top() + (box.height() - height) / 2, width, height);
        indicator.state =
            QStyle::State_Enabled |
            (checkState.value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &indicator, painter, m_grid);
    } else {
        // The text starts at the cell's top-left corner, without margin.
        painter->setPen(text);
        painter->setFont(option.font);
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
    }
    paintMarks(painter, option.rect, index.data(ChannelTableModel::MarkKindsRole).toInt());
    painter->restore();
}

void ChannelCellDelegate::paintMarks(QPainter* painter, const QRect& cell, int kinds)
{
    // A triangle in a corner, as spreadsheets mark a comment: the cell's colours and text stay
    // readable. The first kind takes the top right corner, the next the bottom right one.
    constexpr int Size = 7; // px along each edge
    for (std::size_t kind = 0; kind < MarkKindCount; ++kind) {
        if ((kinds & (1 << kind)) == 0)
            continue;
        const int right = cell.right();
        const int y = kind % 2 == 0 ? cell.top() : cell.bottom();
        const int inward = kind % 2 == 0 ? Size : -Size;
        const QPolygon triangle({QPoint(right - Size, y), QPoint(right, y), QPoint(right, y + inward)});
        painter->setPen(Qt::NoPen);
        painter->setBrush(markColour(static_cast<MarkKind>(kind)));
        painter->drawPolygon(triangle);
    }
}

QSize ChannelCellDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(ChannelGrid::designedWidth(index.column()), option.fontMetrics.height());
}

QComboBox* ChannelCellDelegate::listEditor(CellEditor editor) const
{
    return m_listEditors[slot(editor)];
}

QComboBox* ChannelCellDelegate::makeListEditor(CellEditor editor, QWidget* parent) const
{
    auto* combo = new CellListEditor(parent);
    combo->setObjectName(editorObjectName(editor));
    combo->addItems(editorItems(editor));
    // Styles that drop a list down as a menu over its item (Fusion, macOS) make it as high as the
    // screen and ignore the visible count; a plain list takes it, with a scroll bar. Set before
    // the list is first made.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    combo->setMaxVisibleItems(VisibleListItems);
    // The list drops down at least as wide as its longest item, whatever the column's width.
    QAbstractItemView* list = combo->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    // No item before the first use, so a first use on a text in no list shows none.
    combo->setCurrentIndex(-1);
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->hide();
    auto* self = const_cast<ChannelCellDelegate*>(this);
    // Every change of the chosen item writes it into the cell and closes the list; so does
    // choosing the item already shown. The starting item is set with these signals blocked.
    const auto choose = [self, combo] {
        combo->setProperty(ItemChosenProperty, true);
        self->commitAndClose(combo);
    };
    connect(combo, &QComboBox::activated, self, choose);
    connect(combo, &QComboBox::currentIndexChanged, self, choose);
    m_listEditors[slot(editor)] = combo;
    return combo;
}

void ChannelCellDelegate::commitAndClose(QWidget* editor)
{
    // A keyboard choice reports both a change and an activation; the first one closes the list.
    if (!editor->isVisible())
        return;
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}

QWidget* ChannelCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                           const QModelIndex& index) const
{
    const CellEditor kind = editorForColumn(ChannelTableModel::tableColumn(index));
    if (isListEditor(kind)) {
        QComboBox* combo = m_listEditors[slot(kind)];
        if (!combo)
            combo = makeListEditor(kind, parent);
        return combo;
    }
    if (kind != CellEditor::Typed)
        return nullptr;
    auto* lineEdit = new QLineEdit(parent);
    lineEdit->setObjectName(QStringLiteral("InplaceEdit"));
    lineEdit->setFrame(false);
    lineEdit->setFont(option.font);
    lineEdit->setProperty(OriginalTextProperty, index.data(Qt::EditRole));
    // Every keystroke goes into the cell, so Enter can copy what has been typed so far.
    auto* self = const_cast<ChannelCellDelegate*>(this);
    connect(lineEdit, &QLineEdit::textEdited, self, [self, lineEdit] { emit self->commitData(lineEdit); });
    return lineEdit;
}

void ChannelCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const
{
    // The lists live for the whole run; the view has already hidden them.
    for (QComboBox* combo : m_listEditors) {
        if (combo && combo == editor)
            return;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void ChannelCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setProperty(ItemChosenProperty, false);
        const StartingItem start = startingItem(editorForColumn(ChannelTableModel::tableColumn(index)), text);
        if (start.kind != StartingItem::Kind::Item)
            return; // the previous item stays
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(start.index);
        return;
    }
    if (auto* lineEdit = qobject_cast<QLineEdit*>(editor)) {
        // Rewriting the same text would move the cursor away from where the user types.
        if (lineEdit->text() != text)
            lineEdit->setText(text);
    }
}

void ChannelCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // Leaving a list without choosing keeps the cell's text: the starting item shown over a
        // text in no list (left from a previous use, or the nearest reading of a number) is
        // only an offer.
        if (combo->property(ItemChosenProperty).toBool() && combo->currentIndex() >= 0)
            model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    if (auto* lineEdit = qobject_cast<QLineEdit*>(editor))
        model->setData(index, lineEdit->text(), Qt::EditRole);
}

void ChannelCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex&) const
{
    // Exactly over the cell, lists too: the next cell's text stays in view. A list drops down as
    // wide as its longest item.
    editor->setGeometry(option.rect);
}

bool ChannelCellDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                      const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    // The check box fills its cell: a click anywhere in it, or the space bar, toggles the flag.
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        toggle = mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
        break;
    }
    case QEvent::MouseButtonDblClick:
        return true; // the second click's release toggles again, as a check box does
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
        break;
    }
    default:
        break;
    }
    if (!toggle)
        return false;
    const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

bool ChannelCellDelegate::eventFilter(QObject* object, QEvent* event)
{
    // Ctrl+Tab leaves the table from an open editor too, with what the editor holds written.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            (key->modifiers() & Qt::ControlModifier)) {
            m_grid->leaveTable(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    // A closed list never changes its item by itself: the row keys and the wheel belong to the
    // table, a typed character drops the list down; only an item picked from the open list (Enter
    // or a click) is written.
    if (auto* combo = qobject_cast<QComboBox*>(object)) {
        if (event->type() == QEvent::Wheel) {
            QCoreApplication::sendEvent(m_grid->viewport(), event);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (movesBetweenRows(*key)) {
                m_grid->moveFromList(key);
                return true;
            }
            if (typesIntoList(*key)) {
                combo->showPopup();
                combo->view()->keyboardSearch(key->text());
                return true;
            }
        }
    }
    auto* lineEdit = qobject_cast<QLineEdit*>(object);
    if (lineEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit commitData(lineEdit);
            emit enterPressedWhileTyping();
            emit closeEditor(lineEdit, QAbstractItemDelegate::NoHint);
            return true;
        }
        if (key == Qt::Key_Escape) {
            lineEdit->setText(lineEdit->property(OriginalTextProperty).toString());
            emit commitData(lineEdit);
            emit closeEditor(lineEdit, QAbstractItemDelegate::RevertModelCache);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace yalmera::ui
