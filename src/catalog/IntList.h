// Persistable lists of the tree data: TIntList (32-bit integers) and TDateList (dates packed as
// year * 65536 + month * 256 + day), read and written through the record reader and writer.
#pragma once

#include "rtl/DateUtils.h"
#include "rtl/Filer.h"

#include <cstdint>
#include <vector>

namespace catalog {

// 1996-05-02 packs to 0x07CC0502.
std::int32_t PackDate(rtl::TDateTime date);
// "Invalid argument to date encode" (EConvertError) when the value is no calendar date.
rtl::TDateTime UnpackDate(std::int32_t packed);

class TIntList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Index errors in Items, Put, Insert and Delete are EListError ("List index out of bounds").
    std::int32_t Items(int index) const;
    void Put(int index, std::int32_t value);
    int Add(std::int32_t value);
    void Insert(int index, std::int32_t value);
    void Delete(int index);
    // Adds 1 to an item; an index outside the list is ERangeError.
    void Increment(int index);
    void Clear() { items_.clear(); }
    void Assign(const TIntList& source) { items_ = source.items_; }
    const std::vector<std::int32_t>& Values() const { return items_; }

    // int32 count, then every item as int32.
    void WriteData(rtl::TWriter& writer) const;
    // Reads a count and that many items and makes them the content. The items are appended as
    // they arrive, so a count larger than the data is EReadError and never a large allocation;
    // a negative count is EReadError too. On error the list keeps its old content.
    void ReadData(rtl::TReader& reader);

    bool operator==(const TIntList&) const = default;

private:
    std::vector<std::int32_t> items_;
};

class TDateList {
public:
    int Count() const { return packed_.Count(); }
    rtl::TDateTime Items(int index) const { return UnpackDate(packed_.Items(index)); }
    void Put(int index, rtl::TDateTime date) { packed_.Put(index, PackDate(date)); }
    int Add(rtl::TDateTime date) { return packed_.Add(PackDate(date)); }
    void Insert(int index, rtl::TDateTime date) { packed_.Insert(index, PackDate(date)); }
    void Clear() { packed_.Clear(); }
    void Assign(const TDateList& source) { packed_.Assign(source.packed_); }
    const TIntList& Packed() const { return packed_; }

    void WriteData(rtl::TWriter& writer) const { packed_.WriteData(writer); }
    void ReadData(rtl::TReader& reader) { packed_.ReadData(reader); }

    bool operator==(const TDateList&) const = default;

private:
    TIntList packed_;
};

} // namespace catalog
