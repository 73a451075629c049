// TRegKey: one open registry key with string and 32-bit integer values, and its error ERegKey.
// Opening never raises: the result is kept in LastResult() and callers go on only when it is 0.
// Every other failed call raises ERegKey (its German message in Windows-1252, as all program
// messages), except "not found" when reading, which gives the default.
//
// Closing can fail, and a C++ destructor must not throw: Close() closes and raises on failure;
// the destructor closes a key that is still open and ignores the result. Code that must hear of
// a failed close calls Close() itself.
#pragma once

#include "platform/Registry.h"
#include "rtl/Exceptions.h"

#include <cstdint>
#include <string>

namespace util {

class ERegKey : public rtl::Exception {
    using rtl::Exception::Exception;
};

// The message of every failed write: "Fehler beim Schreiben des RegistryStrings!".
inline constexpr const char* kRegistryWriteError = "Fehler beim Schreiben des RegistryStrings!";

class TRegKey {
public:
    // openOnly: open an existing key; otherwise create it (and the keys above it) if needed.
    TRegKey(platform::HKEY root, std::string keyPath, bool openOnly);
    ~TRegKey();
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;

    // Closes the key if it is open: "Fehler beim Schließen des RegistryKeys!" on failure.
    void Close();
    // Closes the key (as Close) and deletes KeyPath below Root: "Fehler beim Löschen des
    // RegistryKeys!" on failure. The object stays, closed; its owner frees it.
    void DeleteAndFree();

    // A string value of the text's bytes, without a terminating NUL:
    // "Fehler beim Schreiben des RegistryStrings!" on failure.
    void WriteString(const std::string& name, const std::string& value);
    // The value read through a buffer of maxLen bytes, cut at the size stored (and at a stored
    // terminating NUL). Missing: defaultValue. Longer than maxLen, not a string, or any other
    // failure: "Fehler beim Lesen des RegistryStrings!".
    std::string ReadString(const std::string& name, const std::string& defaultValue,
                           std::uint32_t maxLen);
    // A 32-bit integer value; failure: "Fehler beim Schreiben des RegistryStrings!".
    void WriteInteger(const std::string& name, std::int32_t value);
    // Missing: defaultValue; not a 32-bit integer or any other failure:
    // "Fehler beim Lesen des RegistryStrings!".
    std::int32_t ReadInteger(const std::string& name, std::int32_t defaultValue);

    // The Windows result code of the last registry call (0 success, 2 not found).
    platform::LONG LastResult() const { return lastResult_; }
    platform::HKEY Root() const { return root_; }
    const std::string& KeyPath() const { return keyPath_; }

private:
    // The result of the read if it is 0 or 2, else the read error.
    platform::LONG CheckRead(platform::LONG result);

    platform::HKEY root_;
    std::string keyPath_;
    platform::HKEY key_ = 0;
    bool open_ = false;
    platform::LONG lastResult_ = platform::ERROR_SUCCESS;
};

} // namespace util
