#include "Ivindex.h"

uint64_t TIvTranslationIndex::Hash(std::string_view text)
{
    return std::hash<std::string_view> {}(text);
}

void TIvTranslationIndex::Clear()
{
    Slots.clear();
    Slots.shrink_to_fit();
    Texts.clear();
    Texts.shrink_to_fit();
}

void TIvTranslationIndex::Build(int count, const std::function<std::string_view(int)>& text,
    const std::function<int(int, std::string_view)>& search,
    const std::function<std::string_view(int)>& answer)
{
    Clear();
    if (count <= 0)
        return;
    std::size_t size = 16;
    while (size < static_cast<std::size_t>(count) * 2)
        size *= 2;
    Slots.assign(size, Slot {});
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i)
        bytes += text(i).size() + answer(i).size();
    Texts.reserve(bytes);
    const std::size_t mask = size - 1;
    for (int i = 0; i < count; ++i) {
        std::string_view t = text(i);
        const uint64_t h = Hash(t);
        const uint32_t tag = static_cast<uint32_t>(h >> 32);
        std::size_t at = h & mask;
        bool known = false;
        for (; Slots[at].Row >= 0; at = (at + 1) & mask) {
            const Slot& s = Slots[at];
            if (s.Tag == tag && std::string_view(Texts.data() + s.Offset, s.Length) == t) {
                known = true;
                break;
            }
        }
        if (known)
            continue;
        // A text the binary search misses (possible in an unsorted range)
        // stays out of the index: a lookup that finds nothing answers -1 too.
        const int row = search(i, t);
        if (row < 0)
            continue;
        const std::string_view a = answer(row);
        Slots[at] = Slot { tag, row, static_cast<uint32_t>(Texts.size()), static_cast<uint32_t>(t.size()),
            static_cast<uint32_t>(a.size()) };
        Texts.append(t).append(a);
    }
}

int TIvTranslationIndex::Find(std::string_view text, std::string_view* answer) const
{
    if (Slots.empty())
        return -1;
    const uint64_t h = Hash(text);
    const uint32_t tag = static_cast<uint32_t>(h >> 32);
    const std::size_t mask = Slots.size() - 1;
    for (std::size_t at = h & mask;; at = (at + 1) & mask) {
        const Slot& s = Slots[at];
        if (s.Row < 0)
            return -1;
        if (s.Tag == tag && std::string_view(Texts.data() + s.Offset, s.Length) == text) {
            if (answer)
                *answer = std::string_view(Texts.data() + s.Offset + s.Length, s.AnswerLength);
            return s.Row;
        }
    }
}
