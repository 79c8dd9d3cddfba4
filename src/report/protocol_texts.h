#pragma once

#include <QString>

namespace yalmera::report::texts {

// The protocol's own texts, in one place.
inline QString title()
{
    return QStringLiteral("Ялмера - 407");
}

// "Создать" of the protocol window without a passed data check.
inline QString refusedOnCreate()
{
    return QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет");
}

// "Создать протокол" of the main menu without a passed data check.
inline QString refusedOnMenu()
{
    return QStringLiteral("Пока не будет произведена проверка данных, протокол создаваться не будет!!!");
}

// "Создать протокол" and "Создать" while rows have lost their flags through a band change; %1 is
// the first such row.
inline QString refusedWithoutFlags()
{
    return QStringLiteral(
        "В строчке №%1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\": протокол создаваться не "
        "будет. Создайте шаблон или прочитайте файл заново");
}

// The serial-number field's text when the protocol window first opens.
inline QString initialSerialNumber()
{
    return QStringLiteral("К17М-12345");
}

// Base name of a saved protocol: "Протокол <serial>.docx", or "Протокол.docx" without a serial.
inline QString fileNameStem()
{
    return QStringLiteral("Протокол");
}

inline QString noFreeFileName()
{
    return QStringLiteral("В папке \"%1\" нет свободного имени для протокола");
}

inline QString cannotAssembleDocx()
{
    return QStringLiteral("Не удалось собрать документ протокола");
}

inline QString cannotPaintPdf()
{
    return QStringLiteral("Не удалось построить PDF протокола");
}

inline QString cannotPaintPreview()
{
    return QStringLiteral("Не удалось построить страницы протокола для просмотра");
}

inline QString cannotCreateFolder()
{
    return QStringLiteral("Не удалось создать папку \"%1\"");
}

} // namespace yalmera::report::texts
