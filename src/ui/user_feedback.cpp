#include "user_feedback.h"

#include "ui_texts.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

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
