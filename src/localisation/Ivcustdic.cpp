#include "Ivcustdic.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char Sep = TIvTranslation::KeySeparator;
constexpr std::string_view SepView(&Sep, 1);

// Compares the concatenation of `left` with `right`, byte by byte as unsigned
// values, a prefix first; no text is built, so lookups allocate nothing.
int CompareJoined(std::initializer_list<std::string_view> left, std::string_view right)
{
    size_t pos = 0;
    for (std::string_view part : left) {
        size_t n = std::min(part.size(), right.size() - pos);
        if (n > 0) {
            int c = std::memcmp(part.data(), right.data() + pos, n);
            if (c != 0)
                return c < 0 ? -1 : 1;
        }
        if (n < part.size())
            return 1;
        pos += n;
    }
    return pos == right.size() ? 0 : -1;
}

int CompareNative(const TIvTranslation& row, std::string_view target)
{
    return CompareJoined({ row.Native }, target);
}

int CompareKey(const TIvTranslation& row, std::string_view target)
{
    return CompareJoined({ row.Native, SepView, row.FormContext, row.ComponentContext }, target);
}

int BinarySearch(const TIvTranslationTable& table, std::string_view target,
    int (*compare)(const TIvTranslation&, std::string_view))
{
    int lo = 0;
    int hi = static_cast<int>(table.size()) - 1;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = compare(table[mid], target);
        if (c == 0)
            return mid;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return -1;
}

int SearchNative(const TIvTranslationTable& table, std::string_view native, bool byKey)
{
    if (!byKey)
        return BinarySearch(table, native, CompareNative);
    // Rows are ordered by key; native + separator finds a row of that text in any context.
    std::string target;
    target.reserve(native.size() + 1);
    target.append(native).push_back(Sep);
    return BinarySearch(table, target, [](const TIvTranslation& row, std::string_view t) {
        return CompareJoined({ row.Native, SepView }, t);
    });
}

// In a table ordered by the search's comparison (`order(i)` compares rows i
// and i + 1), the binary search answers a text that only one row has with
// that row: the rows that differ from both neighbours are marked, so only
// texts shared by several rows need a search. Empty when out of order.
template <class Order> std::vector<char> AnswerThemselves(int count, Order order)
{
    std::vector<int> c(count > 0 ? count - 1 : 0);
    for (int i = 0; i + 1 < count; ++i)
        if ((c[i] = order(i)) > 0)
            return {};
    std::vector<char> own(count);
    for (int i = 0; i < count; ++i)
        own[i] = (i == 0 || c[i - 1] != 0) && (i == count - 1 || c[i] != 0);
    return own;
}

// The row key of a lookup, joined in a buffer kept per thread: no allocation
// once the buffer has grown. Valid until the thread's next call.
std::string_view JoinedKey(std::string_view native, std::string_view form, std::string_view component)
{
    thread_local std::string key;
    key.assign(native).append(1, Sep).append(form).append(component);
    return key;
}

// Hoare partitioning around the middle entry. The smaller side recurses and
// the larger one loops, so a hostile order cannot exhaust the stack.
struct SortEntry {
    std::string_view Key;
    int Row;
};

