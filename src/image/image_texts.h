#pragma once

#include <QStringView>

// The image subsystem's own texts: the data check's and the station read-back's.
namespace yalmera::texts::check {

// Every text the data check shows, in the order its rules run. Quotes, double blanks and the
// Latin "M" of " MГц" are part of the station's texts.
inline constexpr QStringView Brightness = u"Уровень яркости изм. 1-5";
inline constexpr QStringView Volume = u"Уровень громкости изм. 1-16";
inline constexpr QStringView TooManyChannels =
    u"В таблице больше 99 каналов. В радиостанцию можно записать не более 99 каналов";
inline constexpr QStringView KeyBeep = u"Вводить в поле \"Пик_кнопок\" можно только + или -";
inline constexpr QStringView SpecialChannel =
    u"Ошибка в номере спец. канала!!! В радиостанции нет такого номера канала";
inline constexpr QStringView FvLength = u"Код поля \"ФВ\" должен быть двузначным";
inline constexpr QStringView FvDigit = u"В поле \"ФВ\" введен неправильный код";
inline constexpr QStringView MinVolume = u"Минимальный уровень громкости изменякться от 0 до 8";
inline constexpr QStringView MinAboveVolume = u"Громкость не д.б. меньше минимального уровня громкости";
inline constexpr QStringView DcsPolarity = u"Вводить в поле \"Код_DCS\" можно только + или -";
inline constexpr QStringView ScanFunction =
    u"Вы не заполнили поле \"Ф_Скан\" или ввели не тот символ. Вводимые символы  + или -";
inline constexpr QStringView VFunction =
    u"Вы не заполнили поле \"Ф_V\" или ввели не тот символ. Вводимые символы  + или -";
inline constexpr QStringView ModuleFunction =
    u"Вы не заполнили поле \"ВУ\" или ввели не тот символ. Вводимые символы  + или -";
inline constexpr QStringView ToneRange = u"Ошибка в Тон%1 диапазон от 700Гц до 2550Гц"; // %1: tone 1..10
inline constexpr QStringView IdLength = u"Id_Tон должен быть четырехзначным. Например: 0001";

// Row rules; %1 is the row number unless said otherwise.
inline constexpr QStringView MissingFlags = u"В строчке №%1 нет отметок \"Скан.\", \"Id_Тон\" и \"Акт\". "
                                            u"Создайте шаблон или прочитайте файл заново";
inline constexpr QStringView NotInList = u"В строчке №%1 в столбце \"%2\" значение \"%3\" не из списка";
inline constexpr QStringView ChannelNumber = u"В строчке №%1 введен неправильный номер канала";
inline constexpr QStringView NoRxFrequency = u"В канале №%1 не введена частота приема"; // %1: channel number
inline constexpr QStringView NoTxFrequency =
    u"В канале №%1 не введена частота передачи";                                      // %1: channel number
inline constexpr QStringView Band = u"Ошибка в канале №%1 частотный диапазон %2 MГц"; // %2: "140-174"
inline constexpr QStringView OffGrid = u"Частота должна быть кратна 6,25кГц";
inline constexpr QStringView PowerMin = u"Не желательно использовать в минимальной мощности 4 уровень";
inline constexpr QStringView PowerMax = u"Не желательно использовать в максимальной мощности 1 уровень";
inline constexpr QStringView Passed = u"Все данные введены верно.";

} // namespace yalmera::texts::check

namespace yalmera::texts::readback {

// Refusals of a read stream the program cannot hold. %1.. are filled in by the decoder.
inline constexpr QStringView StreamIncomplete =
    u"Станция передала неполные данные (%1 байт из %2): данные не приняты.";
inline constexpr QStringView TooManyChannels =
    u"Станция передала число каналов %1, а допускается не более 99: данные не приняты.";
// A plan of no channels could be saved but never opened again as a plan file.
inline constexpr QStringView NoChannels =
    u"Станция передала число каналов 0: в станции нет данных каналов, данные не приняты.";
inline constexpr QStringView BadCtcssCode =
    u"Станция передала недопустимый код CTCSS %1 в канале %2 (запись %3): данные не приняты.";
inline constexpr QStringView BadDcsCode =
    u"Станция передала недопустимый код DCS %1 в канале %2 (запись %3): данные не приняты.";

} // namespace yalmera::texts::readback

namespace yalmera::texts::comparison {

// A plan compared with a station in the journal's words, in the language of its columns (%1.. as
// DifferenceWords takes them), and the names of the two sides.
inline constexpr QStringView Setting = u"установки %1: %2 %3, %4 %5";
inline constexpr QStringView Cell = u"канал %1, %2: %3 %4, %5 %6";
inline constexpr QStringView OnlyIn = u"канал %1 есть только: %2";
inline constexpr QStringView Plan = u"план";
inline constexpr QStringView Station = u"станция";

} // namespace yalmera::texts::comparison
