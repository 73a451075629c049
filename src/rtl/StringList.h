// A list of ANSI strings, each with a 32-bit associated object, and a begin/end update bracket.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rtl {

class TStringList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }

    // Index errors raise EListError ("List index out of bounds").
    const std::string& Strings(int index) const;
    void SetString(int index, std::string text);
    std::int32_t Objects(int index) const;
    void SetObject(int index, std::int32_t object);

    int Add(std::string text) { return AddObject(std::move(text), 0); }
    int AddObject(std::string text, std::int32_t object);
    void Insert(int index, std::string text) { InsertObject(index, std::move(text), 0); }
    void InsertObject(int index, std::string text, std::int32_t object);
    void Delete(int index);
    void Clear() { items_.clear(); }
    void Assign(const TStringList& source) { items_ = source.items_; }
    void AddStrings(const TStringList& source);
    // Index of the first item equal to text, or -1.
    int IndexOf(const std::string& text) const;

    // Nested update brackets; UpdateCount() > 0 while one is open.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate() { --updateCount_; }
    int UpdateCount() const { return updateCount_; }

    // The items joined, each followed by CR LF.
    std::string Text() const;

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    struct Item {
        std::string text;
        std::int32_t object = 0;
        bool operator==(const Item&) const = default;
    };
    bool operator==(const TStringList& other) const { return items_ == other.items_; }

private:
    void CheckIndex(int index) const;

    std::vector<Item> items_;
    int updateCount_ = 0;
};

// Holds a list's update bracket open for a scope.
class UpdateGuard {
public:
    explicit UpdateGuard(TStringList& list) : list_(list) { list_.BeginUpdate(); }
    ~UpdateGuard() { list_.EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    TStringList& list_;
};

} // namespace rtl
