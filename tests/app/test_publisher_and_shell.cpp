#include "app/publisher.h"
#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

TEST(Publisher, AnyVersionTextIsSentAsItIsAsOneQueryValue) {
    const QString changed = QStringLiteral("2.0 测试&x=#1");
    const QUrl url(app::publisherPageUrl(changed));
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.host(), QStringLiteral("www.example.com"));
    EXPECT_EQ(url.path(), QStringLiteral("/"));
    EXPECT_EQ(QUrlQuery(url).queryItemValue(QStringLiteral("qq"), QUrl::FullyDecoded), changed);
    EXPECT_TRUE(url.fragment().isEmpty());
}

// Calculators are looked for on a PATH that holds only the test's folder.
class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        mOldPath = qgetenv("PATH");
        qputenv("PATH", mBin.path().toLocal8Bit());
        platform::setProgramStarter([this](const QString& program) { mStarted << program; });
    }
    void TearDown() override {
        qputenv("PATH", mOldPath);
        platform::setProgramStarter({});
    }
    QString addProgram(const QString& name, bool executable = true) {
        const QString path = QDir(mBin.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir mBin;
    QByteArray mOldPath;
    QStringList mStarted;
};

TEST_F(Shell, NoCalculatorStartsNothing) {
    addProgram(QStringLiteral("gnome-calculator"), false); // not executable
    EXPECT_TRUE(platform::findCalculator().isEmpty());
    platform::startCalculator();
    EXPECT_TRUE(mStarted.isEmpty());
}

TEST_F(Shell, StartsTheFirstCalculatorInOrderOnEveryCall) {
    addProgram(QStringLiteral("xcalc"));
    const QString kcalc = addProgram(QStringLiteral("kcalc"));
    platform::startCalculator();
    platform::startCalculator();
    EXPECT_EQ(mStarted, (QStringList{kcalc, kcalc}));
}

} // namespace
