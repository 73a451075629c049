#include "browser/OptionsCommand.h"

#include "browser/AnsiText.h"
#include "browser/MainWindow.h"
#include "browser/OptionsDialog.h"
#include "browser/Outline.h"
#include "util/AppSettings.h"
#include "util/RegKey.h"
#include "util/widgets/ApplicationHints.h"
#include "util/widgets/MsgBox.h"

#include <QToolButton>

namespace browser {

TOptionsDialog* CreateOptionsDialog(TPandexCDMain& mainWindow) {
    auto* dialog = new TOptionsDialog(&mainWindow);
    QObject::connect(mainWindow.SBOptions, &QToolButton::clicked, dialog, [dialog, &mainWindow] {
        OptionsRoundTrip(*dialog, util::Settings(), *mainWindow.OverviewOL);
    });
    util::SetApplicationShowHint(util::Settings().ShowHints != 0);
    return dialog;
}

void OptionsRoundTrip(TOptionsDialog& dialog, util::AppSettings& settings,
                      TBrowzerOutline& outline) {
    dialog.SetDefaultDest(AnsiToQt(settings.DefaultDestinationPath));
    dialog.SetHintsOn(settings.ShowHints != 0);
    dialog.SetUpdateDateText(AnsiToQt(settings.NewSinceDateText));
    if (dialog.Execute() != util::mrOk)
        return;
    util::AppSettings confirmed = settings;
    confirmed.SetNewSinceDate(QtToAnsi(dialog.UpdateDateText()));
    confirmed.DefaultDestinationPath = QtToAnsi(dialog.DefaultDest());
    confirmed.ShowHints = dialog.HintsOn() ? 1 : 0;
    settings = confirmed;
    outline.viewport()->update();
    util::SetApplicationShowHint(dialog.HintsOn());
    try {
        util::WriteAppSettings(settings);
    } catch (const util::ERegKey& error) {
        // The settings hold for this run; the user learns that they were not saved.
        util::ExecuteMsgBox(QStringLiteral("Fehler"), AnsiToQt(error.Message()));
    }
}

} // namespace browser
