#include "platform/message_box.h"
#include "skin-pack/lzhuf_encoder.h"
#include "skin-pack/package_writer.h"
#include "skin/data/skin_reader.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

namespace {

void appendInt32(QByteArray& out, qint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// A package laid out by hand, packed by the encoder. The block after the
// header is filled with line breaks and letters, so that a reader that skips
// the wrong number of bytes sees other names.
QByteArray handPackage(qint32 version, int skipped, const QByteArray& directory,
                       const std::vector<qint32>& sizes, const QByteArray& data) {
    QByteArray out;
    appendInt32(out, version);
    appendInt32(out, static_cast<qint32>(directory.size()));
    appendInt32(out, 0x11111111);
    appendInt32(out, 0x22222222);
    for (int i = 0; i < skipped; ++i)
        out.append(i % 2 ? '\n' : 'Q');
    out += directory;
    for (qint32 size : sizes)
        appendInt32(out, size);
    out += data;
    return skinpack::lzhufCompress(out);
}

class SkinReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setMessageBoxAnswerer([this](const QString& text, const QString&, unsigned) {
            messages.append(text);
            return platform::IdOk;
        });
    }
    void TearDown() override { platform::setMessageBoxAnswerer({}); }

    bool load(QByteArray packed) {
        QBuffer buffer(&packed);
        buffer.open(QIODevice::ReadOnly);
        return reader.load(buffer);
    }

    TSkinReader reader;
    QStringList messages;
};

} // namespace

TEST_F(SkinReaderTest, EveryVersionSkipsItsBlock) {
    const struct {
        qint32 version;
        int directoryStart;
    } versions[] = {{20000, 16}, {30000, 272}, {40000, 96}, {50000, 64}, {60000, 133}, {70000, 85}};
    for (const auto& v : versions) {
        ASSERT_TRUE(load(handPackage(v.version, v.directoryStart - 16, "Top.bmp\r\nskin.ini\r\n",
                                     {2, 3}, "ab[x]")))
            << v.version;
        EXPECT_EQ(reader.versionCode(), v.version);
        EXPECT_EQ(reader.directory(), QStringList({"top.bmp", "skin.ini"})) << v.version;
        EXPECT_EQ(reader.extractByName("skin.ini"), "[x]");
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SkinReaderTest, UnknownVersionsAreRefusedWithTheMessage) {
    for (qint32 version : {10000, 80000, 0}) {
        messages.clear();
        EXPECT_FALSE(load(handPackage(version, 0, "a.bmp\r\n", {1}, "a"))) << version;
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages[0], "This is Older Skin File\rPlease update to new version !");
        EXPECT_TRUE(reader.directory().isEmpty());
        EXPECT_TRUE(reader.extractByName("a.bmp").isEmpty());
    }
}

TEST_F(SkinReaderTest, NamesInAnyCaseAndTheFirstOfDuplicates) {
    ASSERT_TRUE(load(skinpack::packPackage(
        {{"FrameLeft.BMP", "left"}, {"close.bmp", "first"}, {"CLOSE.bmp", "second"}})));
    EXPECT_EQ(reader.directory(), QStringList({"frameleft.bmp", "close.bmp", "close.bmp"}));
    EXPECT_EQ(reader.extractByName("FrameLeft.bmp"), "left");
    EXPECT_EQ(reader.extractByName("frameleft.bmp"), "left");
    EXPECT_EQ(reader.extractByName("Close.Bmp"), "first");
    EXPECT_TRUE(reader.extractByName("frameleft").isEmpty());
    EXPECT_TRUE(reader.extractByName("missing.bmp").isEmpty());
}

TEST_F(SkinReaderTest, FragmentsFindTheFirstInDirectoryOrder) {
    ASSERT_TRUE(load(skinpack::packPackage(
        {{"a.bmp", "A"}, {"Skin.INI", "desc"}, {"other.ini", "other"}, {"b.bmp", "B"}})));
    QString name = "untouched";
    EXPECT_EQ(reader.extractByFragment(".ini", name), "desc");
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(reader.extractByFragment(".bmp", name), "A");
    EXPECT_EQ(name, "a.bmp");
    // The fragment is compared as given with the lowercased names.
    name = "untouched";
    EXPECT_TRUE(reader.extractByFragment(".INI", name).isEmpty());
    EXPECT_EQ(name, "untouched");
}

