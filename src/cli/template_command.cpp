#include "cli_support.h"

#include "files/plan_file.h"
#include "session/app_state.h"

#include <optional>

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class TemplateCommand
{
    Q_DECLARE_TR_FUNCTIONS(TemplateCommand)
};

QString helpText()
{
    return TemplateCommand::tr(
        "Usage: yalmera-cli template [--count N] [--start KHZ] [--offset KHZ] [--band 144-174|30-60]\n"
        "                            [--module 0..4] -o PLAN.ini\n"
        "\n"
        "Makes the plan that \"Создать шаблон\" and \"Ok\" make and saves it as a channel-plan file\n"
        "(Windows-1251, CR LF). Prints what it saved: channel count, frequencies, band and module.\n"
        "\n"
        "Options:\n"
        "  --count N           channel count, one or two digits, 1 to 99 (default 10)\n"
        "  --start KHZ         frequency of channel 1 in kHz, comma as decimal separator, on the\n"
        "                      6,25 kHz grid and inside the band (default: the band's lower limit,\n"
        "                      140000 or 30000)\n"
        "  --offset KHZ        step between channels in kHz, on the 6,25 kHz grid (default 1000);\n"
        "                      channels past the band's upper limit are held at the limit\n"
        "  --band B            144-174 (\"Ялмера 4К-17\", default) or 30-60 (\"Ялмера 4К-15\");\n"
        "                      saved as \"Тип\" 0 or 1\n"
        "  --module M          additional module 0 to 4, saved as \"ТипВУ\" (default 0, no module)\n"
        "  -o, --output FILE   the plan file to write; an existing file is replaced only when the\n"
        "                      new one is complete\n"
        "  -h, --help          this text\n"
        "\n"
        "Exit codes: 0 the plan was saved; 1 the template refused the input; 2 usage or file\n"
        "error. Messages on stderr.");
}

// "--band" and "--module" into the state; the exit code of a value they do not take.
std::optional<int> chooseBandAndModule(CommandLine& commandLine, const QCommandLineOption& band,
                                       const QCommandLineOption& module, AppState& state)
{
    if (commandLine.isSet(band)) {
        const QString text = commandLine.value(band);
        const auto chosen = bandFromText(text);
        if (!chosen)
            return commandLine.usageError(
                TemplateCommand::tr("unknown band '%1' (144-174 or 30-60)").arg(text));
        state.selectBand(*chosen);
    }
    if (commandLine.isSet(module)) {
        const QString text = commandLine.value(module);
        if (text.size() != 1 || text[0] < u'0' || text[0] > u'4')
            return commandLine.usageError(TemplateCommand::tr("module must be 0 to 4, not '%1'").arg(text));
        state.selectModule(moduleTypeOfCode(static_cast<quint8>(text[0].unicode() - u'0')));
    }
    return std::nullopt;
}

// What was saved where, as one line on stdout.
void printSaved(const AppState& state, const QString& path)
{
    const ChannelTable& table = state.table();
    const int channels = table.channelCount();
    printOut(
        TemplateCommand::tr("%n channel(s), %1 to %2 kHz, %3 (%4 MHz, type code %5), module %6, saved to %7",
                            nullptr, channels)
            .arg(table.cell(Column::RxFrequency, 1), table.cell(Column::RxFrequency, channels),
                 state.stationType().modelCaption(), bandText(state.stationType().band))
            .arg(state.stationType().typeCode)
            .arg(moduleCode(state.moduleType()))
            .arg(path));
}

} // namespace

int runTemplate(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("template"), helpText());
    const QCommandLineOption count = commandLine.addOption({QStringLiteral("count")}, QStringLiteral("N"));
    const QCommandLineOption start = commandLine.addOption({QStringLiteral("start")}, QStringLiteral("KHZ"));
    const QCommandLineOption offset =
        commandLine.addOption({QStringLiteral("offset")}, QStringLiteral("KHZ"));
    const QCommandLineOption band = commandLine.addOption({QStringLiteral("band")}, QStringLiteral("B"));
    const QCommandLineOption module = commandLine.addOption({QStringLiteral("module")}, QStringLiteral("M"));
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments))
        return *exit;
    const QString path = commandLine.value(output);
    if (path.isEmpty())
        return commandLine.usageError(TemplateCommand::tr("no output file given (-o PLAN.ini)"));

    AppState state;
    if (const auto exit = chooseBandAndModule(commandLine, band, module, state))
        return *exit;

    TemplateFields fields;
    fields.startKHz = state.stationType().lowerLimitText();
    if (commandLine.isSet(count))
        fields.count = commandLine.value(count);
    if (commandLine.isSet(start))
        fields.startKHz = commandLine.value(start);
    if (commandLine.isSet(offset))
        fields.offsetKHz = commandLine.value(offset);

    if (const UserMessage refusal = state.createTemplate(fields); !refusal.isEmpty())
        return commandLine.refusal(refusal.text);
    const UserMessage saved = files::writePlanFile(
        path, state.settings(), state.table(), state.stationType().typeCode, moduleCode(state.moduleType()));
    if (!saved.isEmpty()) {
        if (saved.kind == MessageKind::Failure)
            return commandLine.fileError(path, saved.text);
        return commandLine.refusal(saved.text);
    }
    printSaved(state, path);
    return ExitSuccess;
}

} // namespace yalmera::cli
