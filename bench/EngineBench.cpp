// Throughput of the parts whose cost grows with the input: cutting a script, decoding a
// file and de-duplicating a list. Each should stay linear in its input's size.
#include <benchmark/benchmark.h>

#include "CCollection.h"
#include "ScriptSplitter.h"
#include "TextFile.h"

namespace {

// A script of `batches` procedures separated by GO lines.
QString Script(qint64 batches) {
    const QString procedure = QStringLiteral(
        "create procedure dbo.p as\r\n  select category, gold from dbo.goods -- go on\r\nGO\r\n");
    return procedure.repeated(batches);
}

void SplitScriptBench(benchmark::State& state) {
    const QString script = Script(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(SplitScript(script));
    state.SetBytesProcessed(state.iterations() * script.size() * 2);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(SplitScriptBench)->RangeMultiplier(8)->Range(1 << 10, 1 << 19)->Complexity(benchmark::oN);

void DecodeTextBench(benchmark::State& state) {
    const QByteArray bytes = Script(state.range(0)).toUtf8();
    for (auto _ : state) benchmark::DoNotOptimize(DecodeText(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(DecodeTextBench)->RangeMultiplier(8)->Range(1 << 10, 1 << 19)->Complexity(benchmark::oN);

void ListDeduplicationBench(benchmark::State& state) {
    QStringList lines;
    for (qint64 i = 0; i < state.range(0); ++i)
        lines << QStringLiteral("/srv/deploy/procs/Proc%1.sql").arg(i % (state.range(0) / 2 + 1));
    for (auto _ : state) {
        CCollection<QString> entries;
        for (const QString& line : lines) entries.AddIfAbsent(line, line);
        benchmark::DoNotOptimize(entries.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ListDeduplicationBench)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
