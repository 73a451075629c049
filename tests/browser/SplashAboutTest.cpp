#include "browser/AboutBox.h"
#include "browser/LogoForm.h"
#include "browser/Splash.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using browser::TCDAboutBox;
using browser::TLogoForm;

namespace {

// A data folder with the slide show's pictures, written in two formats the names do not tell.
class PictureFolder {
public:
    void WriteFirst() { Save("vitrine1.dat", Qt::red, "BMP"); }
    void WriteSecond() { Save("vitrine2.dat", Qt::blue, "PNG"); }
    QString Path() const { return QString::fromStdString(dir_.Path().string()); }
    const testing_support::TempDir& Dir() const { return dir_; }

private:
    void Save(const char* name, Qt::GlobalColor colour, const char* format) {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(colour);
        ASSERT_TRUE(picture.save(QString::fromStdString(dir_.File(name)), format));
    }
    testing_support::TempDir dir_;
};

void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// Presses a key on the about box's OK button; whileModal runs with the modal window shown by it,
// if the key shows one, and must close it. Returns whether a modal window was shown.
bool PressOnOKButton(TCDAboutBox& about, int key, Qt::KeyboardModifiers modifiers,
                     const QString& text, const std::function<void(TLogoForm&)>& whileModal) {
    bool shown = false;
    QTimer watcher;
    watcher.setSingleShot(true);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* logo = qobject_cast<TLogoForm*>(QApplication::activeModalWidget());
        if (logo == nullptr)
            return;
        shown = true;
        whileModal(*logo);
    });
    watcher.start(0);
    SendKey(about.OKButton, key, modifiers, text);
    return shown;
}

TEST(SplashTest, ShowsTheHourglassWhileItExists) {
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        browser::TCDSplash splash;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_FALSE(splash.Image->pixmap().isNull());
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(AboutBoxTest, OKButtonEndsTheBoxWithOK) {
    TCDAboutBox about;
    QTimer::singleShot(0, about.OKButton, &QPushButton::click);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST(AboutBoxTest, AltIWithBothPicturesShowsTheSlideShowUntilEsc) {
    PictureFolder pictures;
    pictures.WriteFirst();
    pictures.WriteSecond();
    TCDAboutBox about;
    about.SetDataDir(pictures.Path());
    about.show();

    const bool shown = PressOnOKButton(about, Qt::Key_I, Qt::AltModifier, "i", [](TLogoForm& logo) {
        EXPECT_TRUE(logo.windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(logo.Image1->isVisible());
        EXPECT_FALSE(logo.Image2->isVisible());
        EXPECT_EQ(logo.Image1->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
        EXPECT_EQ(logo.Image2->pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));
        EXPECT_TRUE(logo.Timer->isActive());

        SendKey(&logo, Qt::Key_A, Qt::NoModifier, "a");
        EXPECT_FALSE(logo.Image1->isVisible());
        EXPECT_TRUE(logo.Image2->isVisible());
        SendKey(&logo, Qt::Key_Space, Qt::NoModifier, " ");
        EXPECT_TRUE(logo.Image1->isVisible());
        EXPECT_TRUE(logo.isVisible());

        SendKey(&logo, Qt::Key_Escape, Qt::NoModifier, "\x1b");
        EXPECT_FALSE(logo.isVisible());
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(about.isVisible()) << "Esc returns to the about box";
}

TEST(AboutBoxTest, NoSlideShowWithOnlyOnePictureOrWithoutAlt) {
    PictureFolder pictures;
    pictures.WriteFirst();
    TCDAboutBox about;
    about.SetDataDir(pictures.Path());
    about.show();
    const auto close = [](TLogoForm& logo) { logo.reject(); };
    EXPECT_FALSE(PressOnOKButton(about, Qt::Key_I, Qt::AltModifier, "i", close)) << "one picture";
    pictures.WriteSecond();
    EXPECT_FALSE(PressOnOKButton(about, Qt::Key_I, Qt::NoModifier, "i", close)) << "no Alt";
    EXPECT_TRUE(about.isVisible());
    int key = Qt::Key_I;
    about.OKButtonKeyDown(key, Qt::ShiftModifier);
    EXPECT_EQ(key, Qt::Key_I) << "the key stays with the button";
}

TEST(LogoFormTest, TimerSwitchesBetweenThePictures) {
    PictureFolder pictures;
    pictures.WriteFirst();
    pictures.WriteSecond();
    TLogoForm logo(nullptr, pictures.Path());
    logo.LoadImages();
    ASSERT_TRUE(logo.ImagesLoaded());
    logo.show();
    logo.TimerTimer();
    EXPECT_TRUE(logo.Image1->isHidden());
    EXPECT_TRUE(logo.Image2->isVisible());
    logo.TimerTimer();
    EXPECT_TRUE(logo.Image1->isVisible());
    EXPECT_TRUE(logo.Image2->isHidden());
}

TEST(LogoFormTest, MissingOrDamagedPicturesAreNotLoaded) {
    PictureFolder onlySecond;
    onlySecond.WriteSecond();
    TLogoForm withoutFirst(nullptr, onlySecond.Path());
    withoutFirst.LoadImages();
    EXPECT_FALSE(withoutFirst.ImagesLoaded());

    PictureFolder damaged;
    damaged.WriteFirst();
    damaged.Dir().Write("vitrine2.dat", "BM\x10\x00 not really a bitmap");
    TLogoForm withDamaged(nullptr, damaged.Path());
    withDamaged.LoadImages();
    EXPECT_FALSE(withDamaged.ImagesLoaded());
}

} // namespace
