#pragma once
// A hash index beside a sorted translation table: from a search text to the
// row that the table's binary search answers with. The binary search stays
// the definition (rows sharing a text, unsorted ranges); the index only
// remembers its answers, so a lookup costs one hash and one comparison. Each
// entry keeps a copy of its row's translation beside its text, so that the
// answer is at hand in the same cache lines.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TIvTranslationIndex {
public:
    // Indexes `count` search texts: `text(i)` gives the i-th (texts may repeat),
    // `search(i, text)` the row the binary search answers for the i-th text
    // (-1 none) and `answer` the translation of a row.
    void Build(int count, const std::function<std::string_view(int)>& text,
        const std::function<int(int, std::string_view)>& search,
        const std::function<std::string_view(int)>& answer);
    void Clear();
    bool IsBuilt() const { return !Slots.empty(); }
    // The row for the text, or -1; `answer`, when given, gets the row's translation.
    int Find(std::string_view text, std::string_view* answer = nullptr) const;

private:
    struct Slot {
        uint32_t Tag = 0; // upper hash bits
        int32_t Row = -1; // -1: empty
        uint32_t Offset = 0; // of the text in Texts
        uint32_t Length = 0;
        uint32_t AnswerLength = 0; // the answer follows the text
    };
    static uint64_t Hash(std::string_view text);
    std::vector<Slot> Slots; // a power of two, at most half full
    std::string Texts; // the indexed texts back to back
};
