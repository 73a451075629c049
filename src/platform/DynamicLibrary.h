// Dynamic libraries in Windows terms over dlopen/dlsym. A Windows library name "NAME.DLL" (any
// case) stands for "libname.so", looked for beside the program first, then on the loader's
// normal search path: "DUNZIP32.DLL" loads libdunzip32.so.
#pragma once

#include <string>
#include <string_view>

namespace platform {

using HMODULE = void*;

// "DUNZIP32.DLL" → "libdunzip32.so"; a name that does not end in ".dll" is returned unchanged.
std::string SharedLibraryFileName(std::string_view windowsName);

// nullptr when the library cannot be found or loaded.
HMODULE LoadLibrary(std::string_view windowsName);
// nullptr when module has no entry of that name.
void* GetProcAddress(HMODULE module, const std::string& entryName);
// False when module was not loaded.
bool FreeLibrary(HMODULE module);

} // namespace platform
