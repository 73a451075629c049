// Runs an outside program of the tests (pdftotext, pdfinfo, …) and returns its standard output.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>

namespace testing_support {

inline std::string RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    return process.readAllStandardOutput().toStdString();
}

} // namespace testing_support
