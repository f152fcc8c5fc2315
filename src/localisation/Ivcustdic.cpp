#include "Ivcustdic.h"

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

// Hoare partitioning around the middle row. The smaller side recurses and the
// larger one loops, so a hostile order cannot exhaust the stack.
void HoareSort(TIvTranslationTable& table, int lo, int hi, bool byKey)
{
    auto compare = byKey ? CompareKey : CompareNative;
    while (lo < hi) {
        const TIvTranslation& middle = table[static_cast<unsigned>(lo + hi) / 2];
        const std::string pivot = byKey ? middle.GetKey() : middle.Native;
        int i = lo;
        int j = hi;
        do {
            while (compare(table[i], pivot) < 0)
                ++i;
            while (compare(table[j], pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j)
                    std::swap(table[i], table[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - lo < hi - i) {
            if (lo < j)
                HoareSort(table, lo, j, byKey);
            lo = i;
        } else {
            if (i < hi)
                HoareSort(table, i, hi, byKey);
            hi = j;
        }
    }
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
}

const TIvTranslation* TIvCustomDictionary::GetTranslation(int index) const
{
    if (index < 0 || index >= GetTranslationCount())
        throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
    return &FTable[index];
}

int TIvCustomDictionary::Find(const std::string& native) const
{
    if (GetContextType() == 0)
        return BinarySearch(FTable, native, CompareNative);
    // Rows are ordered by key; native + separator finds a row of that text in any context.
    std::string target;
    target.reserve(native.size() + 1);
    target.append(native).push_back(Sep);
    return BinarySearch(FTable, target, [](const TIvTranslation& row, std::string_view t) {
        return CompareJoined({ row.Native, SepView }, t);
    });
}

int TIvCustomDictionary::FindContext(
    const std::string& native, const std::string& form, const std::string& component) const
{
    if (GetContextType() == 0)
        return Find(native);
    return BinarySearch(FTable, TIvTranslation::ComposeKey(native, form, component), CompareKey);
}

bool TIvCustomDictionary::TranslateString(const std::string& native, std::string& translation) const
{
    int i = Find(native);
    if (i < 0)
        return false;
    translation = FTable[i].Translation;
    return true;
}

bool TIvCustomDictionary::TranslateContextString(const std::string& native, const std::string& form,
    const std::string& component, std::string& translation) const
{
    int i = FindContext(native, form, component);
    if (i < 0)
        return false;
    translation = FTable[i].Translation;
    return true;
}

void TIvCustomDictionary::SortTable(TIvTranslationTable& table, bool byKey)
{
    if (!table.empty())
        HoareSort(table, 0, static_cast<int>(table.size()) - 1, byKey);
}

void TIvCustomDictionary::Sort()
{
    SortTable(FTable, GetContextType() != 0);
}

void TIvCustomDictionary::QuickSort(int lo, int hi)
{
    if (lo >= 0 && hi < GetTranslationCount())
        HoareSort(FTable, lo, hi, false);
}

void TIvCustomDictionary::ContextQuickSort(int lo, int hi)
{
    if (lo >= 0 && hi < GetTranslationCount())
        HoareSort(FTable, lo, hi, true);
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
