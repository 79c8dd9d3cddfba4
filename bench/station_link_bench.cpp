// A 99-channel write and read against yalmera-station. Paced (--pace), the station takes and
// sends bytes at real 1200-baud byte times: the wall time is compared with the line's physical
// minimum (write: 1808 bytes x 2 byte times, each byte and its reply; read: 1810 byte times).
// Unpaced, the wall time per byte is the program's own overhead (plus the station's and the
// pseudo-terminal's), with and without the byte trace. The fleet write puts the plan into 1, 4 and
// 8 paced stations at once (one thread per port): its wall time against the one station's, and
// this process's CPU time and peak memory per port. Run with --benchmark_counters_tabular=true
// for a compact table. The 10-channel write with late replies (--reply-delay 0, 2, 8, 16 ms, as
// an adapter's latency timer holds them) gives its time against the line's floor, and the
// latency and time the write measured and predicted after its first replies.
#include "image/data_check.h"
#include "link/byte_trace.h"
#include "link/exchange_report.h"
#include "link/read_exchange.h"
#include "link/serial_link.h"
#include "link/write_exchange.h"
#include "session/app_state.h"
#include "session/fleet_exchange.h"
#include "session/station_exchanges.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

#ifdef __unix__
#include <sys/resource.h>
#endif

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
    explicit Station(bool paced, const QStringList& more = {})
    {
        QStringList arguments{QStringLiteral("--pty"), QStringLiteral("--stdin-quit")};
        if (paced)
            arguments << QStringLiteral("--pace");
        arguments << more;
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

AppState checkedTemplate(int channels)
{
    AppState s;
    TemplateFields fields;
    fields.count = QString::number(channels);
    fields.startKHz = QStringLiteral("144000");
    fields.offsetKHz = QStringLiteral("250");
    if (!s.createTemplate(fields).isEmpty() || !runDataCheck(s).passed)
        std::abort();
    return s;
}

class LatencyObserver final : public ExchangeObserver
{
public:
    void gaugeChanged(int) override {}
    void phaseChanged(ExchangePhase) override {}
    void latencyNoticed(const LatencyNotice& said) override { notice = said; }
    std::optional<LatencyNotice> notice;
};

void BM_PacedWrite10LateReplies(benchmark::State& bench)
{
    const int delayMs = static_cast<int>(bench.range(0));
    Station station(true, {QStringLiteral("--reply-delay"), QString::number(delayMs)});
    const WriteRequest request = writeRequest(checkedTemplate(10), station.path());
    const ExchangeTimings& timings = request.model->timings;
    const int bytes = static_cast<int>(request.stream.size());
    // The line's floor: every byte and its reply at their byte times, the quiet line before the
    // command byte and the pause after the header.
    const double floor = bytes * 2 * ByteTimeS + std::chrono::duration<double>(timings.quietLine).count() +
                         std::chrono::duration<double>(timings.headerRecordPause).count();
    double seconds = 0;
    for (auto _ : bench) {
        LatencyObserver observer;
        QElapsedTimer timer;
        timer.start();
        const WriteResult result = runWriteExchange(request, observer);
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
        if (!result.ok())
            bench.SkipWithError("exchange failed");
        bench.SetIterationTime(elapsed);
        seconds += elapsed;
        bench.counters["latency_ms"] = result.replyLatencyMs.value_or(-1);
        bench.counters["said"] = observer.notice ? 1 : 0;
        bench.counters["predicted_s"] =
            observer.notice ? std::chrono::duration<double>(observer.notice->predicted).count() : 0.0;
    }
    const double perRun = seconds / static_cast<double>(bench.iterations());
    bench.counters["wall_s"] = perRun;
    bench.counters["floor_s"] = floor;
    bench.counters["x_floor"] = perRun / floor;
}

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

class NoFleetObserver final : public FleetObserver
{
public:
    void stationStep(int, FleetStep) override {}
    void stationPhase(int, ExchangePhase) override {}
    void stationGauge(int, int) override {}
    void stationEnded(int, const FleetStationResult&) override {}
};

// This process's peak resident memory in KiB (0 where the system does not say).
double peakMemoryKiB()
{
#ifdef __unix__
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss);
#else
    return 0;
#endif
}

// The 99-channel plan into range(0) paced stations at once. The first run (one station) is the
// measure of the others: they should take at most 1.05 (4) and 1.10 (8) times as long.
void BM_PacedFleetWrite99(benchmark::State& bench)
{
    static double oneStationS = 0;
    const int count = static_cast<int>(bench.range(0));
    std::vector<std::unique_ptr<Station>> stations;
    QList<FleetStation> ports;
    for (int i = 0; i < count; ++i) {
        stations.push_back(std::make_unique<Station>(true));
        ports.append({stations.back()->path(), {}, nullptr});
    }
    QTemporaryDir folder;
    FleetRequest request;
    request.write = writeRequest(plan99(), {});
    request.read = readRequest(plan99(), {});
    request.journalPath = folder.filePath(QStringLiteral("journal.csv"));
    const double memoryBefore = peakMemoryKiB();
    double seconds = 0;
    double cpu = 0;
    for (auto _ : bench) {
        NoFleetObserver observer;
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        const QList<FleetStationResult> results = runFleetExchange(request, ports, observer);
        cpu += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
        for (const FleetStationResult& result : results) {
            if (!result.holdsPlan())
                bench.SkipWithError("a station was not written");
        }
        bench.SetIterationTime(elapsed);
        seconds += elapsed;
    }
    const double perRun = seconds / static_cast<double>(bench.iterations());
    if (count == 1)
        oneStationS = perRun;
    bench.counters["wall_s"] = perRun;
    if (oneStationS > 0)
        bench.counters["x_one_station"] = perRun / oneStationS;
    bench.counters["cpu_s"] = cpu / static_cast<double>(bench.iterations());
    bench.counters["cpu_s_per_port"] = cpu / static_cast<double>(bench.iterations()) / count;
    bench.counters["peak_rss_KiB"] = peakMemoryKiB();
    bench.counters["rss_growth_KiB"] = peakMemoryKiB() - memoryBefore;
}

} // namespace

BENCHMARK(BM_PacedFleetWrite99)
    ->Arg(1)
    ->Arg(4)
    ->Arg(8)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_PacedWrite10LateReplies)
    ->Arg(0)
    ->Arg(2)
    ->Arg(8)
    ->Arg(16)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
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
