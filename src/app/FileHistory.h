#pragma once
// The five most recently used files, newest first. Kept as paths; the menu
// captions ("&1  path") are made from them, never parsed back.
#include <string>
#include <vector>

class FileHistory {
public:
    static constexpr int Slots = 5;
    // Puts `name` at the top; an entry with the same name (exact case) moves
    // there, and the oldest of six falls off. An empty name changes nothing.
    void Add(const std::string& name);
    // The path in slot 0 to 4, or "" for an empty slot or a slot outside.
    std::string Item(int slot) const;
    int Count() const { return int(FItems.size()); }
    // The menu caption of a filled slot.
    std::string Caption(int slot) const;
    void Clear() { FItems.clear(); }

private:
    std::vector<std::string> FItems;
};
