#include "letter_pictures.h"
#include "skin_packages.h"

#include "skin/data/skin_paint.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

using namespace skin;

namespace {

SkinColor colourOf(QRgb pixel) {
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

} // namespace

TEST(SkinColourValue, ReadsRedGreenAndBlueFromRunsOfDigits) {
    struct Case {
        const char* text;
        SkinColor expected;
    } cases[] = {
        {"245 245 245", rgb(245, 245, 245)},
        {"  10, 20 ,30  ", rgb(10, 20, 30)},
        {"10 20", rgb(10, 0, 0)}, // the second run ends the text: red only
        {"200", rgb(0, 0, 0)},    // a lone run at the end is not blue
        {"1 2 3 4", rgb(1, 2, 3)},
        {"300 256 511", rgb(44, 0, 255)}, // low 8 bits
        {"r=7;g=8;b=9", rgb(7, 8, 9)},
    };
    for (const Case& c : cases) {
        SkinColor colour = -5;
        EXPECT_TRUE(ParseSkinColour(QString::fromLatin1(c.text), colour)) << c.text;
        EXPECT_EQ(colour, c.expected) << c.text;
    }
    SkinColor untouched = -5;
    EXPECT_FALSE(ParseSkinColour(QStringLiteral("   "), untouched));
    EXPECT_EQ(untouched, -5);
}

TEST(SkinElements, ExistOnlyWithAnImageKeyAndIgnoreOtherSections) {
    auto data = loadSkin(QStringLiteral("[Skins]\nImage=a.bmp\n[MinCaption]\nImage=a.bmp\n"
                                        "[MenuItem]\nImage=\nLeftWidth=3\nFrame=2\n"
                                        "[GroupBoxEdge]\nImage=missing.bmp\nLeftWidth=2\n"));
    ASSERT_TRUE(data->skinLoaded());
    EXPECT_EQ(data->element(SkinElement::MenuItem), nullptr);
    // A named bitmap that the package lacks still makes the element, with no picture.
    TDataSkinObject* edge = data->element(SkinElement::GroupBoxEdge);
    ASSERT_NE(edge, nullptr);
    EXPECT_TRUE(edge->Image.isNull());
    EXPECT_EQ(edge->LeftWidth, 2);
    EXPECT_EQ(edge->FrameCount, 2);
    EXPECT_EQ(edge->Name, QStringLiteral("GroupBoxEdge"));

    // A second load frees what the first made.
    readStream(*data, skinStream(packSkin(QStringLiteral("[Colours]\n"))));
    EXPECT_EQ(data->element(SkinElement::GroupBoxEdge), nullptr);
}

TEST(SkinElements, SetTheirFrameCountsAndClamps) {
    auto data =
        loadSkin(QStringLiteral("[Headerbar]\nImage=h.bmp\nframe=4\n"
                                "[MenuItem]\nImage=h.bmp\nFrame=3\n"
                                "[Tab.Pane]\nImage=h.bmp\nLeftWidth=6\nTopHeight=4\nRightWidth=5\n"
                                "BottomHeight=-2\nTile=2\n"
                                "[HorzScrollThumb]\nImage=h.bmp\n[VertScrollThumb]\nImage=h.bmp\n"
                                "FrameCount=2\n"
                                "[Progress]\nBitmap=h.bmp\nStyle=1\nTile=7\n"
                                "[Progress.Chunk]\nImage=h.bmp\nFrame=7\n"
                                "[Tabs]\nImage=h.bmp\nFrame=9\nBorder=b.bmp\n"
                                "[Personality]\nmenuBar=h.bmp\nTileMenu=3\n"
                                "[StatusBarEdges]\nImage=h.bmp\nTile=1\nTrans=1\n"),
                 {{"h.bmp", plain(20, 10)}, {"b.bmp", plain(3, 3)}});
    EXPECT_EQ(data->element(SkinElement::Headerbar)->FrameCount, 4);
    EXPECT_EQ(data->element(SkinElement::MenuItem)->FrameCount, 5);
    const TDataSkinObject* pane = data->element(SkinElement::TabPane);
    EXPECT_EQ(pane->margins(), (Margins{4, 4, 4, -2}));
    EXPECT_EQ(pane->Tile, 0); // the standard reading turns a Tile above 1 into 0
    EXPECT_EQ(pane->FrameCount, 1);
    EXPECT_EQ(data->element(SkinElement::HorzScrollThumb)->FrameCount, 3);
    EXPECT_EQ(data->element(SkinElement::VertScrollThumb)->FrameCount, 2);
    const TDataSkinObject* progress = data->element(SkinElement::Progress);
    EXPECT_EQ(progress->FrameCount, 1);
    EXPECT_EQ(progress->Tile, 1); // Progress turns it into 1
    EXPECT_EQ(data->element(SkinElement::ProgressChunk)->FrameCount, 7);
    const TDataSkinBorder* tabs = data->borderElement(SkinElement::Tabs);
    EXPECT_EQ(tabs->FrameCount, 5);
    EXPECT_EQ(tabs->Image2.size(), QSize(3, 3));
    const TDataSkinObject* menuBar = data->element(SkinElement::MenuBar);
    EXPECT_EQ(menuBar->Tile, 1);
    EXPECT_EQ(menuBar->margins(), (Margins{1, 0, 1, 0}));
    EXPECT_EQ(menuBar->FrameCount, 2);
    const TDataSkinObject* edges = data->element(SkinElement::StatusBarEdges);
    EXPECT_EQ(edges->Tile, 1);
    EXPECT_EQ(edges->Trans, 1);
    EXPECT_EQ(edges->FrameCount, 3);
    EXPECT_EQ(edges->NormalColour, -1);
    EXPECT_EQ(edges->NormalColour2, data->colour(colour::ButtonText));
}

TEST(SkinElements, FindBitmapsByFileNameEndingInLowercaseBmp) {
    auto data = loadSkin(QStringLiteral("[Personality]\nLeft=skins\\FrameLeft.bmp\n"
                                        "Right=FrameLeft.BMP\nTop=FrameLeft\n"),
                         {{"FrameLeft.bmp", plain(8, 100)}});
    EXPECT_EQ(data->border(TSkinData::Left)->Image.size(), QSize(8, 100));
    EXPECT_TRUE(data->border(TSkinData::Right)->Image.isNull());
    EXPECT_TRUE(data->border(TSkinData::Top)->Image.isNull());
}

TEST(SkinElements, BordersReadTheirKeysAndGiveTheFrameColour) {
    QImage top = plain(142, 50, qRgb(1, 1, 1));
    top.setPixel(142 / 3, 25 / 3, qRgb(30, 60, 90));
    auto data = loadSkin(QStringLiteral("[Personality]\nTop=top.bmp\nTopTopHeight=20\n"
                                        "TopBotHeight=30\nTopFrame=2\nTopStretch=5\n"
                                        "Left=left.bmp\nLeftTopHeight=7\nLeftBotHeight=9\n"
                                        "LeftTrans=0\n"),
                         {{"top.bmp", top}, {"left.bmp", plain(8, 100)}});
    const TDataSkinBorder* t = data->border(TSkinData::Top);
    EXPECT_EQ(t->margins(), (Margins{20, 0, 30, 0}));
    EXPECT_EQ(t->FrameCount, 2);
    EXPECT_EQ(t->Tile, 1);
    EXPECT_EQ(t->Trans, 1);
    const TDataSkinBorder* l = data->border(TSkinData::Left);
    EXPECT_EQ(l->margins(), (Margins{0, 7, 0, 9}));
    EXPECT_EQ(l->FrameCount, 1);
    EXPECT_EQ(l->Trans, 0);
    EXPECT_EQ(data->colour(colour::Frame), rgb(30, 60, 90));

    // Without a Top picture the frame colour is the button face.
    auto bare = loadSkin(QStringLiteral("[Colours]\nButtonFace=5 6 7\n"));
    EXPECT_EQ(bare->colour(colour::Frame), rgb(5, 6, 7));
}

TEST(SkinElements, CaptionButtonsCountFramesFromTheirPictures) {
    const QString description = QStringLiteral(
        "[Buttons]\nBitmap=b.bmp\n[BUTTON.RADIO]\nButtonImage=wide.bmp\n"
        "[ButtonClose]\nAction=0\nButtonImage=wide.bmp\n"
        "[ButtonMax]\nAction=1\nVisibility=2\nXcoord=40\nYcoord=5\nButtonImage=narrow.bmp\n"
        "[ButtonRestore]\nAction=4\nXcoord=99\nButtonImage=narrow.bmp\nframe=2\n"
        "[ButtonHidden]\nAction=-1\nButtonImage=wide.bmp\n"
        "[ButtonShown]\nAction=-1\nVisibility=0\nButtonImage=narrow.bmp\n"
        "[ButtonIcon]\nAction=3\nButtonImage=narrow.bmp\n"
        "[MDICONTROLS]\nImage=mdi.bmp\n");
    auto data = loadSkin(
        description,
        {{"wide.bmp", plain(108, 18)}, {"narrow.bmp", plain(54, 18)}, {"mdi.bmp", plain(96, 7)}});
    const auto& buttons = data->captionButtons();
    ASSERT_EQ(buttons.size(), 8u);
    QStringList names;
    for (const auto& button : buttons)
        names << button->Name;
    EXPECT_EQ(names, QStringList({"BUTTONCLOSE", "BUTTONMAX", "BUTTONRESTORE", "BUTTONSHOWN",
                                  "BUTTONICON", "MDIBUTTON7", "MDIBUTTON8", "MDIBUTTON9"}));
    EXPECT_EQ(buttons[0]->FrameCount, 6); // 108 × 18
    EXPECT_EQ(buttons[1]->FrameCount, 3); // 54 × 18
    EXPECT_EQ(buttons[2]->FrameCount, 2); // given
    EXPECT_EQ(buttons[2]->Xcoord, 40);    // taken from the maximize button
    EXPECT_EQ(buttons[2]->Ycoord, 5);
    EXPECT_EQ(buttons[3]->FrameCount, 6); // a negative action has 6 anyway
    EXPECT_EQ(buttons[3]->Visibility1, -1);
    EXPECT_EQ(buttons[0]->Visibility1, 0);
    EXPECT_EQ(buttons[0]->CombineOp, -1);
    EXPECT_TRUE(buttons[4]->Image.isNull()); // the system-menu icon keeps no picture
    EXPECT_EQ(buttons[4]->FrameCount, 3);
    for (int k = 0; k < 3; ++k) {
        const TDataSkinSysButton& mdi = *buttons[5 + k];
        EXPECT_EQ(mdi.Action, 7 + k);
        EXPECT_EQ(mdi.Align, 100);
        EXPECT_EQ(mdi.Visibility1, 100);
        EXPECT_EQ(mdi.FrameCount, 4);
        EXPECT_EQ(mdi.Image.size(), QSize(32, 7)); // a = 96 ÷ 12 = 8
        EXPECT_EQ(mdi.Xcoord, 12 * (3 - k));
    }
}

TEST(SkinElements, ButtonsCountCheckAndRadioFrames) {
    auto data = loadSkin(
        QStringLiteral("[Buttons]\nBitmap=b.bmp\nCheckButton=check.bmp\n"
                       "RadioButton=radio.bmp\nTile=3\nNormalColour=0x10\n"
                       "PressedColour2=1 2 3\n"),
        {{"b.bmp", plain(30, 20)}, {"check.bmp", plain(156, 13)}, {"radio.bmp", plain(40, 20)}});
    const TDataSkinButton* b = data->buttons();
    EXPECT_EQ(b->FrameCount, 5);
    EXPECT_EQ(b->CheckButtonFrame, 12); // 156 ÷ 13
    EXPECT_EQ(b->RadioButtonFrame, 4);  // 40 ÷ 16 = 2, raised to 4
    EXPECT_EQ(b->Tile, 0);
    EXPECT_EQ(b->NormalColour, 16);
    EXPECT_EQ(b->MouseOverColour, -1);
    EXPECT_TRUE(b->PressedColour2Given);
    EXPECT_FALSE(b->NormalColour2Given);
    EXPECT_EQ(b->PressedColour2, rgb(1, 2, 3));
    EXPECT_EQ(b->NormalColour2, data->colour(colour::ButtonText));
}

TEST(SkinElements, TitleReadsItsSettingsAndTextColours) {
    auto data = loadSkin(QStringLiteral("[Personality]\nTextShift=5\nTextShiftVert=2\n"
                                        "TextRightClip=70\nTextAlignment=1\n"
                                        "ActiveTextR=255\nActiveTextG=300\nActiveTextB=1\n"
                                        "InActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=1\n"
                                        "[Fonts]\nFontHeight=12\n"));
    TDataSkinTitle* title = data->title();
    EXPECT_EQ(title->TextShift(), 5);
    EXPECT_EQ(title->TextShiftVert(), 2);
    EXPECT_EQ(title->TextRightClip(), 70);
    EXPECT_EQ(title->TextAlignment, 1);
    EXPECT_EQ(title->FontHeight, 12);
    EXPECT_EQ(title->FrameCount, 2);
    EXPECT_EQ(title->ActiveTextColour, rgb(255, 300 & 0xFF, 1));
    EXPECT_EQ(title->InactiveTextColour, NoColour);
}

TEST(SkinColours, FallBackToSystemColoursAndTheSkinsButtonFace) {
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Light, QColor(1, 2, 3));    // button highlight
    palette.setColor(QPalette::Active, QPalette::Midlight, QColor(4, 5, 6)); // 3-D light
    QGuiApplication::setPalette(palette);
    auto data = loadSkin(QStringLiteral("[Colours]\nButtonFace=200 190 180\nMenu=\n"
                                        "[Colour1]\ncolor=9 8 7\n[ColourNone]\n[Colours2]\n"
                                        "color=1 1 1\n[Customcolors]\nColor3=4 4 4\n"));
    QGuiApplication::setPalette(saved);
    EXPECT_EQ(data->colour(colour::Buttonlight), rgb(1, 2, 3));
    EXPECT_FALSE(data->colourGiven(colour::Buttonlight));
    EXPECT_EQ(data->colour(colour::Menubar), rgb(200, 190, 180));
    EXPECT_TRUE(data->colourGiven(colour::ButtonFace));
    EXPECT_FALSE(data->colourGiven(colour::Menu));
    EXPECT_EQ(data->buttonFaceBrush().color(), QColor(200, 190, 180));
    ASSERT_EQ(data->extraColours().size(), 3u);
    EXPECT_EQ(data->extraColours()[0], rgb(9, 8, 7));
    EXPECT_EQ(data->extraColours()[2], rgb(1, 1, 1));
    EXPECT_EQ(data->customColours()[3], rgb(4, 4, 4));
    EXPECT_EQ(data->customColours()[0], rgb(255, 255, 255));
}

