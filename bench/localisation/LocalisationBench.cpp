// Translate over a table of 10,000 rows, flat and with contexts, and
// TranslateContext, each against a hash map that does the same work (finds
// the text and returns a copy; for contexts a map keyed by the joined
// contexts); and setting a language's table (sort and index) against
// std::sort and filling a hash map. Measured in alternation.
#include "FloorComparison.h"
#include "Ivcustdic.h"

#include <algorithm>
#include <memory>
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

template <class T> std::vector<T> Shuffled(std::vector<T> v, unsigned seed)
{
    std::shuffle(v.begin(), v.end(), std::mt19937(seed));
    return v;
}

std::vector<std::string> Natives(const TIvTranslationTable& rows)
{
    std::vector<std::string> keys;
    for (const auto& r : rows)
        keys.push_back(r.Native);
    return Shuffled(std::move(keys), 99);
}

using Map = std::unordered_map<std::string, std::string>;

Map NativeMap(const TIvTranslationTable& rows)
{
    Map map;
    for (const auto& r : rows)
        map.emplace(r.Native, r.Translation);
    return map;
}

// The floor of a lookup: find the text, return a copy (the native when missing).
std::string MapLookup(const Map& map, const std::string& key, const std::string& native)
{
    auto it = map.find(key);
    return it == map.end() ? native : it->second;
}

constexpr int Batch = 1000;

} // namespace

int main(int argc, char** argv)
{
    const TIvTranslationTable flatRows = MakeRows(false);
    const TIvTranslationTable contextRows = MakeRows(true);
    const TIvContextType contexts = (1u << ivctForm) | (1u << ivctComponent);

    BenchDictionary flat;
    flat.SetTranslations(flatRows);
    BenchDictionary withContexts;
    withContexts.SetContextType(contexts);
    withContexts.SetTranslations(contextRows);

    static const std::vector<std::string> flatKeys = Natives(flatRows);
    static const std::vector<std::string> contextKeys = Natives(contextRows);
    static const Map flatMap = NativeMap(flatRows);
    static const Map contextNativeMap = NativeMap(contextRows);
    Map keyMap;
    for (const auto& r : contextRows)
        keyMap.emplace(r.GetKey(), r.Translation);
    static const Map contextKeyMap = std::move(keyMap);
    std::vector<const TIvTranslation*> exact;
    for (const auto& r : contextRows)
        exact.push_back(&r);
    static const std::vector<const TIvTranslation*> exactOrder = Shuffled(std::move(exact), 7);

    // Each side walks the same keys in the same order, from its own position.
    auto walker = [](const std::vector<std::string>& keys, auto lookup) {
        return [&keys, lookup, i = std::size_t(0)]() mutable {
            benchmark::DoNotOptimize(lookup(keys[i]));
            i = (i + 1) % keys.size();
        };
    };

    benchfloor::Register(
        { "TranslateFlat", (walker(flatKeys, [&](const std::string& k) { return flat.Translate(k); })),
            (walker(flatKeys, [](const std::string& k) { return MapLookup(flatMap, k, k); })), Batch, 300,
            1.2, 0, "hash map + copy" });

    benchfloor::Register({ "TranslateWithContexts",
        (walker(contextKeys, [&](const std::string& k) { return withContexts.Translate(k); })),
        (walker(contextKeys, [](const std::string& k) { return MapLookup(contextNativeMap, k, k); })), Batch,
        300, 1.2, 0, "hash map + copy" });

    // Exact contexts; the floor joins its key in a buffer it keeps, as Translate does.
    auto exactWalker = [](auto lookup) {
        return [lookup, i = std::size_t(0)]() mutable {
            const TIvTranslation* r = exactOrder[i];
            benchmark::DoNotOptimize(lookup(*r));
            i = (i + 1) % exactOrder.size();
        };
    };
    benchfloor::Register({ "TranslateContext", (exactWalker([&](const TIvTranslation& r) {
                              return withContexts.TranslateContext(
                                  r.Native, r.FormContext, r.ComponentContext);
                          })),
        (exactWalker([key = std::string()](const TIvTranslation& r) mutable {
            key.assign(r.Native).append(1, TIvTranslation::KeySeparator).append(r.FormContext);
            key.append(r.ComponentContext);
            return MapLookup(contextKeyMap, key, r.Native);
        })),
        Batch, 300, 1.2, 0, "context-keyed hash map + copy" });

    // A language's table set: sort and index, flat and with contexts, against
    // std::sort and filling a hash map from text to row. Tables and
    // dictionaries are made beforehand, so neither side times copying rows.
    constexpr int SetRounds = 30;
    auto setTable = [&](const char* name, bool byKey) {
        const TIvTranslationTable& rows = byKey ? contextRows : flatRows;
        struct Pools {
            std::vector<std::unique_ptr<BenchDictionary>> Dictionaries;
            std::vector<TIvTranslationTable> Subject, Floor;
            std::size_t NextSubject = 0, NextFloor = 0;
        };
        auto pools = std::make_shared<Pools>();
        for (int k = 0; k < SetRounds + 1; ++k) {
            pools->Dictionaries.push_back(std::make_unique<BenchDictionary>());
            pools->Dictionaries.back()->SetContextType(byKey ? contexts : 0);
            pools->Subject.push_back(rows);
            pools->Floor.push_back(rows);
        }
        benchfloor::Register({ name,
            [pools] {
                std::size_t k = pools->NextSubject++;
                pools->Dictionaries.at(k)->SetTranslations(std::move(pools->Subject.at(k)));
            },
            [pools, byKey] {
                TIvTranslationTable& t = pools->Floor.at(pools->NextFloor++);
                std::sort(t.begin(), t.end(), [byKey](const TIvTranslation& a, const TIvTranslation& b) {
                    if (int c = a.Native.compare(b.Native); c != 0 || !byKey)
                        return c < 0;
                    if (int c = a.FormContext.compare(b.FormContext); c != 0)
                        return c < 0;
                    return a.ComponentContext < b.ComponentContext;
                });
                std::unordered_map<std::string_view, int> index;
                index.reserve(t.size());
                for (std::size_t i = 0; i < t.size(); ++i)
                    index.emplace(t[i].Native, static_cast<int>(i));
                benchmark::DoNotOptimize(index.size());
            },
            1, SetRounds, 0, 10e6, "std::sort + hash map" });
    };
    setTable("SetTableFlat", false);
    setTable("SetTableWithContexts", true);

    return benchfloor::Main(argc, argv);
}
