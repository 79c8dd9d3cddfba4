// The path of a plan through the program: read a 99-channel plan file, check and encode it,
// mark its refusals, write it back; and the exchange journal of a depot's years (100 000 lines)
// read for its window. Run with --benchmark_counters_tabular=true for a compact table.
#include "files/delimited_text.h"
#include "files/journal.h"
#include "files/journal_reader.h"
#include "files/plan_file.h"
#include "image/data_check.h"
#include "session/app_state.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace yalmera;

namespace {

struct Fixture
{
    QTemporaryDir dir;
    QString planPath;
    AppState state; // the plan as read from the file

    Fixture()
    {
        if (!dir.isValid())
            std::abort();
        planPath = dir.filePath(QStringLiteral("plan99.ini"));
        AppState made;
        TemplateFields fields;
        fields.count = QStringLiteral("99");
        fields.startKHz = QStringLiteral("144000");
        fields.offsetKHz = QStringLiteral("250");
        if (!made.createTemplate(fields).isEmpty())
            std::abort();
        // A few channels with tones, codes and repeater marks, so every branch of a row runs.
        for (int row = 1; row <= 99; row += 7) {
            made.editTable().setCell(Column::CtcssRx, row, QStringLiteral("67,0"));
            made.editTable().setCell(Column::DcsTx, row + 1, QStringLiteral("023"));
            made.editTable().setCell(Column::ToneRx, row + 2, QStringLiteral("3"));
            made.editTable().setCell(Column::Time, row + 3, QStringLiteral("5"));
            made.editTable().setCell(Column::TxFrequency, row + 4, QStringLiteral("РЕТР_ПР"));
        }
        if (!files::writePlanFile(planPath, made.settings(), made.table(), 0, 0).isEmpty())
            std::abort();
        files::PlanDecodeResult read = files::readPlanFile(planPath);
        if (!read.contents)
            std::abort();
        state.adoptPlanFile(std::move(*read.contents));
        if (!runDataCheck(state).passed)
            std::abort();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_ReadPlanFile(benchmark::State& s)
{
    Fixture& f = fixture();
    for (auto _ : s) {
        files::PlanDecodeResult read = files::readPlanFile(f.planPath);
        benchmark::DoNotOptimize(read.contents);
    }
}
BENCHMARK(BM_ReadPlanFile)->Unit(benchmark::kMicrosecond);

void BM_CheckAndEncode99(benchmark::State& s)
{
    AppState state = fixture().state;
    for (auto _ : s) {
        const CheckResult result = runDataCheck(state);
        if (!result.passed)
            s.SkipWithError("the plan did not pass");
        QByteArray stream =
            state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
        benchmark::DoNotOptimize(stream);
    }
}
BENCHMARK(BM_CheckAndEncode99)->Unit(benchmark::kMicrosecond);

// The marks the window recomputes after every edit: each refusal of the check at its place.
// Target: under 2 ms for 99 rows, with every row refused or none.
void BM_MarkRefusals99(benchmark::State& s)
{
    AppState state = fixture().state;
    const bool everyRowRefused = s.range(0) != 0;
    if (everyRowRefused) {
        for (int row = 1; row <= 99; ++row) {
            state.editTable().setCell(Column::TxFrequency, row, QStringLiteral("145003"));
            state.editTable().setCell(Column::PowerMin, row, QStringLiteral("4"));
        }
    }
    for (auto _ : s) {
        const PlanMarks marks = markRefusals(state.settings(), state.table(), state.stationType());
        if (marks.size() != (everyRowRefused ? 2 * 99 : 0))
            s.SkipWithError("unexpected marks");
        benchmark::DoNotOptimize(marks);
    }
}
BENCHMARK(BM_MarkRefusals99)->Arg(0)->Arg(1)->ArgName("everyRowRefused")->Unit(benchmark::kMicrosecond);

void BM_WritePlanFile(benchmark::State& s)
{
    Fixture& f = fixture();
    const QString out = f.dir.filePath(QStringLiteral("written.ini"));
    for (auto _ : s) {
        UserMessage saved = files::writePlanFile(out, f.state.settings(), f.state.table(), 0, 0);
        benchmark::DoNotOptimize(saved);
    }
}
BENCHMARK(BM_WritePlanFile)->Unit(benchmark::kMicrosecond);

void BM_WholePipeline(benchmark::State& s)
{
    Fixture& f = fixture();
    const QString out = f.dir.filePath(QStringLiteral("pipeline.ini"));
    for (auto _ : s) {
        files::PlanDecodeResult read = files::readPlanFile(f.planPath);
        AppState state;
        state.adoptPlanFile(std::move(*read.contents));
        const CheckResult result = runDataCheck(state);
        QByteArray stream =
            state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
        benchmark::DoNotOptimize(stream);
        UserMessage saved = files::writePlanFile(out, state.settings(), state.table(), 0, 0);
        benchmark::DoNotOptimize(saved);
        if (!result.passed)
            s.SkipWithError("the plan did not pass");
    }
}
BENCHMARK(BM_WholePipeline)->Unit(benchmark::kMicrosecond);

// A journal of lines as appendJournal writes them: writes and reads of 500 stations in turn,
// every one with its plan file, SHA-256 and serial number (some 29 MB).
QString journalOfLines(int count)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal-%1.csv").arg(count));
    if (QFile::exists(path))
        return path;
    QList<QStringList> rows{files::journalCaptions()};
    for (int i = 0; i < count; ++i) {
        JournalEntry entry;
        entry.time = QDateTime({2024, 1, 1}, {8, 0}).addSecs(i * 300);
        entry.operation = i % 2 ? QStringLiteral("чтение") : QStringLiteral("запись");
        entry.port = QStringLiteral("COM%1").arg(3 + i % 4);
        entry.model = QStringLiteral("Ялмера 4К-17");
        entry.typeCode = 0;
        entry.channelCount = 99;
        entry.planFile = QStringLiteral("C:\\Users\\Техник\\Documents\\Планы\\участок_%1.ini").arg(i % 40);
        entry.sha256 = QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha256);
        entry.serialNumber = QStringLiteral("К17М-%1").arg(i % 500, 5, 10, QLatin1Char('0'));
        entry.outcome = i % 10 ? QStringLiteral("выполнено") : QStringLiteral("нет ответа");
        entry.message = i % 10 ? QString() : QStringLiteral("Радиостанция не отвечает (байт 412 из 1808).");
        rows.append(files::journalFields(entry));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("\xEF\xBB\xBF" + formatCsv(rows).toUtf8()) < 0)
        std::abort();
    return path;
}

void BM_ReadJournal(benchmark::State& s)
{
    const QString path = journalOfLines(static_cast<int>(s.range(0)));
    for (auto _ : s) {
        files::JournalFollower follower(path);
        files::JournalRead read = follower.read();
        if (read.rows.size() != s.range(0))
            s.SkipWithError("lines lost");
        benchmark::DoNotOptimize(read.rows);
    }
    s.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(s.iterations() * s.range(0)), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadJournal)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
