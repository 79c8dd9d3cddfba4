#include "cli_support.h"

#include "report/protocol_docx.h"
#include "report/protocol_pdf.h"
#include "session/app_state.h"

#include <QFileInfo>

namespace yalmera::cli {

namespace {

// The command's own texts (translations/yalmera-cli_ru.ts).
class ProtocolCommand
{
    Q_DECLARE_TR_FUNCTIONS(ProtocolCommand)
};

QString helpText()
{
    return ProtocolCommand::tr(
        "Usage: yalmera-cli protocol PLAN.ini [--serial TEXT] -o OUT.docx|OUT.pdf\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "on it and, when the plan passes, writes the programming protocol of \"Создать протокол\":\n"
        "title, serial number, the settings lines and the channel table, A4 landscape. Prints what\n"
        "it saved: the serial number, the channel count and the document.\n"
        "\n"
        "Options:\n"
        "  --serial TEXT       the station's serial number, printed as typed (may be empty: \"\");\n"
        "                      without it the plan file's \"Серийный номер\" (a plan read from a\n"
        "                      station holds it)\n"
        "  -o, --output FILE   the document to write; .docx (word processor) or .pdf; an existing\n"
        "                      file is replaced only when the new one is complete\n"
        "  -h, --help          this text\n"
        "\n"
        "Exit codes: 0 the protocol was written; 1 the data check refused the plan (its message on\n"
        "stderr); 2 usage or file error.");
}

enum class Format { Docx, Pdf };

} // namespace

int runProtocol(const QStringList& arguments)
{
    CommandLine commandLine(QStringLiteral("protocol"), helpText());
    const QCommandLineOption serial =
        commandLine.addOption({QStringLiteral("serial")}, QStringLiteral("TEXT"));
    const QCommandLineOption output =
        commandLine.addOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE"));
    if (const auto exit = commandLine.parse(arguments, 1))
        return *exit;
    const QString path = commandLine.value(output);
    if (path.isEmpty())
        return commandLine.usageError(
            ProtocolCommand::tr("no output file given (-o OUT.docx or -o OUT.pdf)"));

    const QString suffix = QFileInfo(path).suffix().toLower();
    Format format;
    if (suffix == u"docx")
        format = Format::Docx;
    else if (suffix == u"pdf")
        format = Format::Pdf;
    else
        return commandLine.usageError(
            ProtocolCommand::tr("'%1': the output must end in .docx or .pdf").arg(path));

    const QString planPath = commandLine.positional().first();
    if (!commandLine.eachFileItsOwn({{CommandLine::planFileWords(), planPath}, {QStringLiteral("-o"), path}}))
        return ExitUsage;
    AppState state;
    QString serialNumber;
    if (!loadPlanFile(commandLine, planPath, state, &serialNumber))
        return ExitUsage;
    if (commandLine.isSet(serial))
        serialNumber = commandLine.value(serial);
    else if (serialNumber.isEmpty())
        return commandLine.usageError(ProtocolCommand::tr(
            "no serial number given: --serial TEXT, or a plan file that holds \"Серийный номер\""));
    if (const CheckResult check = runDataCheck(state); !check.passed)
        return commandLine.refusal(check.message.text);

    if (const UserMessage refusal = report::protocolRefusal(state, report::ProtocolRequest::Create);
        !refusal.isEmpty())
        return commandLine.refusal(refusal.text);
    const report::ProtocolDocument document = report::buildProtocolDocument(state, serialNumber);
    const UserMessage written = format == Format::Docx ? report::writeProtocolDocx(document, path)
                                                       : report::writeProtocolPdf(document, path);
    if (!written.isEmpty())
        return commandLine.fileError(path, written.text);
    printOut(ProtocolCommand::tr("Protocol (serial number \"%1\", %n channel(s)) saved to %2", nullptr,
                                 state.image().channelCount)
                 .arg(commandLine.value(serial), path));
    return ExitSuccess;
}

} // namespace yalmera::cli
