#include "catalog/IntList.h"

#include "rtl/Exceptions.h"

namespace catalog {
std::int32_t PackDate(rtl::TDateTime date) {
    const rtl::DateParts parts = rtl::DecodeDate(date);
    return parts.year * 65536 + parts.month * 256 + parts.day;
}

rtl::TDateTime UnpackDate(std::int32_t packed) {
    return rtl::EncodeDate(packed >> 16, packed >> 8 & 0xFF, packed & 0xFF);
}

std::int32_t TIntList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw rtl::EListError();
    return items_[static_cast<std::size_t>(index)];
}

void TIntList::Put(int index, std::int32_t value) {
    if (index < 0 || index >= Count())
        throw rtl::EListError();
    items_[static_cast<std::size_t>(index)] = value;
}

int TIntList::Add(std::int32_t value) {
    items_.push_back(value);
    return Count() - 1;
}

void TIntList::Insert(int index, std::int32_t value) {
    if (index < 0 || index > Count())
        throw rtl::EListError();
    items_.insert(items_.begin() + index, value);
}

void TIntList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw rtl::EListError();
    items_.erase(items_.begin() + index);
}

void TIntList::Increment(int index) {
    if (index < 0 || index >= Count())
        throw rtl::ERangeError();
    ++items_[static_cast<std::size_t>(index)];
}

void TIntList::WriteData(rtl::TWriter& writer) const {
    writer.WriteInteger(Count());
    for (const std::int32_t value : items_)
        writer.WriteInteger(value);
}

void TIntList::ReadData(rtl::TReader& reader) {
    const std::int32_t count = reader.ReadInteger();
    if (count < 0)
        throw rtl::EReadError();
    std::vector<std::int32_t> items;
    for (std::int32_t i = 0; i < count; ++i)
        items.push_back(reader.ReadInteger());
    items_ = std::move(items);
}

} // namespace catalog
