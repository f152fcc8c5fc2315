// Translate over a sorted table of 10,000 rows, flat and with contexts,
// against a hash map lookup of the same keys; and the cost of sorting.
#include "Ivcustdic.h"

#include <benchmark/benchmark.h>

#include <random>
#include <unordered_map>

namespace {

constexpr int Rows = 10000;

class BenchDictionary : public TIvCustomDictionary {
public:
    int GetLanguageCount() override { return 0; }
    void GetLanguageData(int, TIvLanguage&) override { }
    int GetLocaleCount() override { return 0; }
    void GetLocaleData(int, TIvLocale&) override { }
    using TIvCustomDictionary::SetTranslations;

protected:
    void LoadTranslation(TIvTranslationTable&) override { }
};

// Texts shaped like the program's: captions and messages of 5 to 60 bytes.
TIvTranslationTable MakeRows(bool contexts)
{
    std::mt19937 rng(1234);
    TIvTranslationTable rows;
    rows.reserve(Rows);
    for (int i = 0; i < Rows; ++i) {
        TIvTranslation t;
        int len = 5 + static_cast<int>(rng() % 56);
        for (int k = 0; k < len; ++k)
            t.Native += static_cast<char>(' ' + rng() % 95);
        t.Native += std::to_string(i);
        t.Translation = "T" + t.Native;
        if (contexts) {
            t.FormContext = "frm" + std::to_string(rng() % 40);
            t.ComponentContext = "cmp" + std::to_string(rng() % 200);
        }
        rows.push_back(std::move(t));
    }
    return rows;
}

std::vector<std::string> ShuffledNatives(const TIvTranslationTable& rows)
{
    std::vector<std::string> keys;
    for (const auto& r : rows)
        keys.push_back(r.Native);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(99));
    return keys;
}

// Translate over every native text, in a shuffled order.
void TranslateShuffled(benchmark::State& state, bool contexts)
{
    BenchDictionary d;
    if (contexts)
        d.SetContextType((1u << ivctForm) | (1u << ivctComponent));
    auto rows = MakeRows(contexts);
    auto keys = ShuffledNatives(rows);
    d.SetTranslations(rows);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d.Translate(keys[i]));
        i = (i + 1) % keys.size();
    }
}

void BM_TranslateFlat(benchmark::State& state)
{
    TranslateShuffled(state, false);
}
BENCHMARK(BM_TranslateFlat);

void BM_TranslateWithContexts(benchmark::State& state)
{
    TranslateShuffled(state, true);
}
BENCHMARK(BM_TranslateWithContexts);

void BM_TranslateContextExact(benchmark::State& state)
{
    BenchDictionary d;
    d.SetContextType((1u << ivctForm) | (1u << ivctComponent));
    auto rows = MakeRows(true);
    std::vector<const TIvTranslation*> order;
    for (const auto& r : rows)
        order.push_back(&r);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    d.SetTranslations(rows);
    size_t i = 0;
    for (auto _ : state) {
        const TIvTranslation* r = order[i];
        benchmark::DoNotOptimize(d.TranslateContext(r->Native, r->FormContext, r->ComponentContext));
        i = (i + 1) % order.size();
    }
}
BENCHMARK(BM_TranslateContextExact);

void BM_UnorderedMapLookup(benchmark::State& state)
{
    auto rows = MakeRows(false);
    auto keys = ShuffledNatives(rows);
    std::unordered_map<std::string, std::string> map;
    for (const auto& r : rows)
        map.emplace(r.Native, r.Translation);
    size_t i = 0;
    for (auto _ : state) {
        auto it = map.find(keys[i]);
        // Copy the text out, as Translate returns it.
        benchmark::DoNotOptimize(it == map.end() ? keys[i] : it->second);
        i = (i + 1) % keys.size();
    }
}
BENCHMARK(BM_UnorderedMapLookup);

void BM_SortTable(benchmark::State& state)
{
    bool contexts = state.range(0) != 0;
    auto rows = MakeRows(contexts);
    for (auto _ : state) {
        state.PauseTiming();
        TIvTranslationTable copy = rows;
        state.ResumeTiming();
        TIvCustomDictionary::SortTable(copy, contexts);
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_SortTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
