// The viewer's settings and their defaults, kept in the registry key
// HKEY_LOCAL_MACHINE, SOFTWARE\Kestrova\Vitrine32\2.0. NewSinceDate is never stored: it starts
// from its default at every program start.
#pragma once

#include "rtl/DateUtils.h"

#include <cstdint>
#include <string>

namespace util {

inline constexpr const char* kSettingsKeyPath = "SOFTWARE\\Kestrova\\Vitrine32\\2.0";

struct AppSettings {
    std::string DefaultDestinationPath = "c:\\pandex\\component";
    std::int32_t ShowHints = 1;
    std::string CDVolumeLabel = "KSTRV02";
    // Entries dated after this count as new; text "dd.mm.yy" and its date value.
    std::string NewSinceDateText = "02.05.96";
    rtl::TDateTime NewSinceDate = rtl::StrToDate("02.05.96");

    // Takes text and its date value together; EConvertError (nothing changed) for a bad date.
    void SetNewSinceDate(const std::string& text);
};

// The settings of this program run.
AppSettings& Settings();

// Opens the key (creating it if missing) and reads the stored values over settings; a missing
// value keeps the current one (ShowHints: 1). If the key cannot be opened or created, nothing
// changes. A failed read raises ERegKey after the key was closed.
void ReadAppSettings(AppSettings& settings);

// Writes DefaultDestinationPath, ShowHints and CDVolumeLabel, in this order. A key that cannot
// be opened or created (a read-only configuration folder) and a failed write raise ERegKey
// "Fehler beim Schreiben des RegistryStrings!", so a setting is never taken as saved when it
// was not.
void WriteAppSettings(const AppSettings& settings);

} // namespace util
