#include "cli_support.h"

#include "files/plan_file.h"
#include "image/data_check.h"
#include "report/protocol_docx.h"
#include "report/protocol_pdf.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace yalmera::cli {

namespace {

const QString Name = QStringLiteral("yalmera-cli protocol");

QString helpText()
{
    return QStringLiteral(
        "Usage: yalmera-cli protocol PLAN.ini --serial TEXT -o OUT.docx|OUT.pdf\n"
        "\n"
        "Reads a channel-plan file as \"Чтение файла\" does, runs the data check of \"Контроль\"\n"
        "on it and, when the plan passes, writes the programming protocol of \"Создать протокол\":\n"
        "title, serial number, the settings lines and the channel table, A4 landscape.\n"
        "\n"
        "Options:\n"
        "  --serial TEXT       the station's serial number, printed as typed (may be empty: \"\")\n"
        "  -o, --output FILE   the document to write; .docx (word processor) or .pdf; an existing\n"
        "                      file is replaced only when the new one is complete\n"
        "  -h, --help          this text\n"
        "\n"
        "Exit codes: 0 the protocol was written; 1 the data check refused the plan (its message on\n"
        "stderr); 2 usage or file error.");
}

int usageError(const QString& text)
{
    printErr(Name + QStringLiteral(": ") + text);
    printErr(QStringLiteral("Try 'yalmera-cli protocol --help'."));
    return ExitUsage;
}

enum class Format { Docx, Pdf };

} // namespace

int runProtocol(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption serial(QStringLiteral("serial"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, {},
                                    QStringLiteral("FILE"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({serial, output, help});

    if (!parser.parse(QStringList{Name} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        printOut(helpText());
        return ExitSuccess;
    }
    const QStringList plans = parser.positionalArguments();
    if (plans.size() != 1)
        return usageError(plans.isEmpty() ? QStringLiteral("no plan file given")
                                          : QStringLiteral("unexpected argument '%1'").arg(plans[1]));
    if (!parser.isSet(serial))
        return usageError(QStringLiteral("no serial number given (--serial TEXT)"));
    const QString path = parser.value(output);
    if (path.isEmpty())
        return usageError(QStringLiteral("no output file given (-o OUT.docx or -o OUT.pdf)"));

    const QString suffix = QFileInfo(path).suffix().toLower();
    Format format;
    if (suffix == u"docx")
        format = Format::Docx;
    else if (suffix == u"pdf")
        format = Format::Pdf;
    else
        return usageError(QStringLiteral("'%1': the output must end in .docx or .pdf").arg(path));

    files::PlanDecodeResult read = files::readPlanFile(plans[0]);
    if (!read.contents) {
        printErr(QStringLiteral("%1: %2: %3").arg(Name, plans[0], read.error.text));
        return ExitUsage;
    }
    AppState state;
    state.adoptPlanFile(std::move(*read.contents));
    if (const CheckResult check = runDataCheck(state); !check.passed) {
        printErr(check.message.text);
        return ExitRefused;
    }
    if (const UserMessage refusal = report::protocolRefusal(state, report::ProtocolRequest::Create);
        !refusal.isEmpty()) {
        printErr(refusal.text);
        return ExitRefused;
    }

    const report::ProtocolDocument document = report::buildProtocolDocument(state, parser.value(serial));
    const UserMessage written = format == Format::Docx ? report::writeProtocolDocx(document, path)
                                                       : report::writeProtocolPdf(document, path);
    if (!written.isEmpty()) {
        printErr(QStringLiteral("%1: %2: %3").arg(Name, path, written.text));
        return ExitUsage;
    }
    return ExitSuccess;
}

} // namespace yalmera::cli