TEST_F(SkinReaderTest, DirectoryLinesAndTheSizesThatFollowThem) {
    // CR LF, a lone LF, an empty line and a lone CR: four entries, the empty
    // one with a size of its own that moves the next entry's start.
    ASSERT_TRUE(
        load(handPackage(70000, 69, "a.bmp\r\nb.bmp\n\rc.bmp\r", {2, 1, 4, 3}, "aabXXXXccc")));
    EXPECT_EQ(reader.directory(), QStringList({"a.bmp", "b.bmp", "", "c.bmp"}));
    EXPECT_EQ(reader.extractByName("b.bmp"), "b");
    EXPECT_EQ(reader.extractByName(""), "XXXX");
    EXPECT_EQ(reader.extractByName("c.bmp"), "ccc");

    // A NUL byte ends the directory text.
    ASSERT_TRUE(
        load(handPackage(70000, 69, QByteArray("a.bmp\r\nb.bmp\0z.bmp\r\n", 20), {1, 2}, "abb")));
    EXPECT_EQ(reader.directory(), QStringList({"a.bmp", "b.bmp"}));
    EXPECT_EQ(reader.extractByName("b.bmp"), "bb");
}

TEST_F(SkinReaderTest, SizesOutsideTheDataAreaGiveNothing) {
    ASSERT_TRUE(load(handPackage(70000, 69, "a\r\nhuge\r\nneg\r\nafter\r\nzero\r\n",
                                 {2, 0x7FFFFFFF, -5, 1, 0}, "aaz")));
    EXPECT_EQ(reader.extractByName("a"), "aa");
    EXPECT_TRUE(reader.extractByName("huge").isEmpty());
    EXPECT_TRUE(reader.extractByName("neg").isEmpty());
    // Starts past the end after the huge size.
    EXPECT_TRUE(reader.extractByName("after").isEmpty());
    EXPECT_TRUE(reader.extractByName("zero").isEmpty());

    // The package ends inside the size table: missing sizes read as 0.
    ASSERT_TRUE(load(handPackage(70000, 69, "a\r\nb\r\nc\r\n", {}, "\x01\x00")));
    EXPECT_EQ(reader.directory().size(), 3);
    EXPECT_TRUE(reader.extractByName("a").isEmpty());
    EXPECT_EQ(reader.dataSize(), 0);
}

TEST_F(SkinReaderTest, DirectoryLongerThanThePackage) {
    // The stated directory length runs past the end: the rest is the directory.
    QByteArray bytes;
    appendInt32(bytes, 20000);
    appendInt32(bytes, 1000000);
    bytes += QByteArray(8, '\0') + "a.bmp\r\nb.bmp";
    ASSERT_TRUE(load(skinpack::lzhufCompress(bytes)));
    EXPECT_EQ(reader.directory(), QStringList({"a.bmp", "b.bmp"}));
    EXPECT_TRUE(reader.extractByName("b.bmp").isEmpty());
}

TEST_F(SkinReaderTest, MoreThanAThousandEntries) {
    QList<skinpack::PackageEntry> entries;
    for (int i = 0; i < 1500; ++i)
        entries.append({QStringLiteral("e%1.bmp").arg(i), QByteArray::number(i)});
    ASSERT_TRUE(load(skinpack::packPackage(entries)));
    EXPECT_EQ(reader.directory().size(), 1500);
    EXPECT_EQ(reader.extractByName("e1000.bmp"), "1000");
    EXPECT_EQ(reader.extractByName("e1499.bmp"), "1499");
}

TEST_F(SkinReaderTest, StatedSizeBeyondWhatThePackedBytesCanHold) {
    // 12 packed bytes cannot unpack to more than 8 × 48; this would otherwise
    // fill two gigabytes with meaningless bytes.
    QByteArray packed;
    appendInt32(packed, 0x7FFFFFFF);
    packed += QByteArray(8, '\x5A');
    EXPECT_FALSE(load(packed));
    EXPECT_TRUE(messages.isEmpty());
    // The largest honest expansion still loads: 6000 equal bytes in copies of 60.
    QByteArray run;
    appendInt32(run, 20000);
    appendInt32(run, 0);
    run += QByteArray(6000, '\0');
    EXPECT_TRUE(load(skinpack::lzhufCompress(run)));
}

TEST_F(SkinReaderTest, EmptyInput) {
    QByteArray nothing;
    EXPECT_FALSE(load(nothing));
    EXPECT_EQ(messages.size(), 1);
}