void HoareSort(std::vector<SortEntry>& entries, int lo, int hi)
{
    while (lo < hi) {
        // The keys live outside the entries, so the pivot needs no copy.
        const std::string_view pivot = entries[static_cast<unsigned>(lo + hi) / 2].Key;
        int i = lo;
        int j = hi;
        do {
            while (entries[i].Key.compare(pivot) < 0)
                ++i;
            while (entries[j].Key.compare(pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(entries[i], entries[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j)
                HoareSort(entries, lo, j);
            lo = i;
        } else {
            if (i < hi)
                HoareSort(entries, i, hi);
            hi = j;
        }
    }
}

// Sorts rows lo to hi by native text or by key (byte order, a prefix first).
// The partitioning runs over small entries of each row's sort text, joined
// once, and the rows are moved into their places at the end: the same order
// as partitioning the rows themselves, without moving four texts per swap.
void SortRows(TIvTranslationTable& table, int lo, int hi, bool byKey)
{
    if (lo >= hi)
        return;
    std::string keys;
    if (byKey) {
        std::size_t bytes = 0;
        for (int r = lo; r <= hi; ++r)
            bytes += table[r].Native.size() + 1 + table[r].FormContext.size()
                + table[r].ComponentContext.size();
        keys.reserve(bytes);
    }
    std::vector<SortEntry> entries;
    entries.reserve(static_cast<std::size_t>(hi - lo + 1));
    std::vector<std::size_t> offsets;
    for (int r = lo; r <= hi; ++r) {
        const TIvTranslation& row = table[r];
        if (!byKey) {
            entries.push_back({ row.Native, r });
            continue;
        }
        offsets.push_back(keys.size());
        keys.append(row.Native).append(1, Sep).append(row.FormContext).append(row.ComponentContext);
        entries.push_back({ {}, r });
    }
    if (byKey) // the joined keys are complete only now
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const std::size_t end = k + 1 < offsets.size() ? offsets[k + 1] : keys.size();
            entries[k].Key = std::string_view(keys.data() + offsets[k], end - offsets[k]);
        }
    HoareSort(entries, 0, static_cast<int>(entries.size()) - 1);
    std::vector<TIvTranslation> sorted;
    sorted.reserve(entries.size());
    for (const SortEntry& e : entries)
        sorted.push_back(std::move(table[e.Row]));
    std::move(sorted.begin(), sorted.end(), table.begin() + lo);
}

} // namespace

TIvCustomDictionary::~TIvCustomDictionary()
{
    ClearTranslations();
}

void TIvCustomDictionary::LanguageChanged(bool languageChanged, bool localeChanged)
{
    if (languageChanged) {
        TIvTranslationTable table;
        LoadTranslation(table);
        SetTranslations(std::move(table));
    }
    TIvDictionary::LanguageChanged(languageChanged, localeChanged);
}

void TIvCustomDictionary::SetTranslations(TIvTranslationTable table)
{
    SortTable(table, GetContextType() != 0);
    FTable.swap(table);
    RebuildIndex();
}

void TIvCustomDictionary::RebuildIndex()
{
    FIndexByKey = GetContextType() != 0;
    const int count = GetTranslationCount();
    const auto answer = [this](int row) { return std::string_view(FTable[row].Translation); };
    if (!FIndexByKey) {
        const std::vector<char> own = AnswerThemselves(
            count, [this](int i) { return CompareNative(FTable[i], FTable[i + 1].Native); });
        FNativeIndex.Build(
            count, [this](int i) { return std::string_view(FTable[i].Native); },
            [&](int i, std::string_view t) {
                return !own.empty() && own[i] ? i : SearchNative(FTable, t, false);
            },
            answer);
        FKeyIndex.Clear();
        return;
    }
    // Every row's key is joined once, back to back; the native text with its
    // separator is the key's start, so both orders and both indexes read it.
    std::string keys;
    std::vector<std::size_t> starts(static_cast<std::size_t>(count) + 1);
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i)
        bytes
            += FTable[i].Native.size() + 1 + FTable[i].FormContext.size() + FTable[i].ComponentContext.size();
    keys.reserve(bytes);
    for (int i = 0; i < count; ++i) {
        const TIvTranslation& row = FTable[i];
        starts[i] = keys.size();
        keys.append(row.Native).append(1, Sep).append(row.FormContext).append(row.ComponentContext);
    }
    starts[count] = keys.size();
    const auto key
        = [&](int i) { return std::string_view(keys).substr(starts[i], starts[i + 1] - starts[i]); };
    const auto nativeWithSep = [&](int i) { return key(i).substr(0, FTable[i].Native.size() + 1); };

    const std::vector<char> ownNative
        = AnswerThemselves(count, [&](int i) { return nativeWithSep(i).compare(nativeWithSep(i + 1)); });
    FNativeIndex.Build(
        count, [this](int i) { return std::string_view(FTable[i].Native); },
        [&](int i, std::string_view t) {
            return !ownNative.empty() && ownNative[i] ? i : SearchNative(FTable, t, true);
        },
        answer);
    const std::vector<char> ownKey
        = AnswerThemselves(count, [&](int i) { return key(i).compare(key(i + 1)); });
    FKeyIndex.Build(
        count, key,
        [&](int i, std::string_view t) {
            return !ownKey.empty() && ownKey[i] ? i : BinarySearch(FTable, t, CompareKey);
        },
        answer);
}

