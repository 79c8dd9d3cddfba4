#pragma once

#include <QStringView>

namespace yalmera::texts::report {

// The protocol's own texts, in one place.
inline constexpr QStringView Title = u"Ялмера - 407";

// "Создать" of the protocol window without a passed data check.
inline constexpr QStringView RefusedOnCreate =
    u"Пока не будет произведена проверка данных, протокол создаваться не будет";

// "Создать протокол" of the main menu without a passed data check.
inline constexpr QStringView RefusedOnMenu =
    u"Пока не будет произведена проверка данных, протокол создаваться не будет!!!";

// "Создать протокол" and "Создать" while rows have lost their flags through a band change; %1 is
// the first such row.
inline constexpr QStringView RefusedWithoutFlags =
    u"В строчке №%1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\": протокол создаваться не "
    u"будет. Создайте шаблон или прочитайте файл заново";

// The serial-number field's text when the protocol window first opens.
inline constexpr QStringView InitialSerialNumber = u"К17М-12345";

// Base name of a saved protocol: "Протокол <serial>.docx", or "Протокол.docx" without a serial.
inline constexpr QStringView FileNameStem = u"Протокол";

inline constexpr QStringView NoFreeFileName = u"В папке \"%1\" нет свободного имени для протокола";

inline constexpr QStringView CannotAssembleDocx = u"Не удалось собрать документ протокола";

inline constexpr QStringView CannotPaintPdf = u"Не удалось построить PDF протокола";

inline constexpr QStringView CannotPaintPreview = u"Не удалось построить страницы протокола для просмотра";

inline constexpr QStringView CannotCreateFolder = u"Не удалось создать папку \"%1\"";

} // namespace yalmera::texts::report
