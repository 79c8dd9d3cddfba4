#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace yalmera {

// The two bands the program can program. The menu also lists 300-345 and 400-486 MHz, never enabled.
enum class Band { Mhz30to60, Mhz144to174 };

// Channels a plan may hold: the station keeps one record slot per channel, and the data check
// sends the count in one byte. Both models have the same slots.
inline constexpr int MaxChannels = 99;

// The selected band with the constants every part takes from it. typeCode normally follows the
// band, but a plan file or a station may bring a code of their own (a file's "Тип" of 7 keeps the
// band and still takes the code). A default value is the default band, "Ялмера 4К-17".
struct StationType
{
    Band band = Band::Mhz144to174;
    qint32 lowerLimitKHz = 140000;
    qint32 upperLimitKHz = 174000;
    qint32 dividerModulus = 32;      // synthesiser modulus used in the frequency words
    qint32 receiveOffsetKHz = 45000; // intermediate frequency added to receive frequencies
    quint8 typeCode = 0;

    static constexpr StationType forBand(Band band);

    // "Ялмера 4К-17" / "Ялмера 4К-15": the main window's caption for the band.
    QString modelCaption() const;

    // The lower limit as the template's start-frequency field shows it ("140000", "30000").
    QString lowerLimitText() const { return QString::number(lowerLimitKHz); }

    // "140-174" / "30-60": the band limits in MHz as the refusal messages write them.
    QString limitsMHzText() const;

    friend bool operator==(const StationType&, const StationType&) = default;
};

// The band constants of the two models.
inline constexpr StationType Band144to174Constants{};
inline constexpr StationType Band30to60Constants{Band::Mhz30to60, 30000, 60000, 8, 21400, 1};

constexpr StationType StationType::forBand(Band band)
{
    return band == Band::Mhz30to60 ? Band30to60Constants : Band144to174Constants;
}

// The additional module of the "Модули " menu as the station and the plan file take it
// ("ТипВУ"). A file or a station may bring any other byte; it is kept as it came.
enum class ModuleType : quint8 {
    None = 0,          // "Нет модуля"
    Masker07PL300 = 1, // "Маскиратор 07ПЛ300-02Г"
    Trimlink = 2,      // "Модуль Тримлинк"
    Zorpik = 3,        // "Маскиратор Зорпик"
    Tenir = 4,         // "Маскиратор типа \"Тенир\""
};
constexpr quint8 moduleCode(ModuleType module)
{
    return static_cast<quint8>(module);
}
constexpr ModuleType moduleTypeOfCode(quint8 code)
{
    return static_cast<ModuleType>(code);
}

// The band a plan file's "Тип" or a station's TypeCode names: 0 144-174 MHz, 1 or 2 30-60 MHz;
// any other code names none (the selected band then stays).
std::optional<Band> bandOfTypeCode(quint8 typeCode);

} // namespace yalmera