const TIvTranslation* TIvCustomDictionary::GetTranslation(int index) const
{
    if (index < 0 || index >= GetTranslationCount())
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return &FTable[index];
}

int TIvCustomDictionary::Find(const std::string& native) const
{
    return IndexInForce() ? FNativeIndex.Find(native) : FindBySearch(native);
}

int TIvCustomDictionary::FindContext(
    const std::string& native, const std::string& form, const std::string& component) const
{
    if (GetContextType() == 0)
        return Find(native);
    if (!IndexInForce())
        return FindContextBySearch(native, form, component);
    return FKeyIndex.Find(JoinedKey(native, form, component));
}

int TIvCustomDictionary::FindBySearch(const std::string& native) const
{
    return SearchNative(FTable, native, GetContextType() != 0);
}

int TIvCustomDictionary::FindContextBySearch(
    const std::string& native, const std::string& form, const std::string& component) const
{
    if (GetContextType() == 0)
        return FindBySearch(native);
    return BinarySearch(FTable, TIvTranslation::ComposeKey(native, form, component), CompareKey);
}

bool TIvCustomDictionary::TranslateString(const std::string& native, std::string& translation) const
{
    if (IndexInForce()) {
        std::string_view text;
        if (FNativeIndex.Find(native, &text) < 0)
            return false;
        translation.assign(text);
        return true;
    }
    int i = FindBySearch(native);
    if (i < 0)
        return false;
    translation = FTable[i].Translation;
    return true;
}

bool TIvCustomDictionary::TranslateContextString(const std::string& native, const std::string& form,
    const std::string& component, std::string& translation) const
{
    if (GetContextType() == 0)
        return TranslateString(native, translation);
    if (IndexInForce()) {
        std::string_view text;
        if (FKeyIndex.Find(JoinedKey(native, form, component), &text) < 0)
            return false;
        translation.assign(text);
        return true;
    }
    int i = FindContextBySearch(native, form, component);
    if (i < 0)
        return false;
    translation = FTable[i].Translation;
    return true;
}

void TIvCustomDictionary::SortTable(TIvTranslationTable& table, bool byKey)
{
    if (!table.empty())
        SortRows(table, 0, static_cast<int>(table.size()) - 1, byKey);
}

void TIvCustomDictionary::Sort()
{
    SortTable(FTable, GetContextType() != 0);
    RebuildIndex();
}

void TIvCustomDictionary::QuickSort(int lo, int hi)
{
    if (lo >= 0 && hi < GetTranslationCount())
        SortRows(FTable, lo, hi, false);
    RebuildIndex();
}

void TIvCustomDictionary::ContextQuickSort(int lo, int hi)
{
    if (lo >= 0 && hi < GetTranslationCount())
        SortRows(FTable, lo, hi, true);
    RebuildIndex();
}

// ------------------------------------------------------------ file dictionary

std::string IvProgramDirectory()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

std::string TIvCustomFileDictionary::ExpandFileName(const std::string& name) const
{
    if (FStorage != ivsFile || name.empty())
        return name;
    std::error_code ec;
    fs::path full = fs::absolute(name, ec);
    if (!ec && fs::is_regular_file(full, ec))
        return full.lexically_normal().string();
    fs::path given(name);
    if (!given.has_parent_path()) {
        fs::path beside = fs::path(IvProgramDirectory()) / given;
        if (fs::is_regular_file(beside, ec))
            return beside.string();
    }
    return name;
}

std::string TIvCustomFileDictionary::GetFileName()
{
    FFileName = ExpandFileName(FFileName);
    return FFileName;
}

bool TIvCustomFileDictionary::CanBeOpened()
{
    if (FStorage != ivsFile)
        return true;
    std::string name = GetFileName();
    std::error_code ec;
    return !name.empty() && fs::is_regular_file(name, ec);
}
