#include "app/publisher.h"
#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

TEST(Publisher, PageCarriesTheVersionText) {
    EXPECT_EQ(app::publisherPageUrl(QStringLiteral("1.2.0")),
              QStringLiteral("http://www.example.com/?qq=1.2.0"));
    // A changed version text is sent as it is, as one query value.
    const QString changed = QStringLiteral("2.0 测试&x=#1");
    const QUrl url(app::publisherPageUrl(changed));
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.host(), QStringLiteral("www.example.com"));
    EXPECT_EQ(url.path(), QStringLiteral("/"));
    EXPECT_EQ(QUrlQuery(url).queryItemValue(QStringLiteral("qq"), QUrl::FullyDecoded), changed);
    EXPECT_TRUE(url.fragment().isEmpty());
}

TEST(Publisher, ContactTextHasHeadingAndTwoNumbers) {
    const QStringList lines = app::contactText().split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("联系方式:"));
    for (int i = 1; i < 3; ++i)
        EXPECT_TRUE(lines[i].contains(QRegularExpression(QStringLiteral("\\d{8,}")))) << i;
}

// Calculators are looked for on a PATH that holds only the test's folder.
class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        mOldPath = qgetenv("PATH");
        qputenv("PATH", mBin.path().toLocal8Bit());
        platform::setProgramStarter([this](const QString& program) { mStarted << program; });
        platform::setUrlOpener([this](const QString& url) { mOpened << url; });
    }
    void TearDown() override {
        qputenv("PATH", mOldPath);
        platform::setProgramStarter({});
        platform::setUrlOpener({});
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
    QStringList mOpened;
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

TEST_F(Shell, OpensTheAddressGiven) {
    platform::openUrl(app::publisherPageUrl(QStringLiteral("1.2.0")));
    EXPECT_EQ(mOpened, QStringList{QStringLiteral("http://www.example.com/?qq=1.2.0")});
}

} // namespace
