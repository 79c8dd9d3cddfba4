#include "settings_editor.h"

#include <QKeyEvent>
#include <QMimeData>

namespace yalmera::ui {

SettingsEditor::SettingsEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void SettingsEditor::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+Tab leaves as Tab does, as it leaves every editor that keeps Tab for itself.
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
        (event->modifiers() & Qt::ControlModifier)) {
        const bool backwards = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(!backwards);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void SettingsEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText() || !source->text().contains(u'\t')) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    insertPlainText(source->text().replace(u'\t', u' '));
}

} // namespace yalmera::ui
