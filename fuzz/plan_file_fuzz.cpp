// The INI document and the plan-file reader on arbitrary bytes: every input decodes to a plan or
// to one refusal, a plan has the shape the program relies on, and a plan the writer accepts
// reads back unchanged.

#include "fuzz_check.h"

#include "files/ini_document.h"
#include "files/plan_file.h"
#include "files/plan_text_codec.h"
#include "model/channel_table.h"

using namespace yalmera;
using namespace yalmera::files;

namespace {

void checkDocument(const QByteArray& bytes)
{
    const QString text = decodePlanText(bytes);
    const IniDocument document = IniDocument::fromText(text);
    // Written out and read again, the document keeps every line.
    const QStringList lines = document.lines();
    FUZZ_CHECK(IniDocument::fromText(document.text()).lines() == lines);

    // A key set in a section of the text reads back as set, whatever the text held before.
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (key.isEmpty() || key.startsWith(u'['))
            continue;
        IniDocument changed = document;
        changed.setValue(QStringLiteral("Общие установки"), key, QStringLiteral("v"));
        FUZZ_CHECK(changed.value(u"Общие установки", key) == QStringLiteral("v"));
        break;
    }
}

void checkPlan(const PlanFileContents& plan)
{
    FUZZ_CHECK(plan.settings.lines().size() == 27);
    FUZZ_CHECK(plan.settings.lines().first() == QStringLiteral("[Общие установки]"));
    const ChannelTable& table = plan.table;
    FUZZ_CHECK(table.channelCount() >= 1 && table.channelCount() <= MaxChannels);
    for (int row = 1; row < table.rowCount(); ++row)
        FUZZ_CHECK(table.hasFlags(row));
    FUZZ_CHECK(table.cell(Column::TxFrequency, 0) ==
               columnCaption(Column::TxFrequency, CaptionStyle::FileRead));

    // Saved and read again, the plan is the same plan (or the writer says why it cannot save it).
    const PlanEncodeResult encoded = tryEncodePlan(plan.settings, plan.table, plan.typeCode, plan.moduleType);
    FUZZ_CHECK(encoded.ok() == encoded.error.isEmpty());
    if (!encoded.ok())
        return;
    const PlanDecodeResult again = decodePlan(encoded.bytes);
    FUZZ_CHECK(again.contents.has_value());
    FUZZ_CHECK(again.contents->settings == plan.settings);
    FUZZ_CHECK(again.contents->table == plan.table);
    FUZZ_CHECK(again.contents->typeCode == plan.typeCode);
    FUZZ_CHECK(again.contents->moduleType == plan.moduleType);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // readPlanFile refuses larger files before decoding them.
    if (size > static_cast<std::size_t>(MaxPlanFileBytes))
        return 0;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkDocument(bytes);

    const PlanDecodeResult decoded = decodePlan(bytes);
    // Exactly one of plan and refusal.
    FUZZ_CHECK(decoded.contents.has_value() == decoded.error.isEmpty());
    if (decoded.contents)
        checkPlan(*decoded.contents);
    return 0;
}
