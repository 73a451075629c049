// The main window on the sample catalogue that the build puts beside the program. With
// VITRINE_SCREENSHOT_DIR set, the window is also saved as infotext.png and component.png there.
#include "browser/EntryDetails.h"
#include "browser/Images.h"
#include "browser/MainWindow.h"
#include "browser/Outline.h"
#include "browser/TextView.h"
#include "browser/WideInfoForm.h"
#include "catalog/Records.h"
#include "util/AppSettings.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <gtest/gtest.h>

namespace {

void SaveScreenshot(QWidget& window, const char* name) {
    const QByteArray folder = qgetenv("VITRINE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    const QString path = QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name));
    ASSERT_TRUE(window.grab().save(path)) << path.toStdString();
}

int FirstComponent(const catalog::TTreeViewData& tree) {
    for (int i = 0; i < tree.Count(); ++i) {
        if (catalog::RecordKindOf(tree.RecordRef(i)) == catalog::RecordKind::Compo)
            return i;
    }
    return -1;
}

TEST(SampleCatalogue, OpensWithMarksAnInfoTextAndAComponentPage) {
    util::Settings() = util::AppSettings{};
    browser::TMainWindowSetup setup;
    setup.programFolder = VITRINE_PROGRAM_DIR;
    setup.watchSelection = false;
    int messages = 0;
    setup.showMessage = [&messages](const QString&, const QString&) { ++messages; };
    browser::TPandexCDMain window(setup);
    auto* wide = new browser::TWideInfoForm(&window);
    window.SetWideInfoForm(wide);
    window.resize(800, 560);
    window.show();

    ASSERT_TRUE(window.CatalogueLoaded());
    EXPECT_EQ(messages, 0);
    EXPECT_GT(window.OverviewOL->topLevelItemCount(), 1);
    EXPECT_FALSE(window.TextView->toPlainText().isEmpty());
    window.CheckSelection();
    SaveScreenshot(window, "infotext.png");

    const catalog::TTreeViewData& tree = window.OverviewOL->TreeData();
    int newEntries = 0;
    for (int i = 0; i < tree.Count(); ++i) {
        QTreeWidgetItem* node = window.OverviewOL->SelectIndex(i);
        newEntries += window.OverviewOL->ImageIndex(node) == browser::tiNewDocument;
    }
    EXPECT_GT(newEntries, 0);

    window.OverviewOL->ResetView();
    const int component = FirstComponent(tree);
    ASSERT_GE(component, 0);
    window.OverviewOL->SelectIndex(component);
    window.CheckSelection();
    EXPECT_EQ(window.ViewMode(), browser::vmComponent);
    EXPECT_FALSE(window.ComponentPage->CompoDescBox->title().trimmed().isEmpty());
    SaveScreenshot(window, "component.png");
    window.ExpandBtn->click();
    EXPECT_TRUE(wide->isVisible());
    SaveScreenshot(*wide, "wideinfo.png");
}

} // namespace
