#include "rtl/StringList.h"

#include "rtl/Exceptions.h"

namespace rtl {

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError();
}

const std::string& TStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::SetString(int index, std::string text) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].text = std::move(text);
}

std::int32_t TStringList::Objects(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::SetObject(int index, std::int32_t object) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].object = object;
}

int TStringList::AddObject(std::string text, std::int32_t object) {
    items_.push_back({std::move(text), object});
    return Count() - 1;
}

void TStringList::InsertObject(int index, std::string text, std::int32_t object) {
    if (index < 0 || index > Count())
        throw EListError();
    items_.insert(items_.begin() + index, {std::move(text), object});
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

void TStringList::AddStrings(const TStringList& source) {
    items_.insert(items_.end(), source.items_.begin(), source.items_.end());
}

int TStringList::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<std::size_t>(i)].text == text)
            return i;
    return -1;
}

std::string TStringList::Text() const {
    std::string text;
    for (const Item& item : items_) {
        text += item.text;
        text += "\r\n";
    }
    return text;
}

} // namespace rtl
