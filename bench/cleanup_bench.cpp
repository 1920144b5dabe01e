// The clean-up operations on the sizes they meet in a collection run: Compact on a whole search
// answer (40 listings, about 70 KB), StripQuotes and Trim on single values. Each is measured in
// its fast form and in the pattern form it replaces.
#include <benchmark/benchmark.h>

#include "listing_generator.h"
#include "pattern/cleanup.h"
#include "text/codepage.h"

namespace {

using namespace vellox;

Text searchAnswer() {
  directory::SearchQuery query;
  query.keyword = "五金";
  query.province = "云南省";
  query.city = "昆明市";
  return utf8ToGbk(directory::searchAnswer(query, {}));
}

const Text& answer() {
  static const Text text = searchAnswer();
  return text;
}

const Text kQuotedValue = utf8ToGbk("\"昆明五金机电有限公司\"");    // 22 bytes
const Text kPaddedValue = utf8ToGbk(" 云南省昆明市人民路123号 ");    // 30 bytes

void BM_CompactFast(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(compactBlanks(answer()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer().size()));
}
BENCHMARK(BM_CompactFast);

void BM_CompactPattern(benchmark::State& state) {
  const PatternCleanup patterns;
  for (auto _ : state) benchmark::DoNotOptimize(patterns.Compact(answer()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer().size()));
}
BENCHMARK(BM_CompactPattern);

void BM_StripQuotesFast(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(stripQuotes(kQuotedValue));
}
BENCHMARK(BM_StripQuotesFast);

void BM_StripQuotesPattern(benchmark::State& state) {
  const PatternCleanup patterns;
  for (auto _ : state) benchmark::DoNotOptimize(patterns.StripQuotes(kQuotedValue));
}
BENCHMARK(BM_StripQuotesPattern);

void BM_TrimFast(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(trimBlanks(kPaddedValue));
}
BENCHMARK(BM_TrimFast);

void BM_TrimPattern(benchmark::State& state) {
  const PatternCleanup patterns;
  for (auto _ : state) benchmark::DoNotOptimize(patterns.Trim(kPaddedValue));
}
BENCHMARK(BM_TrimPattern);

}  // namespace

BENCHMARK_MAIN();
