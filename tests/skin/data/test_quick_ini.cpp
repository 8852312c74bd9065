#include "skin/data/quick_ini.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

TQuickIni iniFrom(QByteArray text) {
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    TQuickIni ini;
    ini.load(&buffer);
    return ini;
}

const QByteArray description = "; skin description\r\n"
                               "Orphan=1\r\n"
                               "[Colours]\r\n"
                               "  Rightwidth = 1  \r\n"
                               "Visibility1=\r\n"
                               "Visibility1=yes\r\n"
                               "Hex=0x10\r\n"
                               "Dollar=$10\r\n"
                               "Pixels=12px\r\n"
                               "Triple=245 245 245\r\n"
                               "Name=MixedCase Value\r\n"
                               "#Hash=ordinary\r\n"
                               "no equals sign\r\n"
                               "\n\r"
                               "[Form]\r\n"
                               "Later=here\r\n"
                               "[colours]\r\n"
                               "Second=not searched\r\n"
                               "[ Spaced ]\r\n"
                               "Inside=1\r\n";

} // namespace

TEST(QuickIni, SectionsAndKeysInAnyCase) {
    const TQuickIni ini = iniFrom(description);
    EXPECT_EQ(ini.readString("colours", "RightWidth", "d"), "1");
    EXPECT_EQ(ini.readString("COLOURS", "rightwidth", "d"), "1");
    EXPECT_EQ(ini.readString("Colours", "Name", "d"), "MixedCase Value");
    EXPECT_EQ(ini.readString("Colours", "#hash", "d"), "ordinary");
    EXPECT_EQ(ini.readString("Missing", "Name", "d"), "d");
    EXPECT_EQ(ini.readString("Colours", "Missing", "d"), "d");
}

TEST(QuickIni, FirstKeyAndFirstSectionWin) {
    const TQuickIni ini = iniFrom(description);
    // The first Visibility1 is empty: the default, though a later one has a value.
    EXPECT_EQ(ini.readString("Colours", "Visibility1", "default"), "default");
    // Only the first [colours] is searched, and keys after [Form] are not in it.
    EXPECT_EQ(ini.readString("Colours", "Second", "d"), "d");
    EXPECT_EQ(ini.readString("Colours", "Later", "d"), "d");
    EXPECT_EQ(ini.readString("Form", "Later", "d"), "here");
    // Entries before the first header, and lines without "=", are never found.
    EXPECT_EQ(ini.readString("", "Orphan", "d"), "d");
    EXPECT_EQ(ini.readString("Colours", "no equals sign", "d"), "d");
}

TEST(QuickIni, SpacesInsideBracketsBelongToTheName) {
    const TQuickIni ini = iniFrom(description);
    EXPECT_EQ(ini.sectionLine("Spaced"), -1);
    EXPECT_EQ(ini.readString(" spaced ", "Inside", "d"), "1");
    QStringList names = {"stale"};
    ini.sectionNames(&names);
    EXPECT_EQ(names, QStringList({"Colours", "Form", "colours", "Spaced"}));
}

TEST(QuickIni, Integers) {
    const TQuickIni ini = iniFrom(description);
    EXPECT_EQ(ini.readInteger("Colours", "Hex", -1), 16);
    EXPECT_EQ(ini.readInteger("Colours", "Dollar", -1), 16);
    EXPECT_EQ(ini.readInteger("Colours", "Pixels", -1), -1);
    EXPECT_EQ(ini.readInteger("Colours", "Triple", -1), -1);
    EXPECT_EQ(ini.readInteger("Colours", "Visibility1", 7), 7);
    EXPECT_EQ(ini.readInteger("Colours", "RightWidth", -1), 1);
}

TEST(QuickIni, IntegerForms) {
    struct Case {
        const char* text;
        qint32 expected; // 99 stands for "does not convert"
    };
    const Case cases[] = {
        {"-12", -12},
        {"+7", 7},
        {"0X1f", 31},
        {"0x", 99},
        {"$", 99},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$100000000", 99},
        {"2147483647", 2147483647},
        {"2147483648", 99},
        {"-2147483648", -2147483647 - 1},
        {"1.5", 99},
        {"0x0x1", 99},
        {"12 ", 12}, // values are trimmed
    };
    for (const Case& c : cases) {
        const TQuickIni ini = iniFrom(QByteArray("[s]\nk=") + c.text + "\n");
        EXPECT_EQ(ini.readInteger("s", "k", 99), c.expected) << c.text;
    }
}

TEST(QuickIni, LinesCommentsAndTheEndOfText) {
    const TQuickIni ini = iniFrom(QByteArray("[a]\n\t;comment\r\r\n  x = 1 \x01\n[b]\0[c]\n", 34));
    EXPECT_EQ(ini.lines(), QStringList({"[a]", "x = 1", "[b]"}));
    EXPECT_EQ(ini.sectionLine("B"), 2);
    EXPECT_EQ(ini.sectionLine("c"), -1);
}

TEST(QuickIni, LoadReadsFromThePositionAndNullKeepsTheContent) {
    QByteArray text = "[skipped]\n[s]\nk=v\n";
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(10);
    TQuickIni ini;
    ini.load(&buffer);
    EXPECT_EQ(ini.sectionLine("skipped"), -1);
    EXPECT_EQ(ini.readString("s", "k", "d"), "v");
    ini.load(nullptr);
    EXPECT_EQ(ini.readString("s", "k", "d"), "v");
}

TEST(QuickIniDeathTest, SectionNamesNeedsATarget) {
    const TQuickIni ini = iniFrom("[a]\n");
    EXPECT_DEATH(ini.sectionNames(nullptr), "The parameter Strings is unassigned!");
}
