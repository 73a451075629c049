#include "dunzip/Texts.h"

#include "dunzip/dunzip.h"

#include <utility>
#include <zip.h>

namespace unzip {

namespace {

constexpr std::pair<int, std::string_view> kTexts[] = {
    {DUNZIP_TEXT_CAPTION, "Unzip"},
    {DUNZIP_TEXT_WARNING_CAPTION, "Unzip - Warning"},
    {DUNZIP_TEXT_OVERWRITE, "File %s already exists. Overwrite it?"},
    {DUNZIP_TEXT_UNPACKING, "Unzipping file: %s"},
    {DUNZIP_TEXT_OVERWRITE_READONLY, "File %s already exists and is read-only. Overwrite it?"},
    {DUNZIP_TEXT_CANCELLED, "Unzipping cancelled."},
    {DUNZIP_TEXT_NO_ARCHIVE, "Cannot read archive %s: %s."},
    {DUNZIP_TEXT_NO_DESTINATION, "Destination folder %s not found."},
    {DUNZIP_TEXT_UNSAFE_PATH, "%s: unsafe path outside the destination, not unzipped."},
    {DUNZIP_TEXT_LINK_MEMBER, "%s: symbolic link, not created."},
    {DUNZIP_TEXT_THROUGH_LINK, "%s: would be written through a symbolic link, not unzipped."},
    {DUNZIP_TEXT_METHOD, "%s: compression method %s is not supported, not unzipped."},
    {DUNZIP_TEXT_ENCRYPTED, "%s: encrypted, not unzipped."},
    {DUNZIP_TEXT_CRC, "%s: CRC error, not unzipped."},
    {DUNZIP_TEXT_DAMAGED, "%s: damaged data (%s), not unzipped."},
    {DUNZIP_TEXT_WRITE, "%s: cannot be written (error %s)."},
    {DUNZIP_TEXT_DISK_FULL, "%s: disk full, not unzipped."},
    {DUNZIP_TEXT_NOT_ZIP, "not a ZIP archive"},
    {DUNZIP_TEXT_FILE_NOT_FOUND, "file not found"},
    {DUNZIP_TEXT_CANNOT_OPEN, "cannot open the file"},
    {DUNZIP_TEXT_INCONSISTENT, "inconsistent directory"},
    {DUNZIP_TEXT_PREMATURE_END, "premature end of file"},
    {DUNZIP_TEXT_READ_ERROR, "read error"},
    {DUNZIP_TEXT_MULTI_DISK, "multi-disk archive"},
    {DUNZIP_TEXT_BAD_DATA, "invalid compressed data"},
    {DUNZIP_TEXT_NO_MEMORY, "out of memory"},
    {DUNZIP_TEXT_SIZE_MISMATCH, "size mismatch"},
    {DUNZIP_TEXT_OTHER_ERROR, "error %s"},
};

} // namespace

std::string_view DefaultText(int number) {
    for (const auto& [textNumber, text] : kTexts)
        if (textNumber == number)
            return text;
    return {};
}

std::string FillText(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string filled;
    const std::string_view* next = args.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's') {
            if (next != args.end())
                filled += *next++;
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

int ZipErrorCauseText(int zipError) {
    switch (zipError) {
    case ZIP_ER_NOZIP:
        return DUNZIP_TEXT_NOT_ZIP;
    case ZIP_ER_NOENT:
        return DUNZIP_TEXT_FILE_NOT_FOUND;
    case ZIP_ER_OPEN:
        return DUNZIP_TEXT_CANNOT_OPEN;
    case ZIP_ER_INCONS:
        return DUNZIP_TEXT_INCONSISTENT;
    case ZIP_ER_EOF:
        return DUNZIP_TEXT_PREMATURE_END;
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return DUNZIP_TEXT_READ_ERROR;
    case ZIP_ER_MULTIDISK:
        return DUNZIP_TEXT_MULTI_DISK;
    case ZIP_ER_COMPRESSED_DATA:
    case ZIP_ER_ZLIB:
        return DUNZIP_TEXT_BAD_DATA;
    case ZIP_ER_MEMORY:
        return DUNZIP_TEXT_NO_MEMORY;
    default:
        return DUNZIP_TEXT_OTHER_ERROR;
    }
}

} // namespace unzip
