// Catalog lookups per hit and per miss, with and without the hash table,
// over a catalog of 5,000 UI-sized texts; and the whole text-side lookup that
// each translated message pays (wide text in, wide translation out).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/support/MoImageBuilder.h"
#include "i18n/core/MoCatalog.h"
#include "i18n/core/Translate.h"

namespace {

constexpr int kEntries = 5000;

std::string text(int i) {
    return "The document could not be saved to the chosen folder, attempt " + std::to_string(i);
}

const std::vector<std::string>& keys(bool present) {
    static const auto make = [](const char* suffix) {
        std::vector<std::string> v;
        for (int i = 0; i < kEntries; ++i) v.push_back(text(i) + suffix);
        return v;
    };
    static const std::vector<std::string> hits = make("");
    static const std::vector<std::string> misses = make(" (not translated)");
    return present ? hits : misses;
}

const std::string& image(bool hashTable) {
    static const auto make = [](bool hash) {
        std::vector<tv::test::MoEntry> entries{{"", "Content-Type: text/plain; charset=UTF-8\n"}};
        for (int i = 0; i < kEntries; ++i)
            entries.push_back({text(i), "No se pudo guardar el documento en la carpeta elegida, intento " +
                                            std::to_string(i)});
        return tv::test::buildMoImage(entries, {false, hash});
    };
    static const std::string withHash = make(true);
    static const std::string withoutHash = make(false);
    return hashTable ? withHash : withoutHash;
}

// range(0): hash table on/off; range(1): looking up present or absent texts.
void BM_MoLookup(benchmark::State& state) {
    const bool hashTable = state.range(0) != 0;
    const bool present = state.range(1) != 0;
    const auto catalog = tv::MoCatalog::open(image(hashTable));
    if (!catalog) {
        state.SkipWithError("catalog did not open");
        return;
    }
    const std::vector<std::string>& k = keys(present);
    std::size_t i = 0;
    for (auto _ : state) {
        auto found = catalog->find(k[i]);
        benchmark::DoNotOptimize(found);
        if (found.has_value() != present) {
            state.SkipWithError("unexpected lookup result");
            break;
        }
        if (++i == k.size()) i = 0;
    }
    state.SetLabel(std::string(hashTable ? "hash table" : "binary search") + (present ? ", hit" : ", miss"));
}
BENCHMARK(BM_MoLookup)->ArgsProduct({{1, 0}, {1, 0}});

// range(0): looking up present or absent texts, through the hash table.
void BM_LookupText(benchmark::State& state) {
    const bool present = state.range(0) != 0;
    const auto catalog = tv::MoCatalog::open(image(true));
    if (!catalog) {
        state.SkipWithError("catalog did not open");
        return;
    }
    std::vector<std::wstring> wide;
    for (const std::string& k : keys(present)) wide.push_back(tv::fromUtf8(k));
    std::size_t i = 0;
    for (auto _ : state) {
        auto found = tv::lookupText(*catalog, wide[i]);
        benchmark::DoNotOptimize(found);
        if (found.has_value() != present) {
            state.SkipWithError("unexpected lookup result");
            break;
        }
        if (++i == wide.size()) i = 0;
    }
    state.SetLabel(present ? "hit" : "miss");
}
BENCHMARK(BM_LookupText)->Arg(1)->Arg(0);

void BM_MoOpen(benchmark::State& state) {
    const std::string& bytes = image(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(tv::MoCatalog::open(bytes));
}
BENCHMARK(BM_MoOpen)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
