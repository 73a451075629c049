// TLPStr: a NUL-terminated string parameter for the unzip library, either of a fixed capacity
// (values are cut to it) or sized to each value. An empty value that is not fixed has no buffer
// at all, and the command block then carries a null pointer. Stored in a form as the property
// "PChar": the byte 0x0A, a 32-bit little-endian length (characters + 1), the characters and NUL.
#pragma once

#include "rtl/Persistent.h"
#include "rtl/Stream.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace install {

class TLPStr : public rtl::TPersistent {
public:
    // Capacity 0: not fixed; otherwise fixed at that capacity (NUL included).
    explicit TLPStr(std::uint16_t capacity = 0);

    char* Buffer() const { return buffer_.get(); }
    std::uint16_t Size() const { return size_; }
    bool Fixed() const { return fixed_; }
    // The value as text; "" when there is none.
    std::string Value() const { return buffer_ ? std::string(buffer_.get()) : std::string(); }

    // n equal to Size: fixed at it. 0: no longer fixed (the buffer stays). Otherwise a new
    // buffer of n bytes holding the value cut to n - 1 characters, fixed; nothing changes when
    // the memory cannot be had.
    void SetSize(std::uint16_t n);

    // Fixed: the value becomes empty. Not fixed: the buffer goes.
    virtual void Clear();
    // Copies the value into destination, which holds capacity bytes. A null destination first
    // gets a buffer of its own (2 bytes when there is no value), and so does one too small for
    // the value, so nothing is written past its end.
    virtual void CopyTo(std::unique_ptr<char[]>& destination, std::size_t& capacity) const;
    // Reads up to the capacity (Size when fixed, else 32768 bytes) and takes what came as the
    // value; a stream that fills the whole capacity is "Line too long" and the value stays.
    virtual void LoadFromStream(rtl::TStream& stream);
    // Writes the value's characters without the NUL; nothing for an empty value.
    virtual void SaveToStream(rtl::TStream& stream) const;
    // Clear, then: a null source leaves it so; not fixed: a copy of source of its own length
    // (at most 65534 characters, the most Size can count); fixed: source cut to Size - 1.
    virtual void SetValue(const char* source);

    void DefineProperties(rtl::TFiler& filer) override;

private:
    void ReadPChar(rtl::TReader& reader);
    void WritePChar(rtl::TWriter& writer) const;
    std::size_t Length() const;

    std::unique_ptr<char[]> buffer_;
    std::uint16_t size_ = 0;
    bool fixed_ = false;
};

} // namespace install
