// The protocol of a 99-channel plan rendered as a PDF while one cell holds N digits (the data
// check reads the "Sw" column only for "12,5", so such a plan passes it). A cell shows only what
// fits its width: the time must stay flat as N grows, not grow with N or its square. Run with
// --benchmark_counters_tabular=true for a compact table.
#include "image/data_check.h"
#include "report/protocol_document.h"
#include "report/protocol_pdf.h"
#include "session/app_state.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace yalmera;

namespace {

void BM_ProtocolPdfWithLongCell(benchmark::State& run)
{
    AppState state;
    TemplateFields fields;
    fields.count = QStringLiteral("99");
    fields.startKHz = QStringLiteral("145000");
    fields.offsetKHz = QStringLiteral("25");
    if (!state.createTemplate(fields).isEmpty())
        std::abort();
    state.editTable().setCell(Column::Width, 50, QString(run.range(0), u'7'));
    if (!runDataCheck(state).passed)
        std::abort();
    const report::ProtocolDocument document =
        report::buildProtocolDocument(state, QStringLiteral("К17М-12345"));

    QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    const QString path = dir.filePath(QStringLiteral("protocol.pdf"));
    for (auto _ : run) {
        if (!report::writeProtocolPdf(document, path).isEmpty())
            std::abort();
    }
    run.counters["digits"] = static_cast<double>(run.range(0));
}

} // namespace

BENCHMARK(BM_ProtocolPdfWithLongCell)
    ->Arg(10)
    ->Arg(50'000)
    ->Arg(200'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // Text is laid out with the platform's fonts; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
