#include "install/LPStr.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace install {

namespace {

constexpr std::int32_t kUnfixedLoadCapacity = 32768;
constexpr std::size_t kMostCharacters = std::numeric_limits<std::uint16_t>::max() - 1;
// The form resource's type byte of a binary value.
constexpr std::uint8_t kBinaryValue = 0x0A;

// A buffer of size bytes holding text cut to size - 1 characters.
std::unique_ptr<char[]> BufferWith(const char* text, std::size_t size) {
    auto buffer = std::make_unique<char[]>(size);
    if (text != nullptr)
        std::strncpy(buffer.get(), text, size - 1);
    return buffer;
}

} // namespace

TLPStr::TLPStr(std::uint16_t capacity) : fixed_(capacity > 0) {
    if (fixed_)
        SetSize(capacity);
}

std::size_t TLPStr::Length() const {
    return buffer_ ? std::strlen(buffer_.get()) : 0;
}

void TLPStr::SetSize(std::uint16_t n) {
    if (n == size_) {
        fixed_ = true;
        return;
    }
    if (n == 0) {
        fixed_ = false;
        return;
    }
    try {
        buffer_ = BufferWith(buffer_.get(), n);
    } catch (const std::bad_alloc&) {
        return;
    }
    fixed_ = true;
    size_ = n;
}

void TLPStr::Clear() {
    if (!fixed_) {
        buffer_.reset();
        size_ = 0;
    } else if (buffer_) {
        buffer_[0] = '\0';
    }
}

void TLPStr::CopyTo(std::unique_ptr<char[]>& destination, std::size_t& capacity) const {
    const std::size_t needed = std::max<std::size_t>(Length() + 1, 2);
    if (!destination || capacity < needed) {
        destination = std::make_unique<char[]>(needed);
        capacity = needed;
    }
    std::memcpy(destination.get(), buffer_ ? buffer_.get() : "", Length() + 1);
}

void TLPStr::LoadFromStream(rtl::TStream& stream) {
    const std::int32_t capacity = fixed_ ? size_ : kUnfixedLoadCapacity;
    std::vector<char> text(static_cast<std::size_t>(capacity) + 1, '\0');
    std::int32_t got = 0;
    while (got < capacity) {
        const std::int32_t n = stream.Read(text.data() + got, capacity - got);
        if (n <= 0)
            break;
        got += n;
    }
    if (got >= capacity)
        throw rtl::EStreamError("Line too long");
    SetValue(text.data());
}

void TLPStr::SaveToStream(rtl::TStream& stream) const {
    if (const std::size_t length = Length(); length > 0)
        stream.WriteBuffer(buffer_.get(), static_cast<std::int32_t>(length));
}

void TLPStr::SetValue(const char* source) {
    Clear();
    if (source == nullptr)
        return;
    if (fixed_) {
        if (buffer_)
            std::strncpy(buffer_.get(), source, size_ - 1U);
        return;
    }
    const std::size_t length = std::min(std::strlen(source), kMostCharacters);
    buffer_ = BufferWith(source, length + 1);
    size_ = static_cast<std::uint16_t>(length + 1);
}

void TLPStr::DefineProperties(rtl::TFiler& filer) {
    filer.DefineProperty(
        "PChar", [this](rtl::TReader& reader) { ReadPChar(reader); },
        [this](rtl::TWriter& writer) { WritePChar(writer); }, Length() > 0);
}

void TLPStr::ReadPChar(rtl::TReader& reader) {
    if (reader.ReadByte() != kBinaryValue)
        throw rtl::EReadError(rtl::kInvalidPropertyValue);
    const std::int32_t length = reader.ReadInteger();
    if (length < 0 || static_cast<std::size_t>(length) > kMostCharacters + 1)
        throw rtl::EReadError(rtl::kInvalidPropertyValue);
    if (length == 0)
        return;
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    reader.Read(text.data(), length);
    SetValue(text.data());
}

void TLPStr::WritePChar(rtl::TWriter& writer) const {
    const auto length = static_cast<std::int32_t>(Length() + 1);
    writer.WriteByte(kBinaryValue);
    writer.WriteInteger(length);
    writer.Write(buffer_.get(), length);
}

} // namespace install
