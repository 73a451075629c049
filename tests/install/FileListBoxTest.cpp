#include "install/FileListBox.h"

#include "install/FileGlyphs.h"
#include "platform/DosDateTime.h"
#include "platform/FileSystem.h"
#include "platform/ScopedConfigFolder.h"
#include "support/QtPrinting.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using install::TColumn;
using install::TFileEntry;
using install::TxFileListBox;
using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace fs = std::filesystem;

namespace {

// A list box on the folder of drive e:, a temporary folder.
class FileListBox : public testing::Test {
protected:
    FileListBox() { config_.Write("drives", "e: = " + disk_.Path().string() + " fixed\n"); }

    void File(const std::string& name, const std::string& bytes = "x") const {
        disk_.Write(name, bytes);
    }
    void Folder(const std::string& name) const { fs::create_directories(disk_.Path() / name); }

    static QStringList Lines(const TxFileListBox& box) {
        QStringList lines;
        for (int i = 0; i < box.count(); ++i)
            lines << box.item(i)->text();
        return lines;
    }

    // The line as the list paints it, on its own.
    static QImage Painted(const TxFileListBox& box, int line) {
        QImage image(box.OffsetAttrs + 80, box.ItemHeight(), QImage::Format_RGB32);
        QPainter painter(&image);
        box.DrawItem(painter, line, image.rect());
        return image;
    }

    TempDir disk_;
    ScopedConfigFolder config_;
};

void SendMouse(TxFileListBox& box, QEvent::Type type, int line, Qt::MouseButtons held) {
    const QPoint at = box.visualItemRect(box.item(line)).center();
    QMouseEvent event(type, at, box.viewport()->mapToGlobal(at), Qt::RightButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(box.viewport(), &event);
}

} // namespace

TEST_F(FileListBox, GroupsAreSortedByNameWithoutCaseAndEachNameListedOnce) {
    File("b.pas");
    File("B.PAS");
    File("A.dcu");
    File("c.txt");
    File("unit.pas");
    Folder("UNIT.PAS");
    Folder("sub");
    TxFileListBox box;
    box.SetSFShow(install::kShowAll & ~install::sfsDrives);
    box.SetMask("*.pas;*.dcu");
    box.SetDirectory("e:\\");
    EXPECT_EQ(Lines(box), (QStringList{"sub", "unit.pas", "a.dcu", "b.pas", "unit.pas"}));
    EXPECT_TRUE(box.Entry(1)->IsDir);
    EXPECT_FALSE(box.Entry(4)->IsDir);

    box.SetSFShow(install::kShowAll);
    box.SetUpperCase(true);
    box.SetSortType(install::TSortType::stNameDirDrive);
    const QStringList lines = Lines(box);
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.mid(0, 5), (QStringList{"A.DCU", "B.PAS", "UNIT.PAS", "SUB", "UNIT.PAS"}));
    EXPECT_TRUE(lines.contains("E:"));
    for (int i = 5; i < lines.size(); ++i)
        EXPECT_TRUE(box.Entry(i)->IsDrive) << lines[i].toStdString();
}

TEST(FileColumns, EachColumnFollowsItsFormat) {
    TFileEntry entry;
    entry.Name = "handbuch-lang.txt";
    entry.Size = 1234;
    entry.Attr = platform::faArchive | platform::faReadOnly;
    entry.Time = platform::DateTimeToFileDate(rtl::EncodeDate(1996, 6, 4) + 13.75 / 24);
    auto text = [&](TColumn column) {
        return install::ColumnText(column, install::DefaultFormat(column), entry);
    };
    EXPECT_EQ(text(TColumn::Name), "handbuch-lan");
    EXPECT_EQ(text(TColumn::Size), "     1234");
    EXPECT_EQ(text(TColumn::Date), "06.04.96");
    EXPECT_EQ(text(TColumn::Time), "13:45");
    EXPECT_EQ(text(TColumn::Attr), "AR  ");
    entry.Name = "a.txt";
    entry.Attr = platform::faHidden;
    EXPECT_EQ(text(TColumn::Name), "a.txt       ");
    EXPECT_EQ(text(TColumn::Attr), "   H");
    EXPECT_EQ(install::ColumnText(TColumn::Size, "[%-6d|%%]", entry), "[1234  |%]");
    EXPECT_EQ(install::ColumnText(TColumn::Date, "yyyy-mm-dd hh:nn:ss", entry),
              "1996-06-04 13:45:00");
}

TEST_F(FileListBox, EveryColumnAsksOnGetFormatWithItsKind) {
    File("a.txt");
    TxFileListBox box;
    std::vector<int> kinds;
    box.OnGetFormat = [&](TxFileListBox&, std::string& format, int kind, int item) {
        kinds.push_back(kind);
        EXPECT_EQ(item, 0);
        if (kind == 0)
            format = "<%s>";
    };
    box.SetSFShow(install::sfsSize | install::sfsDate | install::sfsTime | install::sfsAttr);
    box.SetDirectory("e:\\");
    ASSERT_EQ(Lines(box), QStringList{"a.txt"});
    Painted(box, 0);
    EXPECT_EQ(kinds, (std::vector<int>{0, 1, 2, 2, 3}));
}

