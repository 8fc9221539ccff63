// The cost of the trace, of each decoder rule and of the pressure reading.

#include <benchmark/benchmark.h>

#include <string>

#include "vocabulary/Decoder.h"
#include "vocabulary/NumberReading.h"
#include "vocabulary/Trace.h"

namespace {

std::string bytesOf(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i)
        bytes += static_cast<char>("0123456789ABCDEF\r\x06"[i % 18]);
    return bytes;
}

void Trace(benchmark::State& state) {
    const std::string bytes = bytesOf(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(projector::traceOf(bytes));
}
BENCHMARK(Trace)->Arg(4)->Arg(64)->Arg(32767);

void Decode(benchmark::State& state, const char* query, const char* reply) {
    const std::string sendLine = std::string(query) + '\r';
    const std::string trace = projector::traceOf(reply);
    std::int16_t pressure = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(projector::decodeReply(sendLine, "", trace, pressure));
}
BENCHMARK_CAPTURE(Decode, CR0_status, "CR0", "00\r");
BENCHMARK_CAPTURE(Decode, CR1_input, "CR1", "1\r");
BENCHMARK_CAPTURE(Decode, CR4_reversal, "CR4", "11\r");
BENCHMARK_CAPTURE(Decode, CR3_lamp_time, "CR3", "01234\r");
BENCHMARK_CAPTURE(Decode, CR6_temperatures, "CR6", "038.2  45.9 033.7\r");
BENCHMARK_CAPTURE(Decode, CRA_mute, "CRA", "FF\r");
BENCHMARK_CAPTURE(Decode, CR9_verbatim, "CR9", "KR60P Ver1.40\r");
BENCHMARK_CAPTURE(Decode, CR_PRESSURE, "CR PRESSURE", "853\r");
BENCHMARK_CAPTURE(Decode, CR7_lamp_mode, "CR7", "01\r");

void ReadPressureNumber(benchmark::State& state) {
    const std::string trace = projector::traceOf("853\r");
    for (auto _ : state) benchmark::DoNotOptimize(projector::readNumber(trace));
}
BENCHMARK(ReadPressureNumber);

// A 64-byte reply as the receive path handles it: trace, then decode.
void Trace64AndDecode(benchmark::State& state) {
    const std::string reply = bytesOf(63) + '\r';
    const std::string sendLine = "CR9\r";
    std::int16_t pressure = 0;
    for (auto _ : state) {
        const std::string trace = projector::traceOf(reply);
        benchmark::DoNotOptimize(projector::decodeReply(sendLine, "", trace, pressure));
    }
}
BENCHMARK(Trace64AndDecode);

}  // namespace

BENCHMARK_MAIN();
