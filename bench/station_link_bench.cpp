// A 99-channel write and read against yalmera-station. Paced (--pace), the station takes and
// sends bytes at real 1200-baud byte times: the wall time is compared with the line's physical
// minimum (write: 1808 bytes x 2 byte times, each byte and its reply; read: 1810 byte times).
// Unpaced, the wall time per byte is the program's own overhead (plus the station's and the
// pseudo-terminal's), with and without the byte trace. Run with --benchmark_counters_tabular=true
// for a compact table.
#include "image/data_check.h"
#include "link/byte_trace.h"
#include "link/exchange_report.h"
#include "link/read_exchange.h"
#include "link/serial_link.h"
#include "link/write_exchange.h"
#include "session/app_state.h"
#include "session/station_exchanges.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace yalmera;

namespace {

constexpr double ByteTimeS = 10.0 / Yalmera4K17.timings.baud;
constexpr int WriteBytes = streamSize(Stream::Write, Yalmera4K17.maxChannels); // 1808
constexpr int ReadBytes = streamSize(Stream::Read, Yalmera4K17.maxChannels);   // 1810

class NoObserver final : public ExchangeObserver
{
public:
    void gaugeChanged(int) override {}
    void phaseChanged(ExchangePhase) override {}
};

// The station process, serving a pseudo-terminal until its standard input closes.
class Station
{
public:
    explicit Station(bool paced)
    {
        QStringList arguments{QStringLiteral("--pty"), QStringLiteral("--stdin-quit")};
        if (paced)
            arguments << QStringLiteral("--pace");
        m_process.start(QStringLiteral(YALMERA_BINARY_DIR "/src/station/yalmera-station"), arguments);
        if (!m_process.waitForStarted(5000))
            std::abort();
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                std::abort();
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~Station()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    QString path() const { return m_path; }

private:
    QProcess m_process;
    QString m_path;
};

const AppState& plan99()
{
    static const AppState state = [] {
        AppState s;
        TemplateFields fields;
        fields.count = QStringLiteral("99");
        fields.startKHz = QStringLiteral("144000");
        fields.offsetKHz = QStringLiteral("250");
        if (!s.createTemplate(fields).isEmpty() || !runDataCheck(s).passed)
            std::abort();
        return s;
    }();
    return state;
}

void writeAndRead(benchmark::State& bench, bool paced, bool write, bool traced = false)
{
    Station station(paced);
    WriteRequest request = writeRequest(plan99(), station.path());
    // The trace as the command line keeps it: a file of its own, a line per byte.
    QTemporaryDir traceFolder;
    if (traced) {
        QString error;
        request.trace = ByteTrace::open(traceFolder.filePath(QStringLiteral("trace.txt")),
                                        ByteTrace::Mode::Replace, &error);
        if (!request.trace)
            std::abort();
    }
    if (!write) {
        // The station must hold the plan before it can be read.
        NoObserver observer;
        if (!runWriteExchange(request, observer).ok())
            std::abort();
    }
    double seconds = 0;
    for (auto _ : bench) {
        NoObserver observer;
        QElapsedTimer timer;
        timer.start();
        bool ok = false;
        if (write)
            ok = runWriteExchange(request, observer).ok();
        else
            ok = runReadExchange({station.path(), request.model, request.trace}, observer).ok();
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
        if (!ok)
            bench.SkipWithError("exchange failed");
        bench.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    const double perRun = seconds / static_cast<double>(bench.iterations());
    // Both wait for a quiet line before their command byte, and the write pauses 200 ms after
    // the header, by design; that is no overhead of the line.
    const ExchangeTimings& timings = request.model->timings;
    const double pause = std::chrono::duration<double>(timings.quietLine).count() +
                         (write ? std::chrono::duration<double>(timings.headerRecordPause).count() : 0.0);
    const int bytes = write ? WriteBytes : ReadBytes;
    bench.counters["wall_s"] = perRun;
    if (paced) {
        const double minimum = write ? WriteBytes * 2 * ByteTimeS : ReadBytes * ByteTimeS;
        bench.counters["physical_min_s"] = minimum;
        bench.counters["over_min_%"] = 100.0 * (perRun - minimum) / minimum;
        bench.counters["over_min_no_pause_%"] = 100.0 * (perRun - pause - minimum) / minimum;
    } else {
        bench.counters["own_ms_per_byte"] = 1000.0 * (perRun - pause) / bytes;
    }
}

void BM_PacedWrite99(benchmark::State& s)
{
    writeAndRead(s, true, true);
}
void BM_PacedRead99(benchmark::State& s)
{
    writeAndRead(s, true, false);
}
void BM_UnpacedWrite99(benchmark::State& s)
{
    writeAndRead(s, false, true);
}
void BM_UnpacedRead99(benchmark::State& s)
{
    writeAndRead(s, false, false);
}
// The same with every byte traced: the difference in own_ms_per_byte is what the trace costs.
void BM_UnpacedWrite99Traced(benchmark::State& s)
{
    writeAndRead(s, false, true, true);
}
void BM_UnpacedRead99Traced(benchmark::State& s)
{
    writeAndRead(s, false, false, true);
}

} // namespace

BENCHMARK(BM_PacedWrite99)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_PacedRead99)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_UnpacedWrite99)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpacedRead99)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpacedWrite99Traced)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpacedRead99Traced)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
