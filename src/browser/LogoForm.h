// TLogoForm: a black full-screen slide show of the two pictures "vitrine1.dat" and "vitrine2.dat"
// of the data folder, switching every 5 seconds and on any key; Esc ends it.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QTimer;

namespace browser {

class TLogoForm : public QDialog {
    Q_OBJECT

public:
    // dataDir: the native data folder that holds the two pictures.
    TLogoForm(QWidget* owner, QString dataDir);

    // Loads both pictures (any image format, whatever the file name says); on any failure
    // ImagesLoaded() is false afterwards and nothing is reported.
    void LoadImages();
    bool ImagesLoaded() const { return imagesLoaded_; }

    // Shows the other picture.
    void TimerTimer();

    QLabel* Image1;
    QLabel* Image2;
    QTimer* Timer;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate();

    QString dataDir_;
    bool imagesLoaded_ = true;
};

} // namespace browser
