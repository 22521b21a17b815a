#pragma once

#ifdef QUILLIX_CONVERT

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

// Runs quillix-convert with these arguments and expects it to finish with status 0.
inline void RunConverterExpectingSuccess(const QStringList& arguments) {
    QProcess convert;
    convert.start(QStringLiteral(QUILLIX_CONVERT), arguments);
    ASSERT_TRUE(convert.waitForFinished(60000));
    EXPECT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
}

#endif
