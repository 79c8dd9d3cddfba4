#include "device_image.h"

#include "model/number_text.h"
#include "model/value_lists.h"

#include <algorithm>

namespace yalmera {

QByteArray DeviceImage::writeStream(quint8 moduleType, quint8 typeCode) const
{
    const int count = std::min<int>(channelCount, MaxRecords);
    QByteArray stream;
    stream.reserve(HeaderSize + ChannelRecord::Size * count);
    auto put = [&stream](quint8 byte) { stream.append(static_cast<char>(byte)); };
    put(WriteCommand);
    put(brightnessCode);
    put(volume);
    put(static_cast<quint8>(count)); // the count of the records that follow
    put(keyBeep);
    put(specialChannelIndex);
    for (quint8 code : toneCodes)
        put(code);
    put(static_cast<quint8>(idCode >> 8));
    put(static_cast<quint8>(idCode & 0xFF));
    put(fvCode);
    put(minVolume);
    put(dcsPolarity);
    put(functionFlags);
    put(moduleType);
    put(typeCode);
    put(typeCode);
    put(typeCode);
    for (int i = 0; i < count; ++i) {
        for (quint8 byte : records[static_cast<std::size_t>(i)].bytes)
            put(byte);
    }
    return stream;
}

std::optional<WriteStreamContents> readWriteStream(QByteArrayView stream)
{
    if (stream.size() < DeviceImage::HeaderSize)
        return std::nullopt;
    const auto at = [&stream](qsizetype i) { return static_cast<quint8>(stream[i]); };
    WriteStreamContents contents;
    DeviceImage& image = contents.image;
    image.brightnessCode = at(DeviceImage::BrightnessOffset);
    image.volume = at(DeviceImage::VolumeOffset);
    image.keyBeep = at(DeviceImage::KeyBeepOffset);
    image.specialChannelIndex = at(DeviceImage::SpecialChannelOffset);
    for (std::size_t k = 0; k < image.toneCodes.size(); ++k)
        image.toneCodes[k] = at(DeviceImage::ToneCodesOffset + static_cast<qsizetype>(k));
    image.idCode =
        static_cast<quint16>(at(DeviceImage::IdCodeOffset) << 8 | at(DeviceImage::IdCodeOffset + 1));
    image.fvCode = at(DeviceImage::FvCodeOffset);
    image.minVolume = at(DeviceImage::MinVolumeOffset);
    image.dcsPolarity = at(DeviceImage::DcsPolarityOffset);
    image.functionFlags = at(DeviceImage::FunctionFlagsOffset);
    contents.moduleType = at(DeviceImage::ModuleTypeOffset);
    contents.typeCode = at(DeviceImage::TypeCodeOffset);
    const qsizetype held = (stream.size() - DeviceImage::HeaderSize) / ChannelRecord::Size;
    const int count = static_cast<int>(
        std::min<qsizetype>({at(DeviceImage::ChannelCountOffset), DeviceImage::MaxRecords, held}));
    image.channelCount = static_cast<quint8>(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype start = DeviceImage::RecordsOffset + qsizetype{ChannelRecord::Size} * i;
        std::copy_n(stream.data() + start, ChannelRecord::Size,
                    reinterpret_cast<char*>(image.records[static_cast<std::size_t>(i)].bytes.data()));
    }
    return contents;
}

FrequencyWord encodeFrequencyWord(std::int64_t steps, qint32 modulus)
{
    const std::int64_t q = steps / modulus;
    const std::int64_t r = steps % modulus;
    return {
        static_cast<quint8>(0x10 + ((q >> 9) & 0x0F)),
        static_cast<quint8>((q >> 1) & 0xFF),
        static_cast<quint8>(((r * 4 + 1) & 0x7F) + ((q & 1) ? 0x80 : 0)),
    };
}

FrequencyWord frequencyWordForKHz(double kHz, qint32 modulus)
{
    return encodeFrequencyWord(static_cast<std::int64_t>(roundHalfEven(kHz / 6.25)), modulus);
}

std::int64_t decodeFrequencyWordSteps(const FrequencyWord& word, qint32 modulus)
{
    const std::int64_t q = (word[0] % 16) * 512 + word[1] * 2 + word[2] / 128;
    const std::int64_t r = divideRoundHalfEven(word[2] % 128, 4);
    return q * modulus + r;
}

int idSymbolValue(QChar symbol)
{
    const char16_t c = symbol.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'D')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'd')
        return c - u'a' + 10;
    if (c == u'#')
        return 14;
    if (c == u'*')
        return 15;
    return 0;
}

quint16 packIdCode(QStringView text)
{
    quint16 code = 0;
    for (qsizetype i = 0; i < 4; ++i)
        code = static_cast<quint16>((code << 4) | (i < text.size() ? idSymbolValue(text[i]) : 0));
    return code;
}

QString idCodeText(quint16 code)
{
    static constexpr char16_t Symbols[] = u"0123456789ABCD#*";
    QString text;
    for (int shift = 12; shift >= 0; shift -= 4)
        text += QChar(Symbols[(code >> shift) & 0x0F]);
    return text;
}

namespace {

constexpr std::array<std::array<QStringView, 2>, 42> DcsTwins{{
    {u"023", u"047"}, {u"025", u"244"}, {u"026", u"464"}, {u"031", u"627"}, {u"032", u"051"},
    {u"036", u"172"}, {u"043", u"445"}, {u"054", u"413"}, {u"065", u"271"}, {u"071", u"306"},
    {u"072", u"245"}, {u"073", u"506"}, {u"074", u"174"}, {u"114", u"712"}, {u"115", u"152"},
    {u"116", u"754"}, {u"125", u"365"}, {u"131", u"364"}, {u"132", u"546"}, {u"134", u"223"},
    {u"143", u"412"}, {u"155", u"731"}, {u"156", u"265"}, {u"162", u"503"}, {u"165", u"251"},
    {u"205", u"263"}, {u"226", u"411"}, {u"243", u"351"}, {u"261", u"732"}, {u"311", u"664"},
    {u"315", u"423"}, {u"331", u"465"}, {u"343", u"532"}, {u"346", u"612"}, {u"371", u"734"},
    {u"431", u"723"}, {u"432", u"516"}, {u"466", u"662"}, {u"565", u"703"}, {u"606", u"631"},
    {u"624", u"632"}, {u"654", u"743"},
}};

// DcsInverseTable, indexed by DcsCodes position; built once from the twin pairs.
std::array<quint8, 85> makeDcsInverseTable()
{
    std::array<quint8, 85> table{};
    for (const auto& pair : DcsTwins) {
        const int a = firstPosition(DcsCodes, pair[0]);
        const int b = firstPosition(DcsCodes, pair[1]);
        table[static_cast<std::size_t>(a)] = static_cast<quint8>(b);
        table[static_cast<std::size_t>(b)] = static_cast<quint8>(a);
    }
    return table;
}

} // namespace

quint8 dcsInverse(int position)
{
    static const std::array<quint8, 85> DcsInverseTable = makeDcsInverseTable();
    if (position < 0 || position >= static_cast<int>(DcsInverseTable.size()))
        return 0;
    return DcsInverseTable[static_cast<std::size_t>(position)];
}

quint8 toneCode(int hz)
{
    return static_cast<quint8>(std::clamp<std::int64_t>(divideRoundHalfEven(hz, 10), 0, 255));
}

} // namespace yalmera
