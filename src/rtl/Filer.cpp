#include "rtl/Filer.h"

#include "rtl/Exceptions.h"
#include "rtl/LittleEndian.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace rtl {

TReader::TReader(TStream& stream, std::int32_t bufferSize, std::int64_t budget)
    : stream_(stream), buffer_(bufferSize), budget_(budget) {}

void TReader::Spend(std::int64_t cost) {
    if (cost > budget_)
        throw EReadBudgetError();
    budget_ -= cost;
}

TReader::~TReader() {
    if (consumed_ < valid_)
        stream_.Seek(static_cast<std::int64_t>(consumed_) - valid_, SeekOrigin::Current);
}

void TReader::FillBuffer() {
    const std::int32_t n = stream_.Read(buffer_.data(), static_cast<std::int32_t>(buffer_.size()));
    if (n <= 0)
        throw EReadError();
    valid_ = std::min<std::int32_t>(n, static_cast<std::int32_t>(buffer_.size()));
    Spend(valid_);
    consumed_ = 0;
}

void TReader::Read(void* buffer, std::int64_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        if (consumed_ == valid_)
            FillBuffer();
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, valid_ - consumed_));
        std::memcpy(out, buffer_.data() + consumed_, static_cast<std::size_t>(n));
        consumed_ += n;
        out += n;
        count -= n;
    }
}

std::int32_t TReader::ReadInteger() {
    std::uint8_t bytes[4];
    Read(bytes, 4);
    return static_cast<std::int32_t>(LoadU32(bytes));
}

std::uint8_t TReader::ReadByte() {
    std::uint8_t value;
    Read(&value, 1);
    return value;
}

std::string TReader::ReadString() {
    const std::uint8_t tag = ReadByte();
    std::uint32_t length;
    if (tag == kStringTag)
        length = ReadByte();
    else if (tag == kLongStringTag)
        length = static_cast<std::uint32_t>(ReadInteger());
    else
        throw EReadError(kInvalidPropertyValue);

    Spend(sizeof(std::string));
    std::string text;
    while (text.size() < length) {
        if (consumed_ == valid_)
            FillBuffer();
        const auto n = std::min<std::size_t>(length - text.size(),
                                             static_cast<std::size_t>(valid_ - consumed_));
        text.append(reinterpret_cast<const char*>(buffer_.data() + consumed_), n);
        consumed_ += static_cast<std::int32_t>(n);
    }
    return text;
}

TWriter::TWriter(TStream& stream, std::int32_t bufferSize) : stream_(stream), buffer_(bufferSize) {}

TWriter::~TWriter() noexcept(false) {
    if (std::uncaught_exceptions() == 0)
        FlushBuffer();
}

void TWriter::FlushBuffer() {
    if (filled_ == 0)
        return;
    const std::int32_t n = filled_;
    filled_ = 0;
    if (stream_.Write(buffer_.data(), n) != n)
        throw EWriteError();
}

void TWriter::Write(const void* buffer, std::int64_t count) {
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (count > 0) {
        if (filled_ == static_cast<std::int32_t>(buffer_.size()))
            FlushBuffer();
        const auto n = static_cast<std::int32_t>(
            std::min<std::int64_t>(count, static_cast<std::int64_t>(buffer_.size()) - filled_));
        std::memcpy(buffer_.data() + filled_, in, static_cast<std::size_t>(n));
        filled_ += n;
        in += n;
        count -= n;
    }
}

void TWriter::WriteInteger(std::int32_t value) {
    std::uint8_t bytes[4];
    StoreU32(bytes, static_cast<std::uint32_t>(value));
    Write(bytes, 4);
}

void TWriter::WriteByte(std::uint8_t value) {
    Write(&value, 1);
}

void TWriter::WriteString(const std::string& text) {
    if (text.size() <= 255) {
        WriteByte(kStringTag);
        WriteByte(static_cast<std::uint8_t>(text.size()));
    } else {
        WriteByte(kLongStringTag);
        WriteInteger(static_cast<std::int32_t>(text.size()));
    }
    Write(text.data(), static_cast<std::int64_t>(text.size()));
}

} // namespace rtl
