// Loading a search answer and reading it as the collection engine does: the listing count, then
// six fields of every listing by dotted path. A page of 40 listings (about 70 KB) and one ten
// times larger, to show that the cost grows linearly; the reference transcription for comparison.
#include <benchmark/benchmark.h>

#include <string>

#include "json/json_document.h"
#include "json/json_reference.h"
#include "listing_generator.h"
#include "text/codepage.h"

namespace {

using namespace vellox;

Text answer(int32_t listings) {
  directory::SearchQuery query;
  query.keyword = "五金";
  query.province = "云南省";
  query.city = "昆明市";
  query.pageSize = listings;
  directory::GeneratorOptions options;
  options.total = 1000;
  return utf8ToGbk(directory::searchAnswer(query, options));
}

const char* const kFields[] = {"searchResultfoTitle",    "searchResultfoZone",
                               "searchResultfoAddress",  "searchResultfoUserName",
                               "searchResultfoText",     "searchResultfoTp"};

void BM_LoadAndRead(benchmark::State& state) {
  const Text text = answer(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    JsonDocument doc;
    doc.Load(text);
    const int32_t count = doc.GetMemberCount("searchResultInfo");
    for (int32_t i = 1; i <= count; ++i) {
      for (const char* field : kFields) {
        benchmark::DoNotOptimize(
            doc.GetText("searchResultInfo.[" + intToText(i) + "]." + field));
      }
    }
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_LoadAndRead)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_ReadOnly(benchmark::State& state) {
  const Text text = answer(static_cast<int32_t>(state.range(0)));
  JsonDocument doc;
  doc.Load(text);
  for (auto _ : state) {
    const int32_t count = doc.GetMemberCount("searchResultInfo");
    for (int32_t i = 1; i <= count; ++i) {
      for (const char* field : kFields) {
        benchmark::DoNotOptimize(
            doc.GetText("searchResultInfo.[" + intToText(i) + "]." + field));
      }
    }
  }
}
BENCHMARK(BM_ReadOnly)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_LoadOnly(benchmark::State& state) {
  const Text text = answer(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    JsonDocument doc;
    doc.Load(text);
    benchmark::DoNotOptimize(doc.tree().GetNodeCount());
  }
}
BENCHMARK(BM_LoadOnly)->Arg(40)->Arg(400)->Unit(benchmark::kMicrosecond);

// The same page with a line break inside every name that holds the keyword: line breaks keep it
// from the one-pass load, so this is the cost of cutting level by level.
void BM_LoadLineBroken(benchmark::State& state) {
  const Text text = replaceAll(answer(static_cast<int32_t>(state.range(0))), utf8ToGbk("五金"),
                               utf8ToGbk("五\r\n金"), false);
  for (auto _ : state) {
    JsonDocument doc;
    doc.Load(text);
    benchmark::DoNotOptimize(doc.tree().GetNodeCount());
  }
}
BENCHMARK(BM_LoadLineBroken)->Arg(40)->Unit(benchmark::kMicrosecond);

void BM_ReferenceLoad(benchmark::State& state) {
  const Text text = answer(static_cast<int32_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(reference::load(text).GetNodeCount());
}
BENCHMARK(BM_ReferenceLoad)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace
