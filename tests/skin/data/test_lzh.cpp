#include "lzh_helpers.h"
#include "skin-pack/lzhuf_encoder.h"
#include "skin/data/lzhuf_tree.h"

#include <gtest/gtest.h>

#include <random>

using namespace skin::lzhuf;

namespace {

qint32 statedSize(const QByteArray& packed) {
    return static_cast<qint32>(static_cast<quint8>(packed[0]) |
                               static_cast<quint8>(packed[1]) << 8 |
                               static_cast<quint8>(packed[2]) << 16 |
                               static_cast<quint32>(static_cast<quint8>(packed[3])) << 24);
}

void expectRoundTrip(const QByteArray& original) {
    const QByteArray packed = skinpack::lzhufCompress(original);
    const QByteArray unpacked = lzhDecode(packed);
    EXPECT_EQ(statedSize(packed), original.size());
    EXPECT_EQ(unpacked.size(), statedSize(packed));
    EXPECT_TRUE(unpacked == original) << "first of " << original.size() << " bytes differ";
}

// Text shaped like a skin description, with many repeated keys.
QByteArray descriptionText(int sections) {
    QByteArray text;
    for (int s = 0; s < sections; ++s) {
        text += "[Button" + QByteArray::number(s) + "]\r\n";
        text += "Picture=Button" + QByteArray::number(s % 7) + ".bmp\r\n";
        text += "LeftWidth=" + QByteArray::number(s % 13) +
                "\r\nColor=" + QByteArray::number(s * 7919 % 255) + " 245 245\r\n";
    }
    return text;
}

} // namespace

TEST(LzhRoundTrip, EmptyAndSingleByte) {
    expectRoundTrip({});
    EXPECT_EQ(skinpack::lzhufCompress({}).size(), 4);
    expectRoundTrip("x");
    expectRoundTrip(QByteArray(1, '\0'));
}

TEST(LzhRoundTrip, RunsUseLongestCopiesAtDistanceZero) {
    // 6000 equal bytes fit only in copies of 60 from the byte just written.
    const QByteArray run(6000, 'a');
    expectRoundTrip(run);
    EXPECT_LT(skinpack::lzhufCompress(run).size(), 6000 / 60 * 3);
    expectRoundTrip(QByteArray(61, '\xFF') + QByteArray(3, 'b') + QByteArray(200, '\0'));
}

TEST(LzhRoundTrip, LeadingSpacesCopyFromTheInitialFill) {
    const QByteArray text = QByteArray(300, ' ') + "Caption=Top" + QByteArray(70, ' ') + "end";
    expectRoundTrip(text);
    // The 300 spaces cost five copies, not 300 literals.
    EXPECT_LT(skinpack::lzhufCompress(text).size(), 60);
}

TEST(LzhRoundTrip, PastTheTreeRebuilds) {
    // Random bytes are all literals: 200 000 symbols pass several rebuilds.
    expectRoundTrip(randomBytes(200'000, 7));
    expectRoundTrip(descriptionText(4000));
    // Copies reaching the far end of the ring.
    const QByteArray block = randomBytes(4090, 11);
    expectRoundTrip(block + "xyz" + block + block.left(100));
}

TEST(LzhRoundTrip, ManySmallRandomInputs) {
    std::mt19937 generator(3);
    for (int round = 0; round < 200; ++round) {
        // Few distinct bytes make short copies at every distance.
        const int size = static_cast<int>(generator() % 3000);
        const int alphabet = 1 + static_cast<int>(generator() % 4);
        QByteArray input(size, Qt::Uninitialized);
        for (char& c : input)
            c = static_cast<char>(' ' + generator() % alphabet);
        expectRoundTrip(input);
    }
}

// Streams made by hand from the starting tree: node k's parent is
// 314 + k / 2, so symbol 'A' (node 65) is coded by the parities of
// 625 623 619 610 592 557 487 346 65: 1 1 1 0 0 1 1 0 1.
TEST(LzhHandStreams, FirstLiteral) {
    EXPECT_EQ(lzhDecode(handStream(1, {0xE6, 0x80})), "A");
}

// Symbol 313 (a copy of 60) is coded 11000101; distance 100 has upper bits 1,
// coded 0010, and lower bits 100100. The copy reads the initial spaces.
TEST(LzhHandStreams, CopyReadsInitialSpacesAndIsWrittenWhole) {
    EXPECT_EQ(lzhDecode(handStream(60, {0xC5, 0x29, 0x00})), QByteArray(60, ' '));
    // A stated size of 1 still gets the whole copy.
    EXPECT_EQ(lzhDecode(handStream(1, {0xC5, 0x29, 0x00})), QByteArray(60, ' '));
}

TEST(LzhHandStreams, SizeZeroOrNegativeReadsNothingMore) {
    for (qint32 size : {0, -1, -2147483647 - 1}) {
        qint64 position = -1;
        EXPECT_TRUE(lzhDecode(handStream(size, {0xE6, 0x80, 0x12}), &position).isEmpty());
        EXPECT_EQ(position, 4) << size;
    }
}

TEST(LzhHandStreams, CutStreamStillGivesTheStatedSize) {
    const QByteArray original = descriptionText(200);
    const QByteArray packed = skinpack::lzhufCompress(original);
    const QByteArray cut = packed.left(packed.size() / 2);
    const QByteArray unpacked = lzhDecode(cut);
    ASSERT_GE(unpacked.size(), original.size());
    EXPECT_LE(unpacked.size(), original.size() + MaxMatch - 1);
    // What the remaining bits coded comes out right.
    EXPECT_TRUE(unpacked.startsWith(original.left(original.size() / 4)));
    // Nothing but a size: all bits read as zero.
    EXPECT_GE(lzhDecode(handStream(500, {})).size(), 500);
}

TEST(LzhPositionCodes, GroupsOfFirstBytes) {
    struct Group {
        int firstByte, lastByte, firstUpper, lastUpper, length;
    };
    for (const Group& g : {Group{0x00, 0x1F, 0, 0, 3}, Group{0x20, 0x4F, 1, 3, 4},
                           Group{0x50, 0x8F, 4, 11, 5}, Group{0x90, 0xBF, 12, 23, 6},
                           Group{0xC0, 0xEF, 24, 47, 7}, Group{0xF0, 0xFF, 48, 63, 8}}) {
        EXPECT_EQ(positionTables.upper[g.firstByte], g.firstUpper);
        EXPECT_EQ(positionTables.upper[g.lastByte], g.lastUpper);
        EXPECT_EQ(positionTables.length[g.firstByte], g.length);
        EXPECT_EQ(positionTables.length[g.lastByte], g.length);
    }
}

// The sibling property: counts never fall along the node order, every inner
// node counts the sum of its children, and parents and children agree.
void expectSoundTree(const Tree& tree) {
    for (int i = 0; i < TreeSize; ++i) {
        if (i > 0) {
            ASSERT_LE(tree.frequency[i - 1], tree.frequency[i]) << i;
        }
        const int c = tree.child[i];
        if (c >= TreeSize) {
            ASSERT_EQ(tree.parent[c], i);
        } else {
            ASSERT_EQ(tree.parent[c], i);
            ASSERT_EQ(tree.parent[c + 1], i);
            ASSERT_EQ(tree.frequency[i], tree.frequency[c] + tree.frequency[c + 1]) << i;
        }
    }
}

TEST(LzhTree, FirstRebuildHalvesUpward) {
    Tree tree;
    tree.start();
    EXPECT_EQ(tree.frequency[Root], SymbolCount);
    for (int n = 0; n < 32454; ++n)
        tree.update(0);
    EXPECT_EQ(tree.frequency[Root], 0x8000);
    expectSoundTree(tree);
    // Symbol 0 had 32455, the others 1: halved upward 16228 + 313, plus this one.
    tree.update(0);
    EXPECT_EQ(tree.frequency[Root], 16228 + 313 + 1);
    expectSoundTree(tree);
}

TEST(LzhTree, StaysSoundThroughManyUpdates) {
    Tree tree;
    tree.start();
    std::mt19937 generator(5);
    for (int n = 0; n < 100'000; ++n) {
        // Skewed choice, so that some symbols grow deep and others shallow.
        const int symbol = static_cast<int>(generator() % (1 + generator() % SymbolCount));
        tree.update(symbol);
        if (n % 9973 == 0)
            expectSoundTree(tree);
    }
    expectSoundTree(tree);
}
