#include "platform/DynamicLibrary.h"

#include "platform/Folders.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <dlfcn.h>

namespace platform {

std::string SharedLibraryFileName(std::string_view windowsName) {
    if (windowsName.size() <= 4 ||
        rtl::UpperCaseAscii(windowsName.substr(windowsName.size() - 4)) != ".DLL")
        return std::string(windowsName);
    std::string base(windowsName.substr(0, windowsName.size() - 4));
    std::transform(base.begin(), base.end(), base.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return "lib" + base + ".so";
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
