// Decoding and encoding throughput of ConvertText on a text of mostly ASCII with some Western
// European letters and symbols. MB/s counts the bytes of the encoded form (10^6 bytes per MB).
// Arguments: the code page and the text's length in millions of characters. The heap is set up
// as a run sets it up, keeping freed blocks for the next file, so a 50 MB text block does not
// cost fresh pages on every conversion.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "platform/heap_block.h"
#include "text/code_page_conversion.h"

namespace {

[[maybe_unused]] const bool kHeapAsInARun = (platform::KeepFreedBlocksForReuse(), true);

const std::u16string& SampleText(size_t length) {
  static std::map<size_t, std::u16string> texts;
  std::u16string& text = texts[length];
  if (text.empty()) {
    const std::u16string_view line =
        u"Voil\u00E0: le caf\u00E9 co\u00FBte 3 \u20AC, die Stra\u00DFe ist gro\u00DF. "
        u"The quick brown fox jumps over the lazy dog 1234567890 times.\r\n";
    text.reserve(length + line.size());
    while (text.size() < length)
      text += line;
    text.resize(length);
  }
  return text;
}

const std::u16string& SampleText(const benchmark::State& state) {
  return SampleText(static_cast<size_t>(state.range(1)) * 1'000'000);
}

CodePage SampleCodePage(const benchmark::State& state) {
  return static_cast<CodePage>(state.range(0));
}

ByteBuffer SampleBytes(const benchmark::State& state) {
  const std::u16string& text = SampleText(state);
  ConvertedBuffer buffer;
  size_t byteLength = 0;
  if (!ConvertText(true, buffer, text.size(), text.data(), byteLength, SampleCodePage(state)))
    std::abort();
  return std::move(buffer.bytes);
}

void SetThroughput(benchmark::State& state, size_t bytes) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Decode(benchmark::State& state) {
  const CodePage codePage = SampleCodePage(state);
  const ByteBuffer bytes = SampleBytes(state);
  for (auto _ : state) {
    ConvertedBuffer buffer;
    size_t byteLength = 0;
    if (!ConvertText(false, buffer, bytes.size(), bytes.data(), byteLength, codePage))
      state.SkipWithError("decoding failed");
    benchmark::DoNotOptimize(buffer.text.data());
  }
  SetThroughput(state, bytes.size());
}

void BM_Encode(benchmark::State& state) {
  const CodePage codePage = SampleCodePage(state);
  const std::u16string& text = SampleText(state);
  size_t encodedSize = 0;
  for (auto _ : state) {
    ConvertedBuffer buffer;
    if (!ConvertText(true, buffer, text.size(), text.data(), encodedSize, codePage))
      state.SkipWithError("encoding failed");
    benchmark::DoNotOptimize(buffer.bytes.data());
  }
  SetThroughput(state, encodedSize);
}

void CodePagesAndSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"codePage", "mchars"})->Unit(benchmark::kMillisecond);
  for (int mchars : {25, 4}) {
    for (int codePage : {1252, 65001, -2})
      benchmark->Args({codePage, mchars});
  }
}

}  // namespace

BENCHMARK(BM_Decode)->Apply(CodePagesAndSizes);
BENCHMARK(BM_Encode)->Apply(CodePagesAndSizes);