TEST(DerivedElements, TrackFallbacksAreTheProgramsPictures) {
    auto data =
        loadSkin(QStringLiteral("[TRACKVERT]\nImage=v.bmp\nFrame=2\n"), {{"v.bmp", plain(8, 8)}});
    const TDataSkinObject* track = data->element(SkinElement::Track);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(lettersOf(track->Image).size(), 4);
    EXPECT_EQ(track->Image.pixel(0, 0) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(track->Image.pixel(2, 0) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(track->Image.pixel(15, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(track->Image.pixel(0, 2) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(track->margins(), (Margins{3, 3, 3, 3}));
    EXPECT_EQ(track->FrameCount, 1);
    EXPECT_EQ(data->element(SkinElement::TrackVert)->Image.size(), QSize(8, 8));
    EXPECT_EQ(data->element(SkinElement::TrackVert)->FrameCount, 2);
    EXPECT_EQ(TrackVertBitmap().size(), QSize(4, 16));
    EXPECT_EQ(TrackVertBitmap().pixel(0, 2) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(TrackVertBitmap().pixel(0, 15) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(DerivedElements, ComboButtonAndSunkEdgeMakeTheComboStrip) {
    // Four frames of a sunk edge: letters E..H with a one-pixel rim of 'r'.
    QImage sunk(40, 10, QImage::Format_RGB32);
    for (int n = 0; n < 4; ++n) {
        QPainter p(&sunk);
        p.fillRect(10 * n, 0, 10, 10, QColor(letterColour('r')));
        p.fillRect(10 * n + 1, 1, 8, 8, QColor(letterColour("EFGH"[n])));
    }
    // Four frames of a combo button, each with a left and a right half.
    const QImage combo = letters({"aaAAbbBBccCCddDD", "aaAAbbBBccCCddDD", "aaAAbbBBccCCddDD"});
    auto data = loadSkin(QStringLiteral("[SunkEdge]\nImage=sunk.bmp\nLeftWidth=1\nRightWidth=1\n"
                                        "TopHeight=1\nBottomHeight=1\n"
                                        "[ComboButton]\nImage=combo.bmp\n"),
                         {{"sunk.bmp", sunk}, {"combo.bmp", combo}});
    const int w = TSkinData::scrollArrowWidth() + 2;
    TDataSkinBorder* button = data->borderElement(SkinElement::ComboButton);
    TDataSkinObject* edge = data->element(SkinElement::SunkEdge);
    ASSERT_TRUE(button && edge);
    EXPECT_EQ(button->Style, 2);
    EXPECT_EQ(button->margins(), (Margins{2, 1, w + 2, 1}));
    EXPECT_EQ(edge->margins(), (Margins{w + 2, 1, 2, 1}));
    ASSERT_EQ(button->Image.size(), QSize(200, 21));
    // Cell 3: rim, the cleared middle, the button's third frame at the right.
    const QStringList cell = lettersOf(button->Image.copy(100, 0, 50, 21));
    EXPECT_EQ(cell[0][0], u'r');
    EXPECT_EQ(cell[1][1], u'G');
    EXPECT_EQ(cell[5][10], u'M');
    EXPECT_EQ(cell[5][49 - w], u'G');
    EXPECT_EQ(cell[10][50 - w], u'c');
    EXPECT_EQ(cell[10][49], u'C');
    // The sunk edge holds the same strip with every cell mirrored in its place,
    // so that its frame n still shows state n.
    ASSERT_EQ(edge->Image.size(), button->Image.size());
    for (int x = 0; x < 200; ++x)
        EXPECT_EQ(edge->Image.pixel(x, 10), button->Image.pixel(50 * (x / 50) + 49 - x % 50, 10))
            << x;
    // The combo button's second picture is its own picture, each frame mirrored.
    EXPECT_EQ(lettersOf(button->Image2)[0], QStringLiteral("AAaaBBbbCCccDDdd"));
    // The arrow: 17 × 17 cells cut from the right end of each combo cell.
    const TDataSkinObject* arrow = data->comboxArrow();
    EXPECT_EQ(arrow->Image.size(), QSize(68, 17));
    EXPECT_EQ(arrow->FrameCount, 4);
    EXPECT_EQ(arrow->Image.pixel(17 * 2 + 8, 8), button->Image.pixel(150 - 19 + 8, 10));
}

TEST(DerivedElements, ComboArrowWithoutSunkEdgeFillsMagentaWithButtonFace) {
    auto data = loadSkin(QStringLiteral("[ComboButton]\nImage=combo.bmp\n"
                                        "[Colours]\nButtonFace=10 20 30\n"),
                         {{"combo.bmp", letters({"aMbM", "MaMb"})}});
    const TDataSkinObject* arrow = data->comboxArrow();
    EXPECT_EQ(arrow->FrameCount, 4);
    EXPECT_EQ(colourOf(arrow->Image.pixel(1, 0)), rgb(10, 20, 30));
    EXPECT_EQ(arrow->Image.pixel(0, 0), letterColour('a'));
}

TEST(DerivedElements, ToolbarIsAGradientFromTheButtonFace) {
    auto data = loadSkin(QStringLiteral("[Colours]\nButtonFace=100 100 100\n"));
    const TDataSkinObject* toolbar = data->toolbar();
    ASSERT_EQ(toolbar->Image.size(), QSize(10, 40));
    EXPECT_EQ(toolbar->FrameCount, 1);
    // Blend(face, white, 150): 15 % face and 85 % white = (100·150 + 255·850 + 500) ÷ 1000.
    EXPECT_EQ(colourOf(toolbar->Image.pixel(5, 0)), rgb(232, 232, 232));
    // The frame colour is the face (no Top picture); its saturation level is 200,
    // above 110, so the bottom is Blend(face, white, 625 ÷ 140 + 50 = 54) = 171.
    // The falling gradient ends one above it: 232 + (19 − 39 × 61) ÷ 39 = 172.
    EXPECT_EQ(colourOf(toolbar->Image.pixel(5, 39)), rgb(172, 172, 172));
}
