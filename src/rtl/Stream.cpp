#include "rtl/Stream.h"

#include "rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <utility>

namespace rtl {

void TStream::ReadBuffer(void* buffer, std::int32_t count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, std::int32_t count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError();
}

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, SeekOrigin::Current);
    const std::int64_t size = Seek(0, SeekOrigin::End);
    Seek(position, SeekOrigin::Beginning);
    return size;
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<std::uint8_t> block(std::min<std::int64_t>(count, 0xF000));
    std::int64_t left = count;
    while (left > 0) {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(left, block.size()));
        source.ReadBuffer(block.data(), n);
        WriteBuffer(block.data(), n);
        left -= n;
    }
    return count;
}

TFileStream::TFileStream(const std::string& path, FileMode mode) : path_(path) {
    std::error_code error;
    const auto type = std::filesystem::status(path, error).type();
    const bool mayCreate =
        mode == FileMode::Create && type == std::filesystem::file_type::not_found;
    if (type != std::filesystem::file_type::regular && !mayCreate)
        throw EFOpenError(path);
    switch (mode) {
    case FileMode::OpenRead:
        file_ = std::fopen(path.c_str(), "rb");
        break;
    case FileMode::OpenReadWrite:
        file_ = std::fopen(path.c_str(), "r+b");
        break;
    case FileMode::Create:
        file_ = std::fopen(path.c_str(), "w+b");
        break;
    }
    if (!file_)
        throw EFOpenError(path);
}

TFileStream::~TFileStream() {
    if (file_)
        std::fclose(file_);
}

void TFileStream::Close() {
    std::FILE* file = std::exchange(file_, nullptr);
    if (file && std::fclose(file) != 0)
        throw EWriteError();
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || !file_)
        return 0;
    return static_cast<std::int32_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0 || !file_)
        return 0;
    return static_cast<std::int32_t>(
        std::fwrite(buffer, 1, static_cast<std::size_t>(count), file_));
}

std::int64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const int whence = origin == SeekOrigin::Beginning ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    if (!file_ || std::fseek(file_, static_cast<long>(offset), whence) != 0)
        return -1;
    return std::ftell(file_);
}

std::int32_t TMemoryStream::Read(void* buffer, std::int32_t count) {
    const auto size = static_cast<std::int64_t>(data_.size());
    if (count <= 0 || position_ >= size)
        return 0;
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, size - position_));
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0)
        return 0;
    const auto end = static_cast<std::size_t>(position_) + static_cast<std::size_t>(count);
    if (end > data_.size())
        data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = static_cast<std::int64_t>(end);
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t base = origin == SeekOrigin::Beginning ? 0
                              : origin == SeekOrigin::Current
                                  ? position_
                                  : static_cast<std::int64_t>(data_.size());
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::SetSize(std::int64_t size) {
    data_.resize(static_cast<std::size_t>(size));
    position_ = std::min<std::int64_t>(position_, size);
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    data_.resize(static_cast<std::size_t>(size));
    source.ReadBuffer(data_.data(), static_cast<std::int32_t>(size));
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    TFileStream file(path, FileMode::OpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& path) {
    TFileStream file(path, FileMode::Create);
    file.WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
    file.Close();
}

} // namespace rtl
