#include "platform/DynamicLibrary.h"

#include "platform/Folders.h"
#include "rtl/StrUtils.h"

#include <dlfcn.h>

namespace platform {

std::string SharedLibraryFileName(std::string_view windowsName) {
    if (windowsName.size() <= 4 ||
        !rtl::SameTextAscii(windowsName.substr(windowsName.size() - 4), ".dll"))
        return std::string(windowsName);
    return "lib" + rtl::LowerCaseAscii(windowsName.substr(0, windowsName.size() - 4)) + ".so";
}

HMODULE LoadLibrary(std::string_view windowsName) {
    const std::string fileName = SharedLibraryFileName(windowsName);
    if (fileName.find('/') == std::string::npos) {
        const std::string besideProgram = ProgramFolder() + "/" + fileName;
        if (HMODULE module = dlopen(besideProgram.c_str(), RTLD_NOW | RTLD_LOCAL))
            return module;
    }
    return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* GetProcAddress(HMODULE module, const std::string& entryName) {
    return module == nullptr ? nullptr : dlsym(module, entryName.c_str());
}

bool FreeLibrary(HMODULE module) {
    return module != nullptr && dlclose(module) == 0;
}

} // namespace platform
