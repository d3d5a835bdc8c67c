#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// Runs the built kestrune-cli as a user does.

struct TRun
{
    int ExitCode;
    QString Out;
    QString Err;
};

inline TRun Cli(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral(KESTRUNE_CLI), arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
        QString::fromUtf8(process.readAllStandardError())};
}

inline const QString CsvDirectory = QStringLiteral(KESTRUNE_EXAMPLES "/csv");

// The arguments with the example definition files as the source.
inline QStringList WithCsv(QStringList arguments)
{
    arguments.prepend(CsvDirectory);
    arguments.prepend(QStringLiteral("--csv"));
    return arguments;
}
