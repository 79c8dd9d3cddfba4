#pragma once

#include <QObject>

class QLineEdit;

namespace yalmera::ui {

// Selects a field's whole text whenever the user or the program gives it the focus, so that
// typing replaces the text: at once for the keyboard and the program, and after the click for
// the mouse, whose press would otherwise put the cursor where it landed. Focus coming back from
// a menu, a popup or another window keeps the user's cursor and selection.
class SelectAllOnFocus : public QObject
{
    Q_OBJECT

public:
    // Installs a new filter on the field; the field owns it.
    static SelectAllOnFocus* install(QLineEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SelectAllOnFocus(QLineEdit* field);

    QLineEdit* m_field;
    bool m_selectAfterClick = false;
};

} // namespace yalmera::ui
