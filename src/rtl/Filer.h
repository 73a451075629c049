// The buffered record reader and writer. A writer collects bytes and hands its stream one whole
// buffer per Write call; a reader asks its stream for one buffer per Read call and takes the
// result as the number of valid bytes. Over the packed stream one call is one compressed block.
#pragma once

#include "rtl/Stream.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace rtl {

// A reader's or writer's buffer. Left uninitialised: every record read or written creates one,
// and only bytes that were put in are ever taken out.
class TFilerBuffer {
public:
    explicit TFilerBuffer(std::int32_t size)
        : size_(std::max(size, 1)),
          data_(std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size_))) {}
    std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return static_cast<std::size_t>(size_); }

private:
    std::int32_t size_;
    std::unique_ptr<std::uint8_t[]> data_;
};

// Tag bytes of a stored string: 1-byte length or 4-byte length.
inline constexpr std::uint8_t kStringTag = 0x06;
inline constexpr std::uint8_t kLongStringTag = 0x0C;

class TReader {
public:
    // budget bounds what one reader may cost: the bytes it takes from the stream, and for each
    // string also the memory of an empty one. Beyond it reading is EReadBudgetError.
    TReader(TStream& stream, std::int32_t bufferSize, std::int64_t budget = kNoBudget);
    // Moves the stream back by the unconsumed bytes, as the stream understands positions.
    ~TReader();
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;

    // Exactly count bytes; a stream that delivers nothing is "Stream read error".
    void Read(void* buffer, std::int64_t count);
    std::int32_t ReadInteger();
    std::uint8_t ReadByte();
    // Either tag for any length; another tag is "Invalid property value". The text is appended
    // as it is read, so a damaged length fails with a read error instead of a huge allocation.
    std::string ReadString();

    static constexpr std::int64_t kNoBudget = INT64_MAX;

private:
    void FillBuffer();
    void Spend(std::int64_t cost);

    TStream& stream_;
    TFilerBuffer buffer_;
    std::int32_t valid_ = 0;
    std::int32_t consumed_ = 0;
    std::int64_t budget_;
};

class TWriter {
public:
    TWriter(TStream& stream, std::int32_t bufferSize);
    // Hands over the rest, if any. Call FlushBuffer first where a failure must be seen.
    ~TWriter() noexcept(false);
    TWriter(const TWriter&) = delete;
    TWriter& operator=(const TWriter&) = delete;

    void Write(const void* buffer, std::int64_t count);
    void WriteInteger(std::int32_t value);
    void WriteByte(std::uint8_t value);
    // Tag 0x06 with a 1-byte length up to 255 characters, else 0x0C with a 4-byte length.
    void WriteString(const std::string& text);
    // Hands the collected bytes to the stream in one Write call; fewer accepted is
    // "Stream write error".
    void FlushBuffer();

private:
    TStream& stream_;
    TFilerBuffer buffer_;
    std::int32_t filled_ = 0;
};

} // namespace rtl
