#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

TEST(VitrineProgram, StartsHeadlessOnTheSampleCatalogueAndQuitsCleanly) {
    QProcess vitrine;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Long enough for the selection watcher to run several times before the window closes.
    environment.insert(QStringLiteral("VITRINE_SMOKE_QUIT_MS"), QStringLiteral("1500"));
    vitrine.setProcessEnvironment(environment);
    vitrine.setProcessChannelMode(QProcess::ForwardedChannels);
    vitrine.start(QStringLiteral(VITRINE_EXE), {});
    ASSERT_TRUE(vitrine.waitForStarted(10000));
    ASSERT_TRUE(vitrine.waitForFinished(60000));
    EXPECT_EQ(vitrine.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(vitrine.exitCode(), 0);
}

} // namespace
