// The settings lookup on arbitrary text, with keys taken from the input too. The input is the
// settings text, a NUL byte, then one key per line. Both INI readers (the settings block's and the
// plan files') must give every key the same value.

#include "fuzz_check.h"

#include "files/ini_document.h"
#include "files/plan_text_codec.h"
#include "model/general_settings.h"
#include "model/ini_syntax.h"

using namespace yalmera;

namespace {

constexpr qint32 Missing = -123456789;

void checkKey(const GeneralSettings& settings, const files::IniDocument& document, const QString& key)
{
    const std::optional<QString> value = settings.lookup(key);
    if (value)
        FUZZ_CHECK(*value == value->trimmed());
    FUZZ_CHECK(settings.textValue(key, QStringLiteral("\x01")) == value.value_or(QStringLiteral("\x01")));

    const qint32 number = settings.integerValue(key, Missing);
    if (!value) {
        FUZZ_CHECK(number == Missing);
    } else if (const std::optional<qint32> parsed = ini::integerValue(*value)) {
        FUZZ_CHECK(number == *parsed);
        // The decimal text of what was read reads as the same number.
        FUZZ_CHECK(ini::integerValue(QString::number(*parsed)) == parsed);
    } else {
        FUZZ_CHECK(number == Missing);
    }

    // The plan-file reader reads the same section by the same rules.
    if (key == key.trimmed())
        FUZZ_CHECK(document.value(GeneralSettings::sectionName(), key) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0; // long texts add nothing but time
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const qsizetype split = bytes.indexOf('\0');
    const QString text = files::decodePlanText(split < 0 ? bytes : bytes.left(split));
    QStringList keys;
    if (split >= 0)
        keys = QString::fromUtf8(bytes.mid(split + 1)).split(u'\n');
    // The keys the data check asks for, besides those of the input.
    keys << QStringLiteral("Яркость диодов") << QStringLiteral("СК") << QStringLiteral("ФВ")
         << QStringLiteral("Тон10") << QStringLiteral("Id_номер");

    GeneralSettings settings;
    settings.setText(text);
    const files::IniDocument document(settings.lines());
    // What the user sees in the editor and types back gives the same values.
    GeneralSettings retyped;
    retyped.setText(settings.text());
    for (const QString& key : keys) {
        checkKey(settings, document, key);
        FUZZ_CHECK(retyped.lookup(key) == settings.lookup(key));
    }
    return 0;
}
