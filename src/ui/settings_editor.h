#pragma once

#include <QPlainTextEdit>

namespace yalmera::ui {

// The general-settings editor ("Memo1"). A tab is never part of a settings line: Tab and
// Shift+Tab (with Ctrl too) move the focus on to the next or back to the previous part of the
// window, and a tab in pasted or dropped text becomes a blank, which the reading rules ignore
// around a key and its value and which shows, and is marked, anywhere else.
class SettingsEditor : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit SettingsEditor(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

} // namespace yalmera::ui