TEST_F(FileListBox, AProgramShowsTheFirstIconOfItsIconGroupElseTheDefaultOrTheProgramGlyph) {
    fs::copy_file(fs::path(VITRINE_SAMPLE_CD) / "KOMP" / "DB" / "TABDEMO.EXE",
                  disk_.Path() / "TABDEMO.EXE");
    File("fake.exe", "MZ but nothing else");
    TxFileListBox box;
    box.SetSFShow(install::sfsProcIcons);
    box.SetDirectory("e:\\");
    ASSERT_EQ(Lines(box), (QStringList{"fake.exe", "tabdemo.exe"}));
    const int glyph = box.ItemHeight();
    const QImage fake = Painted(box, 0).copy(0, 0, glyph, glyph);
    const QImage own = Painted(box, 1).copy(0, 0, glyph, glyph);

    QImage expected(glyph, glyph, QImage::Format_RGB32);
    expected.fill(box.palette().color(QPalette::Base));
    QPainter(&expected).drawPixmap(2, 1,
                                   install::FileGlyph(install::TFileGlyph::Program, glyph - 2));
    EXPECT_EQ(fake, expected);
    // The sample program's icon: a tile in its colour with a white window on it.
    EXPECT_NE(own, expected);
    EXPECT_EQ(own.pixelColor(2 + glyph / 2, 1 + glyph / 2), QColor(Qt::white));

    // Its bottom-left pixel is the icon's transparent colour.
    QPixmap red(16, 16);
    red.fill(Qt::transparent);
    QPainter(&red).fillRect(2, 2, 12, 12, Qt::red);
    box.DefaultIcon = QIcon(red);
    box.Update();
    EXPECT_EQ(Painted(box, 0).pixelColor(2 + glyph / 2, glyph / 2), QColor(Qt::red));
}

TEST_F(FileListBox, TheRightButtonPaintsOneStateOverTheLinesItPassesExceptFolders) {
    Folder("sub");
    for (const char* name : {"a", "b", "c"})
        File(name);
    TxFileListBox box;
    box.SetSFShow(install::kShowAll & ~install::sfsDrives);
    box.SetMultiSelect(true);
    box.SetDirectory("e:\\");
    box.show();
    ASSERT_EQ(Lines(box), (QStringList{"sub", "a", "b", "c"}));
    auto selected = [&] {
        QString marks;
        for (int i = 0; i < box.count(); ++i)
            marks += box.Selected(i) ? u'x' : u'.';
        return marks;
    };
    SendMouse(box, QEvent::MouseButtonPress, 1, Qt::RightButton);
    SendMouse(box, QEvent::MouseMove, 2, Qt::RightButton);
    SendMouse(box, QEvent::MouseMove, 0, Qt::RightButton);
    EXPECT_EQ(selected(), ".xx.");
    SendMouse(box, QEvent::MouseButtonRelease, 0, Qt::NoButton);
    SendMouse(box, QEvent::MouseMove, 3, Qt::NoButton);
    EXPECT_EQ(selected(), ".xx.");
    SendMouse(box, QEvent::MouseButtonPress, 2, Qt::RightButton);
    SendMouse(box, QEvent::MouseMove, 1, Qt::RightButton);
    EXPECT_EQ(selected(), "....");
    SendMouse(box, QEvent::MouseButtonRelease, 1, Qt::NoButton);

    box.EnableDirSel = true;
    SendMouse(box, QEvent::MouseButtonPress, 0, Qt::RightButton);
    SendMouse(box, QEvent::MouseButtonRelease, 0, Qt::NoButton);
    EXPECT_EQ(selected(), "x...");
}

TEST_F(FileListBox, OpeningEntersFoldersGoesUpAndHandsFilesToOnExecute) {
    Folder("sub/deeper");
    File("sub/readme.txt");
    TxFileListBox box;
    std::vector<std::string> executed;
    box.OnExecute = [&](TxFileListBox&, const std::string& path) { executed.push_back(path); };
    box.SetDirectory("e:\\");
    box.setCurrentRow(0);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.Directory(), "e:\\sub");
    EXPECT_EQ(Lines(box).mid(0, 3), (QStringList{"..", "deeper", "readme.txt"}));
    EXPECT_EQ(box.currentRow(), 0);
    box.setCurrentRow(2);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(executed, std::vector<std::string>{"e:\\sub\\readme.txt"});
    box.setCurrentRow(2);
    QTest::keyClick(&box, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(executed.size(), 1U);
    box.setCurrentRow(0);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.Directory(), "e:\\");
    EXPECT_EQ(box.FullPath(0), "e:\\sub");
    EXPECT_THROW(box.SetDirectory("e:\\missing"), rtl::EInOutError);
    EXPECT_EQ(box.Directory(), "e:\\");
}

TEST_F(FileListBox, ALockedListIsNeitherReadNorDrawn) {
    File("a.txt");
    TxFileListBox box;
    box.SetSFShow(install::kShowAll & ~install::sfsDrives);
    box.SetDirectory("e:\\");
    box.SetLocked(true);
    File("b.txt");
    box.SetMask("*.txt");
    EXPECT_EQ(Lines(box), QStringList{"a.txt"});
    QImage blank(100, box.ItemHeight(), QImage::Format_RGB32);
    blank.fill(Qt::magenta);
    QImage painted = blank;
    {
        QPainter painter(&painted);
        box.DrawItem(painter, 0, painted.rect());
    }
    EXPECT_EQ(painted, blank);
    box.SetLocked(false);
    EXPECT_EQ(Lines(box), (QStringList{"a.txt", "b.txt"}));
}
