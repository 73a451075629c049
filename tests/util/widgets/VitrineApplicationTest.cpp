#include "util/widgets/VitrineApplication.h"

#include "rtl/Exceptions.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using util::VitrineApplication;

namespace {

constexpr QEvent::Type kFailingEvent = QEvent::User;

// An event handler that fails with the given message and counts the events it handled.
class FailingObject : public QObject {
public:
    explicit FailingObject(std::string message) : message_(std::move(message)) {}
    int handled = 0;

    bool event(QEvent* event) override {
        if (event->type() != kFailingEvent)
            return QObject::event(event);
        ++handled;
        throw rtl::Exception(message_);
    }

private:
    std::string message_;
};

class VitrineApplicationTest : public testing::Test {
protected:
    VitrineApplication& App() { return *VitrineApplication::Instance(); }
    void TearDown() override { App().SetErrorHandler(nullptr); }
};

TEST_F(VitrineApplicationTest, ErrorFromAnEventHandlerReachesTheReplacedHandler) {
    std::vector<std::string> caught;
    App().SetErrorHandler([&](const std::exception& error) { caught.push_back(error.what()); });
    FailingObject failing("Datenbank nicht gefunden!");

    QEvent sent(kFailingEvent);
    QCoreApplication::sendEvent(&failing, &sent);
    QCoreApplication::postEvent(&failing, new QEvent(kFailingEvent));
    QCoreApplication::processEvents();

    EXPECT_EQ(failing.handled, 2);
    EXPECT_EQ(caught,
              (std::vector<std::string>{"Datenbank nicht gefunden!", "Datenbank nicht gefunden!"}));
}

TEST_F(VitrineApplicationTest, HandlerKeepsTheErrorsClass) {
    bool wasListError = false;
    App().SetErrorHandler([&](const std::exception& error) {
        wasListError = dynamic_cast<const rtl::EListError*>(&error) != nullptr;
    });
    QObject target;
    QTimer::singleShot(0, &target, [] { throw rtl::EListError(); });
    QCoreApplication::processEvents();
    EXPECT_TRUE(wasListError);
}

TEST_F(VitrineApplicationTest, FailingHandlerDoesNotEndTheProgram) {
    int calls = 0;
    App().SetErrorHandler([&](const std::exception&) {
        ++calls;
        throw std::runtime_error("handler failed too");
    });
    FailingObject failing("x");
    QEvent sent(kFailingEvent);
    QCoreApplication::sendEvent(&failing, &sent);
    EXPECT_EQ(calls, 1);
}

TEST_F(VitrineApplicationTest, StandardDisplayShowsTheMessageUnderTheApplicationTitle) {
    App().SetTitle("Kestrova Pandex Vitrine");
    QString caption;
    QString text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        box->close();
    });
    FailingObject failing("Fehler beim Lesen der Datei \xFC"
                          "ber das Netz");
    QEvent sent(kFailingEvent);
    QCoreApplication::sendEvent(&failing, &sent);

    EXPECT_EQ(caption, "Kestrova Pandex Vitrine");
    EXPECT_EQ(text, QString::fromUtf8("Fehler beim Lesen der Datei über das Netz"));
}

TEST_F(VitrineApplicationTest, QtsOwnTextsAreGerman) {
    QLineEdit edit(QStringLiteral("Text"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text().section(QLatin1Char('\t'), 0, 0);
    EXPECT_TRUE(items.contains(QStringLiteral("&Kopieren"))) << items.join('|').toStdString();
    EXPECT_TRUE(items.contains(QString::fromUtf8("Alles auswählen")))
        << items.join('|').toStdString();

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Ja"));
}

} // namespace
