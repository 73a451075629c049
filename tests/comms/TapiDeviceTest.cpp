// The network line devices: dialling directory, dialling into the mailbox, the events, and the
// configuration dialog.
#include "comms/TapiDevice.h"

#include "comms/ComPort.h"
#include "comms/Peers.h"
#include "comms/TapiConfigDialog.h"
#include "platform/ScopedConfigFolder.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace comms;
using comms_test::Mailbox;
using comms_test::Pump;
using comms_test::PumpUntil;
using testing_support::ScopedConfigFolder;

namespace {

struct Events {
    explicit Events(TTapiDevice& device) {
        QObject::connect(&device, &TTapiDevice::TapiPortOpen, [this] { log += "open;"; });
        QObject::connect(&device, &TTapiDevice::TapiPortClose, [this] { log += "close;"; });
        QObject::connect(&device, &TTapiDevice::TapiFail, [this](const QString& reason) {
            log += "fail;";
            failure = reason.toStdString();
        });
    }
    std::string log;
    std::string failure;
};

} // namespace

TEST(TapiDevice, DirectoryIsStoredAndNumbersAreLookedUp) {
    ScopedConfigFolder config;
    TDialDirectory directory("Telnet");
    directory.SetEntries({{"0211-4711", "mailbox.example", 2323}, {"089 1234", "10.1.2.3", 23}});
    directory.Save();
    TDialDirectory loaded("Telnet");
    loaded.Load();
    EXPECT_EQ(loaded.Entries(), directory.Entries());
    TDialDirectory other("TCP");
    other.Load();
    EXPECT_TRUE(other.Entries().empty()) << "each device has its own directory";

    EXPECT_EQ(loaded.Lookup("02114711")->host, "mailbox.example") << "digits compared";
    EXPECT_EQ(loaded.Lookup("127*0*0*1#2323"), (TDialEntry{"127*0*0*1#2323", "127.0.0.1", 2323}));
    EXPECT_EQ(loaded.Lookup("192*168*0*9")->port, 23);
    EXPECT_FALSE(loaded.Lookup("300*0*0*1"));
    EXPECT_FALSE(loaded.Lookup("1*2*3"));
    EXPECT_FALSE(loaded.Lookup("1*2*3*4#70000"));
    EXPECT_FALSE(loaded.Lookup("555"));
}

TEST(TapiDevice, DialOpensThePortAndBothEndsOfTheCallAreReported) {
    ScopedConfigFolder config;
    Mailbox mailbox({});
    ASSERT_TRUE(mailbox.Ready());
    TComPort port;
    TTapiDevice device(&port);
    TTapiStatus status;
    device.SetStatusDisplay(&status);
    device.SetSelectedDevice("TCP");
    Events events(device);

    device.Dial("555");
    ASSERT_TRUE(PumpUntil([&] { return !events.log.empty(); }));
    EXPECT_EQ(events.log, "fail;");
    EXPECT_EQ(events.failure, "Die Nummer 555 steht nicht im Wählverzeichnis von TCP");
    EXPECT_EQ(device.State(), TTapiDevice::TState::Idle);

    events.log.clear();
    device.Dial("127*0*0*1#" + QString::number(mailbox.Port()));
    EXPECT_TRUE(status.isVisible());
    device.Dial("127*0*0*1#1") /* ignored while a dial is under way */;
    ASSERT_TRUE(PumpUntil([&] { return events.log == "open;"; }));
    EXPECT_FALSE(status.isVisible());
    EXPECT_TRUE(port.Open());
    EXPECT_TRUE(port.DCD());
    EXPECT_EQ(device.State(), TTapiDevice::TState::Connected);

    EXPECT_TRUE(device.CancelCall());
    EXPECT_EQ(events.log, "open;close;");
    EXPECT_FALSE(port.Open());

    device.Dial("127*0*0*1#" + QString::number(mailbox.Port()));
    ASSERT_TRUE(PumpUntil([&] { return events.log == "open;close;open;"; }));
    port.Write("q");
    ASSERT_TRUE(PumpUntil([&] { return events.log == "open;close;open;close;"; }))
        << "the mailbox hung up";
    EXPECT_FALSE(port.DCD());
}

TEST(TapiDevice, DirectUseOpensThePortWithoutACall) {
    TComPort port;
    TTapiDevice device(&port);
    Events events(device);
    device.OpenDirect();
    EXPECT_EQ(events.log, "open;");
    EXPECT_TRUE(port.Open());
    EXPECT_FALSE(port.DCD());
    port.Write("goes nowhere");
    EXPECT_TRUE(device.CancelCall());
    EXPECT_EQ(events.log, "open;close;");
    EXPECT_FALSE(port.Open());

    TTapiDeviceSelection selection;
    selection.EnumerateDevices();
    EXPECT_EQ(selection.DeviceList(), QStringList({"Telnet", "TCP"}));
    selection.SetShowTapiDevices(false);
    selection.EnumerateDevices();
    EXPECT_TRUE(selection.DeviceList().isEmpty());
}

TEST(TapiDevice, ConfigurationDialogEditsTheDirectory) {
    ScopedConfigFolder config;
    TDialDirectory directory("Telnet");
    directory.SetEntries({{"1", "alt.example", 23}});
    directory.Save();
    {
        TTapiConfigDialog dialog("Telnet");
        ASSERT_EQ(dialog.DirectoryGrid->rowCount(), 1);
        dialog.AddBtn->click();
        dialog.DirectoryGrid->item(1, 0)->setText("0211-4711");
        dialog.DirectoryGrid->item(1, 1)->setText("127.0.0.1");
        dialog.DirectoryGrid->item(1, 2)->setText("99999");
        EXPECT_FALSE(dialog.TableEntries());
        EXPECT_EQ(dialog.ErrorText().toStdString(),
                  "Zeile 2: Nummer, Rechner und ein Port von 1 bis 65535 müssen angegeben sein.");
        dialog.DirectoryGrid->item(1, 2)->setText("2323");
        dialog.DirectoryGrid->setCurrentCell(0, 0);
        dialog.RemoveBtn->click();
        QTimer::singleShot(0, dialog.OKBtn, &QPushButton::click);
        EXPECT_EQ(dialog.exec(), 1);
    }
    directory.Load();
    EXPECT_EQ(directory.Entries(), (std::vector<TDialEntry>{{"0211-4711", "127.0.0.1", 2323}}));
}
