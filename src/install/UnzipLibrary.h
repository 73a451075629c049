// The unzip library, loaded once when the program starts: DUNZIP32.DLL (libdunzip32.so) beside
// the program or on the loader's search path, else from the program's "Data" folder. Its entry
// dunzip serves every unzip component until the library is released.
#pragma once

#include "dunzip/dunzip.h"
#include "platform/DynamicLibrary.h"

#include <string>
#include <string_view>

namespace install {

using TDunzipEntry = std::int32_t (*)(DunzipCommandBlock* block);

// The entry every TUnzipFile calls; null while no library is loaded.
TDunzipEntry DunzipEntry();
// Sets the entry; the loader does, and tests hand in their own.
void SetDunzipEntry(TDunzipEntry entry);

inline constexpr std::string_view kUnzipLibraryName = "DUNZIP32.DLL";

// Loads the library and sets the entry for as long as it lives. When the library or its entry
// cannot be found, the platform message box shows "Konnte DUNZIP32.DLL nicht finden!" (caption
// "Vitrine - Ladefehler") and Loaded() is false: the program then ends.
class TUnzipLibrary {
public:
    explicit TUnzipLibrary(std::string_view libraryName = kUnzipLibraryName);
    ~TUnzipLibrary();
    TUnzipLibrary(const TUnzipLibrary&) = delete;
    TUnzipLibrary& operator=(const TUnzipLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }

private:
    platform::HMODULE module_ = nullptr;
};

} // namespace install
