#include "user_feedback.h"

#include "ui_texts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "model/windows_api.h"

namespace yalmera::ui {

void MessageBoxFeedback::show(const UserMessage& message, QWidget* parent)
{
    sound(message.sound);
    if (message.isEmpty())
        return;
    if (!parent)
        parent = QApplication::activeWindow();
    // The boxes carry the caption of the window they stand over ("Ялмера 4К-17", ...).
    const QString title = parent ? parent->window()->windowTitle() : texts::ui::ProgramTitle.toString();
    if (message.kind == MessageKind::Failure)
        QMessageBox::critical(parent, title, message.text);
    else
        QMessageBox::information(parent, title, message.text);
}

Answer MessageBoxFeedback::ask(const QString& question, bool cancellable, QWidget* parent)
{
    if (!parent)
        parent = QApplication::activeWindow();
    const QString title = parent ? parent->window()->windowTitle() : texts::ui::ProgramTitle.toString();
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::NoButton, parent);
    // The button texts of the program's own, whether or not Qt's Russian texts are installed.
    QPushButton* yes = box.addButton(texts::ui::YesButton.toString(), QMessageBox::YesRole);
    QPushButton* no = box.addButton(texts::ui::NoButton.toString(), QMessageBox::NoRole);
    // Escape and the close button press "Отмена"; a question without it has it hidden, so that
    // closing that box is no answer either rather than "Нет".
    QPushButton* cancel = box.addButton(texts::ui::CancelButton.toString(), QMessageBox::RejectRole);
    cancel->setVisible(cancellable);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void MessageBoxFeedback::sound(Sound sound)
{
    switch (sound) {
    case Sound::None:
        return;
    case Sound::DefaultBeep:
        QApplication::beep();
        return;
    case Sound::ErrorBeep:
#ifdef Q_OS_WIN
        MessageBeep(MB_ICONERROR);
#else
        QApplication::beep();
#endif
        return;
    case Sound::CriticalStop:
#ifdef Q_OS_WIN
        MessageBeep(MB_ICONSTOP);
#else
        QApplication::beep();
#endif
        return;
    }
}

} // namespace yalmera::ui
