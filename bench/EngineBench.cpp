// Throughput of the engine's parts whose cost grows with the input: cutting, decoding, reading
// a script whole, de-duplicating a list, writing the log. Each should stay linear.
//
// The texts repeat a block that ends at a line end, outside any comment or quote. Whether a GO
// is a separator then depends only on its own block, so the reference cut of two blocks back to
// back, checked before any benchmark runs, vouches for the cut of every repetition.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "CCollection.h"
#include "Clock.h"
#include "LoadLog.h"
#include "ReferenceSplit.h"
#include "ScriptFile.h"
#include "ScriptSplitter.h"
#include "TextFile.h"

namespace {

constexpr qint64 kMiB = 1024 * 1024;

// Procedures with words a splitter could take for GO: "go on", "goto", "go-live", "category".
QString ProcedureBlock() {
    return QStringLiteral(
        "if object_id('dbo.GetCategory') is not null drop procedure dbo.GetCategory\r\nGO\r\n"
        "-- Procédure générée : catégories en cours, go-live compris\r\n"
        "create procedure dbo.GetCategory @id int as\r\nbegin\r\n  set nocount on\r\n"
        "  select c.id, c.category, c.gold from dbo.Category c where c.id = @id -- go on\r\n"
        "  goto done\r\ndone:\r\nend\r\n  go  \r\n"
        "grant execute on dbo.GetCategory to app_role\r\nGO\r\n");
}

// One batch of a generated data load: 100 rows, then a GO line.
QString DataLoadBlock() {
    QString block =
        QStringLiteral("insert into dbo.Clients (id, nom, ville, societe, solde) values");
    for (int row = 1; row <= 100; ++row)
        block += QStringLiteral("%1\r\n(%2, 'Client %2', 'Montréal', 'Société n° %3', %2.%4)")
                     .arg(QChar(row == 1 ? u' ' : u','))
                     .arg(row)
                     .arg(row % 97)
                     .arg(row % 100, 2, 10, QLatin1Char('0'));
    return block + QStringLiteral("\r\nGO\r\n");
}

QString Block(qint64 kind) { return kind == 0 ? ProcedureBlock() : DataLoadBlock(); }
const char* BlockName(qint64 kind) { return kind == 0 ? "procedures" : "data load"; }

// About `bytes` of UTF-16 text.
QString Text(qint64 kind, qint64 bytes) {
    const QString block = Block(kind);
    return block.repeated(qMax<qint64>(1, bytes / (2 * block.size())));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (qint64 kind : {0, 1})
        for (qint64 size : {64 * 1024LL, kMiB, 64 * kMiB}) b->Args({kind, size});
}

void Label(benchmark::State& state, qint64 bytes) {
    state.SetBytesProcessed(state.iterations() * bytes);
    state.SetLabel(BlockName(state.range(0)));
}

void SplitUtf16(benchmark::State& state) {
    const QString text = Text(state.range(0), state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(SplitScript(text));
    Label(state, text.size() * 2);
}
BENCHMARK(SplitUtf16)->Apply(Sizes);

// The baseline: one plain pass that looks at every character for G or g.
void PlainScanForG(benchmark::State& state) {
    const QString text = Text(state.range(0), state.range(1));
    for (auto _ : state) {
        qsizetype found = 0;
        for (const QChar c : text) found += (c.unicode() | 0x20) == u'g';
        benchmark::DoNotOptimize(found);
    }
    Label(state, text.size() * 2);
}
BENCHMARK(PlainScanForG)->Apply(Sizes);

void SplitUtf8Bytes(benchmark::State& state) {
    const QByteArray bytes = Text(state.range(0), state.range(1)).toUtf8();
    for (auto _ : state) benchmark::DoNotOptimize(SplitScript(QByteArrayView(bytes)));
    Label(state, bytes.size());
}
BENCHMARK(SplitUtf8Bytes)->Apply(Sizes);

// Detection and decoding of a whole file's bytes, into fresh memory each time.
void DecodeUtf8(benchmark::State& state) {
    const QByteArray bytes = Text(state.range(0), state.range(1)).toUtf8();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeText(bytes));
    Label(state, bytes.size());
}
BENCHMARK(DecodeUtf8)->Apply(Sizes);

void DecodeWindows1252(benchmark::State& state) {
    const QByteArray bytes = Text(state.range(0), state.range(1)).toLatin1();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeText(bytes));
    Label(state, bytes.size());
}
BENCHMARK(DecodeWindows1252)->Apply(Sizes);

// What the engine does with a script before sending it: read, detect, cut, decode each batch.
void ReadDecodeCut(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("load.sql"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("cannot write the script");
    const QByteArray block = DataLoadBlock().toUtf8();
    for (qint64 written = 0; written < state.range(0) * kMiB; written += block.size())
        file.write(block);
    file.close();
    for (auto _ : state) {
        qsizetype characters = 0;
        ScriptFile(path).ForEachBatch([&](QStringView batch) { characters += batch.size(); });
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(ReadDecodeCut)->Arg(256)->Unit(benchmark::kMillisecond)->UseRealTime();

// A list of `lines` lines as the list load reads it: two scripts, a blank line, and the first
// script again in other letter case; de-duplicated as the load does.
void ListDeduplication(benchmark::State& state) {
    QStringList lines;
    for (qint64 i = 0; lines.size() < state.range(0); i += 2)
        lines << QStringLiteral("/srv/deploy/procs/Proc%1.sql").arg(i)
              << QStringLiteral("/srv/deploy/procs/Proc%1.sql").arg(i + 1) << QString()
              << QStringLiteral("/SRV/DEPLOY/PROCS/PROC%1.SQL").arg(i);
    for (auto _ : state) {
        CCollection<QString> entries;
        for (const QString& line : lines) entries.AddIfAbsent(line, line);
        benchmark::DoNotOptimize(entries.Count());
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ListDeduplication)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The log's cost per script: the time, the line, and one open-append-close of the file.
void ResultLineAppend(benchmark::State& state) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("load.log"));
    const SystemClock clock;
    for (auto _ : state)
        LoadLog::Append(log,
                        LoadLog::ResultLine(clock.Now(), QStringLiteral("P000001.sql\tRéussi")));
}
BENCHMARK(ResultLineAppend);

void ResultLineText(benchmark::State& state) {
    const SystemClock clock;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            LoadLog::ResultLine(clock.Now(), QStringLiteral("P000001.sql\tRéussi")));
}
BENCHMARK(ResultLineText);

// The benchmark texts must be cut as the reference cuts them, in UTF-16 and as UTF-8 bytes.
bool CutsAgreeWithTheReference() {
    for (qint64 kind : {0, 1}) {
        const QString text = Block(kind).repeated(2);
        std::vector<QString> fast;
        for (QStringView batch : SplitScript(text)) fast.push_back(batch.toString());
        std::vector<QString> fromBytes;
        const QByteArray bytes = text.toUtf8();
        for (QByteArrayView batch : SplitScript(QByteArrayView(bytes)))
            fromBytes.push_back(QString::fromUtf8(batch));
        const std::vector<QString> reference = ReferenceSplit(text);
        if (fast != reference || fromBytes != reference) {
            std::fprintf(stderr, "the %s text is not cut as the reference cuts it\n",
                         BlockName(kind));
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!CutsAgreeWithTheReference()) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
