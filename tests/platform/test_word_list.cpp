#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/word_list.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::splitWordList;

TEST(WordList, LinesEndAtCrLfOrBothAndEmptyLinesStay) {
    EXPECT_EQ(splitWordList(QStringLiteral("a\r\nb\nc\rd")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitWordList(QStringLiteral("a\n\nb\n")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(splitWordList(QStringLiteral(" a \n")), (QStringList{" a "}));
    EXPECT_TRUE(splitWordList(QString()).isEmpty());
    EXPECT_EQ(splitWordList(QStringLiteral("\r\n")), (QStringList{""}));
}

TEST(WordList, Utf8AndGbkFilesReadTheSame) {
    const QString names = QStringLiteral("张伟\r\n王芳\r\n");
    EXPECT_EQ(platform::decodeWordListBytes(names.toUtf8()), names);
    EXPECT_EQ(platform::decodeWordListBytes("\xEF\xBB\xBF" + names.toUtf8()), names);
    QStringEncoder gbk("GB18030");
    ASSERT_TRUE(gbk.isValid());
    const QByteArray gbkBytes = gbk.encode(names);
    ASSERT_NE(gbkBytes, names.toUtf8());
    EXPECT_EQ(platform::decodeWordListBytes(gbkBytes), names);
}

TEST(WordList, MissingFileThrows) {
    QTemporaryDir dir;
    EXPECT_THROW(platform::loadWordList(dir.filePath(QStringLiteral("none.txt"))),
                 platform::FileError);
    QFile empty(dir.filePath(QStringLiteral("empty.txt")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_TRUE(platform::loadWordList(empty.fileName()).isEmpty());
}

TEST(RegionalFormats, NoLeadingZerosInMonthDayAndHour) {
    const QDateTime t(QDate(2010, 3, 5), QTime(9, 5, 7));
    EXPECT_EQ(platform::regional::dateTimeText(t), QStringLiteral("2010-3-5 9:05:07"));
    EXPECT_EQ(platform::regional::dateTimeText(QDateTime(QDate(2026, 12, 19), QTime(23, 59, 0))),
              QStringLiteral("2026-12-19 23:59:00"));
}

TEST(Clock, PinnedClockGivesLocalAndUtcByItsOffset) {
    platform::Clock::pin(QDateTime(QDate(2009, 2, 14), QTime(0, 30, 0)), 8 * 3600);
    EXPECT_EQ(platform::Clock::nowLocal().date(), QDate(2009, 2, 14));
    const QDateTime utc = platform::Clock::nowUtc();
    EXPECT_EQ(utc.date(), QDate(2009, 2, 13));
    EXPECT_EQ(utc.time(), QTime(16, 30, 0));
    platform::Clock::release();
    EXPECT_FALSE(platform::Clock::pinned());
}

TEST(ErrorBox, FullStopOnlyAfterCharactersThatSortAfterIt) {
    EXPECT_EQ(platform::errorBoxText(QStringLiteral("file is not a database")),
              QStringLiteral("file is not a database."));
    EXPECT_EQ(platform::errorBoxText(QStringLiteral("失败")), QStringLiteral("失败."));
    EXPECT_EQ(platform::errorBoxText(QStringLiteral("code 7")), QStringLiteral("code 7."));
    EXPECT_EQ(platform::errorBoxText(QStringLiteral("done.")), QStringLiteral("done."));
    EXPECT_EQ(platform::errorBoxText(QStringLiteral("really!")), QStringLiteral("really!"));
    EXPECT_EQ(platform::errorBoxText(QStringLiteral("x)")), QStringLiteral("x)"));
    EXPECT_EQ(platform::errorBoxText(QString()), QString());
}
