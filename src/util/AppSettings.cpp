#include "util/AppSettings.h"

#include "util/RegKey.h"

namespace util {

namespace {

constexpr std::uint32_t kDestinationPathBuffer = 512;
constexpr std::uint32_t kVolumeLabelBuffer = 13;

} // namespace

void AppSettings::SetNewSinceDate(const std::string& text) {
    const rtl::TDateTime date = rtl::StrToDate(text);
    NewSinceDateText = text;
    NewSinceDate = date;
}

AppSettings& Settings() {
    static AppSettings settings;
    return settings;
}

void ReadAppSettings(AppSettings& settings) {
    TRegKey key(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, false);
    if (key.LastResult() != platform::ERROR_SUCCESS)
        return;
    settings.DefaultDestinationPath = key.ReadString(
        "DefaultDestinationPath", settings.DefaultDestinationPath, kDestinationPathBuffer);
    settings.ShowHints = key.ReadInteger("ShowHints", 1);
    if (key.LastResult() == platform::ERROR_FILE_NOT_FOUND)
        settings.ShowHints = 1;
    settings.CDVolumeLabel =
        key.ReadString("CDVolumeLabel", settings.CDVolumeLabel, kVolumeLabelBuffer);
    key.Close();
}

void WriteAppSettings(const AppSettings& settings) {
    TRegKey key(platform::HKEY_LOCAL_MACHINE, kSettingsKeyPath, false);
    if (key.LastResult() != platform::ERROR_SUCCESS)
        throw ERegKey(kRegistryWriteError);
    key.WriteString("DefaultDestinationPath", settings.DefaultDestinationPath);
    key.WriteInteger("ShowHints", settings.ShowHints);
    key.WriteString("CDVolumeLabel", settings.CDVolumeLabel);
    key.Close();
}

} // namespace util
