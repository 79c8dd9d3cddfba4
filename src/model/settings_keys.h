#pragma once

#include <QStringView>

#include <array>

// The keys of the general-settings block, spelled once: the template writes them, the file
// reader rebuilds the block from them, the data check reads them and the station read-back writes
// them again.
namespace yalmera::keys {

inline constexpr QStringView SerialNumber = u"Серийный номер"; // only from a file or a station
inline constexpr QStringView IdNumber = u"Id_номер";
inline constexpr std::array<QStringView, 10> Tones{u"Тон1", u"Тон2", u"Тон3", u"Тон4", u"Тон5",
                                                   u"Тон6", u"Тон7", u"Тон8", u"Тон9", u"Тон10"};
inline constexpr std::array<QStringView, 4> Powers{u"P_1", u"P_2", u"P_3", u"P_4"};
inline constexpr QStringView Brightness = u"Яркость диодов";
inline constexpr QStringView Volume = u"Громкость";
inline constexpr QStringView MinVolume = u"МинГромкость";
inline constexpr QStringView KeyBeep = u"Пик_кнопок";
inline constexpr QStringView Fv = u"ФВ";
inline constexpr QStringView DcsPolarity = u"Код_DCS";
inline constexpr QStringView ScanFunction = u"Ф_Скан";
inline constexpr QStringView VFunction = u"Ф_V";
inline constexpr QStringView Module = u"ВУ";
inline constexpr QStringView SpecialChannel = u"СК";

// Keys the plan file adds to the block: the band code and the module type.
inline constexpr QStringView TypeCode = u"Тип";
inline constexpr QStringView ModuleType = u"ТипВУ";

} // namespace yalmera::keys
