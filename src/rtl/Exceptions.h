// The runtime's exception classes and their English texts. Every error the program raises is an
// Exception; callers catch the class they expect and show its Message().
#pragma once

#include <exception>
#include <string>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EStreamError : public Exception {
    using Exception::Exception;
};

// "Stream read error" and the reader's "Invalid property value".
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
    using EStreamError::EStreamError;
};

// A record that decodes to more than its reader allows: "Stream read error" that no damaged-list
// recovery swallows, since reading on could only cost more.
class EReadBudgetError : public EReadError {
public:
    EReadBudgetError() = default;
};

class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};

class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const std::string& path) : EStreamError("Cannot open file " + path) {}
};

class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::string& path) : EStreamError("Cannot create file " + path) {}
};

class EListError : public Exception {
public:
    EListError() : Exception("List index out of bounds") {}
};

// Conversions: dates and their texts, "Cannot assign a %s to a %s".
class EConvertError : public Exception {
    using Exception::Exception;
};

class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
};

class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

// Input/output error with the platform's error number, as the file routines report it.
class EInOutError : public Exception {
public:
    explicit EInOutError(int errorCode)
        : Exception("I/O error " + std::to_string(errorCode)), errorCode_(errorCode) {}
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_;
};

inline constexpr const char* kInvalidPropertyValue = "Invalid property value";

} // namespace rtl
