#include "dunzip/Archive.h"

namespace unzip {

ZipArchive OpenArchiveFile(const std::string& nativePath, int& zipError) {
    zipError = ZIP_ER_OK;
    return ZipArchive(zip_open(nativePath.c_str(), ZIP_RDONLY, &zipError));
}

ZipArchive OpenArchiveInMemory(const void* data, std::size_t size, int& zipError) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    zip_t* archive = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (archive == nullptr && source != nullptr)
        zip_source_free(source);
    zipError = zip_error_code_zip(&error);
    zip_error_fini(&error);
    return ZipArchive(archive);
}

} // namespace unzip
