// Byte streams: the abstract TStream with the three primitives Read, Write and Seek, and the
// file and memory streams built on the standard library.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rtl {

enum class SeekOrigin { Beginning, Current, End };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    // Moves the position; returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

    // Exactly count bytes, or EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::int32_t count);
    void WriteBuffer(const void* buffer, std::int32_t count);

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Beginning); }
    std::int64_t Size();

    // Copies count bytes from source at its position (count 0: the whole source from its start).
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

enum class FileMode { OpenRead, OpenReadWrite, Create };

// A file on disk. OpenRead and OpenReadWrite need an existing file; Create makes or truncates
// it. A file that cannot be opened in its mode is "Cannot open file %s" with the path; so is
// anything but a regular file (a named pipe or a device would block or never end).
class TFileStream final : public TStream {
public:
    TFileStream(const std::string& path, FileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    // Flushes and closes the file: a failure (a full disk) is "Stream write error". The
    // destructor closes too, but cannot report.
    void Close();

    const std::string& FileName() const { return path_; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

class TMemoryStream final : public TStream {
public:
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;

    void Clear();
    void SetSize(std::int64_t size);
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);

    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    std::vector<std::uint8_t>& Bytes() { return data_; }

private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};

} // namespace rtl
