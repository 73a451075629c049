#include "install/UnzipTexts.h"

#include "dunzip/dunzip.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace install {

namespace {

// Every text the library shows, in German; the first five are the install dialog's own.
constexpr std::pair<std::int32_t, std::string_view> kTexts[] = {
    {DUNZIP_TEXT_CAPTION, "Entpacker"},
    {DUNZIP_TEXT_WARNING_CAPTION, "Entpacker - Warnung"},
    {DUNZIP_TEXT_OVERWRITE, "Datei %s existiert schon, soll sie \xFC"
                            "berschrieben werden?"},
    {DUNZIP_TEXT_UNPACKING, "Entpacke Datei: %s"},
    {DUNZIP_TEXT_OVERWRITE_READONLY,
     "Datei %s existiert schon und hat das Nur-Lesen-Attribut, Soll sie \xFC"
     "berschrieben werden?"},
    {DUNZIP_TEXT_CANCELLED, "Entpacken abgebrochen."},
    {DUNZIP_TEXT_NO_ARCHIVE, "Archiv %s kann nicht gelesen werden: %s."},
    {DUNZIP_TEXT_NO_DESTINATION, "Zielverzeichnis %s nicht gefunden."},
    {DUNZIP_TEXT_UNSAFE_PATH, "%s: unsicherer Pfad au\xDF"
                              "erhalb des Zielverzeichnisses, nicht entpackt."},
    {DUNZIP_TEXT_LINK_MEMBER, "%s: symbolische Verkn\xFCpfung, nicht angelegt."},
    {DUNZIP_TEXT_THROUGH_LINK, "%s: w\xFCrde \xFC"
                               "ber eine symbolische Verkn\xFCpfung geschrieben, nicht entpackt."},
    {DUNZIP_TEXT_METHOD, "%s: Packmethode %s wird nicht unterst\xFCtzt, nicht entpackt."},
    {DUNZIP_TEXT_ENCRYPTED, "%s: verschl\xFCsselt, nicht entpackt."},
    {DUNZIP_TEXT_CRC, "%s: CRC-Fehler, nicht entpackt."},
    {DUNZIP_TEXT_DAMAGED, "%s: Daten besch\xE4"
                          "digt (%s), nicht entpackt."},
    {DUNZIP_TEXT_WRITE, "%s: kann nicht geschrieben werden (Fehler %s)."},
    {DUNZIP_TEXT_DISK_FULL, "%s: Datentr\xE4ger voll, nicht entpackt."},
    {DUNZIP_TEXT_NOT_ZIP, "kein ZIP-Archiv"},
    {DUNZIP_TEXT_FILE_NOT_FOUND, "Datei nicht gefunden"},
    {DUNZIP_TEXT_CANNOT_OPEN, "Datei kann nicht ge\xF6"
                              "ffnet werden"},
    {DUNZIP_TEXT_INCONSISTENT, "Verzeichnis des Archivs widerspr\xFC"
                               "chlich"},
    {DUNZIP_TEXT_PREMATURE_END, "vorzeitiges Dateiende"},
    {DUNZIP_TEXT_READ_ERROR, "Lesefehler"},
    {DUNZIP_TEXT_MULTI_DISK, "mehrteiliges Archiv"},
    {DUNZIP_TEXT_BAD_DATA, "gepackte Daten ung\xFCltig"},
    {DUNZIP_TEXT_NO_MEMORY, "zu wenig Speicher"},
    {DUNZIP_TEXT_SIZE_MISMATCH, "Gr\xF6\xDF"
                                "e stimmt nicht"},
    {DUNZIP_TEXT_OTHER_ERROR, "Fehler %s"},
};

} // namespace

std::optional<std::string_view> UnzipText(std::int32_t number) {
    for (const auto& [textNumber, text] : kTexts)
        if (textNumber == number)
            return text;
    return std::nullopt;
}

std::int32_t ReplaceUnzipText(std::int32_t number, char* text1, std::int32_t capacity) {
    const auto text = UnzipText(number);
    if (!text || text1 == nullptr || capacity <= 0)
        return 0;
    const std::size_t length = std::min(text->size(), static_cast<std::size_t>(capacity) - 1);
    std::memcpy(text1, text->data(), length);
    text1[length] = '\0';
    return 1;
}

} // namespace install
