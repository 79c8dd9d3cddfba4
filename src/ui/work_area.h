#pragma once

#include "model/channel_template.h"
#include "model/repeater.h"

#include <QFrame>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace yalmera::ui {

class ChannelGrid;
class ChannelTableModel;
class UserInterfaceFeedback;

// The main window's work area ("Panel1"): the template panel, the settings editor, the repeater
// panel and the channel table, placed for the size of the window's client area. It holds the
// widgets and shows or hides them; what they do to the plan is the commands' business.
//
// Component names (objectName): Panel2 with Label1/Edit1 count, Label2/Edit2 start frequency,
// Label3/Edit3 offset, BitBtn1 "Ok"; Memo1 settings; Panel3 with Label4 title, Label5/Edit4
// channel number, Label6 mode title, RadioButton1 "Прием", RadioButton2 "Передача", BitBtn2
// "Запись", BitBtn3 "Закрыть"; StringGrid1 the table.
class WorkArea : public QFrame
{
    Q_OBJECT

public:
    // The client area of the fixed window (px, below the menu bar).
    static constexpr QSize FixedClientSize{797, 397};

    // Made hidden, inside `client`, which it follows when the client area's size changes.
    WorkArea(ChannelTableModel& model, UserInterfaceFeedback& feedback, QWidget* client);

    ChannelGrid* grid() const { return m_grid; }
    QPlainTextEdit* settingsEditor() const { return m_settingsEditor; }

    TemplateFields templateFields() const;
    // The template panel ready for a count: focus on it, the whole text selected.
    void focusTemplateCount();
    void setStartFrequency(const QString& text);

    QString repeaterChannel() const;
    RepeaterMode repeaterMode() const;
    void showRepeaterPanel();

    // The settings text shown without it counting as the user's edit.
    void showSettings(const QString& text);
    // The work area with the settings and the table.
    void showPlan();
    // Shown or hidden with the settings and the table; hidden it leaves the work area as it is.
    void setPlanVisible(bool visible);
    // Everything hidden: the work area, the settings and the table.
    void hidePlan();
    // The parts placed for the client area's size (the fixed size, or more when roomy).
    void fitClientArea();

signals:
    // "Ok" on the template panel.
    void templateRequested();
    // "Запись" on the repeater panel.
    void repeaterMarkRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTemplatePanel();
    void buildSettingsEditor();
    void buildRepeaterPanel();

    UserInterfaceFeedback& m_feedback;
    QWidget* m_client;
    QLineEdit* m_countField = nullptr;           // Edit1
    QLineEdit* m_startField = nullptr;           // Edit2
    QLineEdit* m_offsetField = nullptr;          // Edit3
    QPlainTextEdit* m_settingsEditor = nullptr;  // Memo1
    QFrame* m_repeaterPanel = nullptr;           // Panel3
    QLineEdit* m_repeaterChannelField = nullptr; // Edit4
    QRadioButton* m_transmitMode = nullptr;      // RadioButton2
    ChannelGrid* m_grid = nullptr;               // StringGrid1
};

} // namespace yalmera::ui
