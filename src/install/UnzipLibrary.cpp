#include "install/UnzipLibrary.h"

#include "platform/MessageBox.h"
#include "util/Paths.h"

#include <atomic>

namespace install {

namespace {

std::atomic<TDunzipEntry> entry{nullptr};

// Beside the program or on the search path; else the copy in the program's "Data" folder, which
// is loaded from there rather than copied into a system folder.
platform::HMODULE LoadUnzipModule(std::string_view libraryName) {
    if (platform::HMODULE module = platform::LoadLibrary(libraryName))
        return module;
    return platform::LoadLibrary(util::DataDir() + platform::SharedLibraryFileName(libraryName));
}

} // namespace

TDunzipEntry DunzipEntry() {
    return entry.load();
}

void SetDunzipEntry(TDunzipEntry newEntry) {
    entry.store(newEntry);
}

TUnzipLibrary::TUnzipLibrary(std::string_view libraryName) : module_(LoadUnzipModule(libraryName)) {
    void* address = platform::GetProcAddress(module_, "dunzip");
    if (address == nullptr) {
        platform::FreeLibrary(module_);
        module_ = nullptr;
        platform::ShowMessageBox("Konnte DUNZIP32.DLL nicht finden!", "Vitrine - Ladefehler");
        return;
    }
    SetDunzipEntry(reinterpret_cast<TDunzipEntry>(address));
}

TUnzipLibrary::~TUnzipLibrary() {
    if (module_ == nullptr)
        return;
    SetDunzipEntry(nullptr);
    platform::FreeLibrary(module_);
}

} // namespace install
