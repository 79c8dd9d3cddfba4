#include "plan_markers.h"

#include "channel_grid.h"
#include "channel_table_model.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

namespace yalmera::ui {

QColor markColour(MarkKind kind)
{
    switch (kind) {
    case MarkKind::Refusal:
        return QColor(220, 0, 0);
    case MarkKind::Difference:
        return QColor(0, 100, 230);
    }
    return Qt::black;
}

PlanMarkers::PlanMarkers(ChannelTableModel& model, ChannelGrid& grid, QPlainTextEdit& settingsEditor,
                         QObject* parent)
    : QObject(parent), m_model(model), m_grid(grid), m_settingsEditor(settingsEditor)
{
    // The editor's lines have no items to carry a tool tip: its viewport asks here.
    m_settingsEditor.viewport()->installEventFilter(this);
}

void PlanMarkers::show(MarkKind kind, PlanMarks marks)
{
    PlanMarks& shown = m_marks[index(kind)];
    if (marks == shown)
        return;
    shown = std::move(marks);
    m_model.setMarks(kind, shown);
    showOnSettingsLines();
    emit marksChanged(kind, static_cast<int>(shown.size()));
}

QString PlanMarkers::lineMessages(int line) const
{
    QStringList messages;
    for (const PlanMarks& marks : m_marks) {
        for (const PlanMark& mark : marks) {
            if (!mark.isCell() && mark.settingsLine == line)
                messages.append(mark.message);
        }
    }
    return messages.join(u'\n');
}

void PlanMarkers::showOnSettingsLines()
{
    QList<QTextEdit::ExtraSelection> selections;
    const QTextDocument* document = m_settingsEditor.document();
    for (std::size_t kind = 0; kind < MarkKindCount; ++kind) {
        for (const PlanMark& mark : m_marks[kind]) {
            const QTextBlock block = document->findBlockByNumber(mark.settingsLine);
            if (mark.isCell() || !block.isValid())
                continue;
            QTextEdit::ExtraSelection selection;
            selection.cursor = QTextCursor(block);
            selection.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            selection.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            selection.format.setUnderlineColor(markColour(static_cast<MarkKind>(kind)));
            selections.append(selection);
        }
    }
    m_settingsEditor.setExtraSelections(selections);
}

bool PlanMarkers::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor cursor = m_settingsEditor.cursorForPosition(help->pos());
    const QRect line = m_settingsEditor.cursorRect(cursor);
    const QString messages = help->pos().y() >= line.top() && help->pos().y() <= line.bottom()
                                 ? lineMessages(cursor.blockNumber())
                                 : QString();
    if (messages.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), messages, m_settingsEditor.viewport());
    return true;
}

std::optional<PlanMark> PlanMarkers::focusedPlace() const
{
    if (m_settingsEditor.hasFocus())
        return PlanMark::line(m_settingsEditor.textCursor().blockNumber());
    const QModelIndex current = m_grid.currentIndex();
    if ((m_grid.hasFocus() || m_grid.isEditing()) && current.isValid())
        return PlanMark::cell(ChannelTableModel::tableRow(current), ChannelTableModel::tableColumn(current));
    return std::nullopt;
}

bool PlanMarkers::visitNext(MarkKind kind, bool backwards)
{
    const auto mark = nextMark(m_marks[index(kind)], focusedPlace(), backwards);
    if (mark)
        visit(*mark);
    return mark.has_value();
}

bool PlanMarkers::visitFirst(MarkKind kind)
{
    const auto mark = nextMark(m_marks[index(kind)], std::nullopt);
    if (mark)
        visit(*mark);
    return mark.has_value();
}

void PlanMarkers::visit(const PlanMark& mark)
{
    m_grid.finishEditing();
    if (mark.isCell()) {
        const int column = columnIndex(mark.column);
        m_grid.selectRange({mark.row, mark.row, column, column});
        m_grid.setFocus(Qt::ShortcutFocusReason);
        return;
    }
    QTextCursor cursor(m_settingsEditor.document()->findBlockByNumber(mark.settingsLine));
    m_settingsEditor.setTextCursor(cursor);
    m_settingsEditor.centerCursor(); // the line with some of its neighbours, not at the edge
    m_settingsEditor.setFocus(Qt::ShortcutFocusReason);
}

} // namespace yalmera::ui
