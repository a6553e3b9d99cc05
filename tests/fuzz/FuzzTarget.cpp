// One libFuzzer target; VELMAR_FUZZ_CHECK names the check it runs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString failure = VELMAR_FUZZ_CHECK(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (failure.isEmpty()) return 0;
    std::fprintf(stderr, "mismatch: %s\n", failure.toUtf8().constData());
    std::abort();
}
