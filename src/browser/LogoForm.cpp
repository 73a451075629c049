#include "browser/LogoForm.h"

#include "util/widgets/Controls.h"

#include <QDir>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace browser {
namespace {

constexpr int kSwitchInterval = 5000;

// The picture in path, read by its content; a null pixmap when it cannot be read.
QPixmap ReadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return QPixmap::fromImage(reader.read());
}

QLabel* CreatePicture(const char* name, QWidget* parent) {
    auto* picture = util::Named(new QLabel(parent), name);
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

} // namespace

TLogoForm::TLogoForm(QWidget* owner, QString dataDir)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      dataDir_(std::move(dataDir)) {
    setObjectName(QStringLiteral("LogoForm"));
    resize(427, 273);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    Image1 = CreatePicture("Image1", this);
    Image2 = CreatePicture("Image2", this);
    Image2->hide();

    Timer = util::Named(new QTimer(this), "Timer");
    Timer->setInterval(kSwitchInterval);
    connect(Timer, &QTimer::timeout, this, &TLogoForm::TimerTimer);
    Timer->start();
    FormCreate();
}

void TLogoForm::FormCreate() {
    imagesLoaded_ = true;
    setWindowState(Qt::WindowMaximized);
}

void TLogoForm::LoadImages() {
    const QDir folder(dataDir_);
    const QPixmap first = ReadPicture(folder.filePath(QStringLiteral("vitrine1.dat")));
    const QPixmap second =
        first.isNull() ? QPixmap() : ReadPicture(folder.filePath(QStringLiteral("vitrine2.dat")));
    if (first.isNull() || second.isNull()) {
        imagesLoaded_ = false;
        return;
    }
    Image1->setPixmap(first);
    Image2->setPixmap(second);
}

void TLogoForm::TimerTimer() {
    const bool showSecond = Image2->isHidden();
    Image1->setHidden(showSecond);
    Image2->setVisible(showSecond);
}

// Esc closes; any other character switches the picture at once, the timer keeps its rhythm.
void TLogoForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        reject();
    else if (!event->text().isEmpty())
        TimerTimer();
    else
        QDialog::keyPressEvent(event);
}

void TLogoForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Image1->setGeometry(rect());
    Image2->setGeometry(rect());
}

} // namespace browser
