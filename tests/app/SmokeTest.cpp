#include "support/TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString output;
    QString errors;
};

// Starts the program headless; it closes its main window after quitAfterMs.
void StartVitrine(QProcess& vitrine, const QStringList& arguments, int quitAfterMs) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VITRINE_SMOKE_QUIT_MS"), QString::number(quitAfterMs));
    vitrine.setProcessEnvironment(environment);
    vitrine.start(QStringLiteral(VITRINE_EXE), arguments);
}

Outcome RunVitrine(const QStringList& arguments, int quitAfterMs = 1500) {
    QProcess vitrine;
    StartVitrine(vitrine, arguments, quitAfterMs);
    EXPECT_TRUE(vitrine.waitForStarted(10000));
    EXPECT_TRUE(vitrine.waitForFinished(60000));
    EXPECT_EQ(vitrine.exitStatus(), QProcess::NormalExit);
    return {vitrine.exitCode(), QString::fromUtf8(vitrine.readAllStandardOutput()),
            QString::fromUtf8(vitrine.readAllStandardError())};
}

TEST(VitrineProgram, StartsHeadlessOnTheSampleCatalogueAndQuitsCleanly) {
    // Long enough for the selection watcher to run several times before the window closes.
    EXPECT_EQ(RunVitrine({}).exitCode, 0);
}

TEST(VitrineProgram, OpensTheCatalogueOfTheFolderItIsGiven) {
    testing_support::TempDir cd;
    for (const char* name : {"Vitrine32.dat", "Vitrine32.idx"})
        std::filesystem::copy_file(std::filesystem::path(VITRINE_PROGRAM_DIR) / "Data" / name,
                                   cd.Path() / name);
    EXPECT_EQ(RunVitrine({QString::fromStdString(cd.Path().string())}, 300).exitCode, 0);

    // A folder without a catalogue: the start stops at "Datenbank nicht gefunden!", although
    // the program's own folder holds one.
    testing_support::TempDir empty;
    QProcess vitrine;
    StartVitrine(vitrine, {QString::fromStdString(empty.Path().string())}, 300);
    ASSERT_TRUE(vitrine.waitForStarted(10000));
    EXPECT_FALSE(vitrine.waitForFinished(3000));
    vitrine.kill();
    vitrine.waitForFinished(10000);
}

TEST(VitrineProgram, HelpAndVersionPrintAndEnd) {
    const Outcome help = RunVitrine({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.startsWith(QStringLiteral("Aufruf: vitrine [ORDNER]\n")));
    const Outcome version = RunVitrine({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, QStringLiteral("Kestrova Pandex Vitrine 2.00\n"));
}

TEST(VitrineProgram, AWrongCommandLineIsRefusedWithTheUsage) {
    for (const QString& wrong : {QStringLiteral("--bogus"), QStringLiteral("/no/such/folder")}) {
        const Outcome outcome = RunVitrine({wrong});
        EXPECT_EQ(outcome.exitCode, 2) << wrong.toStdString();
        EXPECT_TRUE(outcome.errors.contains(QStringLiteral("Aufruf: vitrine [ORDNER]")));
    }
}

} // namespace
