#include "app/main_window.h"
#include "app/own_skin.h"
#include "skin/data/lzh.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_reader.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace skin;

TEST(OwnSkin, PackageIsVersion70000AndDecodesToItsStatedSize) {
    QByteArray packed = app::ownSkinPackage();
    ASSERT_GT(packed.size(), 4);
    const qint32 stated = qFromLittleEndian<qint32>(packed.constData());

    QBuffer input(&packed);
    input.open(QIODevice::ReadOnly);
    QByteArray unpacked;
    QBuffer output(&unpacked);
    output.open(QIODevice::ReadWrite);
    TLZH decoder;
    decoder.inputStream = &input;
    decoder.outputStream = &output;
    decoder.decompress();
    EXPECT_EQ(unpacked.size(), stated);
    EXPECT_EQ(qFromLittleEndian<qint32>(unpacked.constData()), 70000);

    TSkinReader reader;
    input.seek(0);
    ASSERT_TRUE(reader.load(input));
    EXPECT_EQ(reader.versionCode(), 70000);
    qint64 sizes = 0;
    for (const QString& name : reader.directory())
        sizes += reader.extractByName(name).size();
    EXPECT_EQ(sizes, reader.dataSize());
    EXPECT_EQ(reader.directory().filter(QStringLiteral(".ini")),
              QStringList({QStringLiteral("marvanto.ini")}));
}

TEST(OwnSkin, MainWindowLoadsItActiveWithEveryElement) {
    destroySkinManager();
    {
        app::MainWindow window;
        const TSkinData& data = *window.skinData();
        EXPECT_TRUE(data.skinLoaded());
        EXPECT_TRUE(data.Active());
        EXPECT_EQ(data.skinName(), QStringLiteral("Marvanto Jade"));
        auto* manager = dynamic_cast<TRecordingSkinManager*>(skinManager());
        ASSERT_NE(manager, nullptr);
        EXPECT_EQ(manager->calls, QStringList({"register", "install hook", "request 1 250"}));

        // The frame proportions the windows are laid out for.
        const QSize borders[4] = {{8, 100}, {8, 100}, {142, 50}, {142, 10}};
        for (int side = 0; side < 4; ++side) {
            EXPECT_EQ(data.border(side)->Image.size(), borders[side]) << side;
            EXPECT_EQ(data.border(side)->FrameCount, 2) << side;
        }
        EXPECT_FALSE(data.title()->Image.isNull());

        QList<int> actions;
        for (const auto& button : data.captionButtons()) {
            actions << button->Action;
            EXPECT_FALSE(button->Image.isNull()) << qPrintable(button->Name);
        }
        EXPECT_EQ(actions, QList<int>({3, 0, 1, 1, 2, 7, 8, 9}));

        const TDataSkinButton* buttons = data.buttons();
        EXPECT_FALSE(buttons->Image.isNull() || buttons->CheckImage.isNull() ||
                     buttons->RadioImage.isNull());
        EXPECT_EQ(buttons->CheckButtonFrame, 12);
        EXPECT_EQ(buttons->RadioButtonFrame, 8);

        const SkinElement expected[] = {
            SkinElement::Progress,        SkinElement::ProgressChunk,  SkinElement::MenuBar,
            SkinElement::GroupBoxEdge,    SkinElement::GroupBox,       SkinElement::Tabs,
            SkinElement::StatusBarEdges,  SkinElement::TabPane,        SkinElement::ComboButton,
            SkinElement::SunkEdge,        SkinElement::ExtraImages,    SkinElement::Headerbar,
            SkinElement::MenuItem,        SkinElement::MenuBackground, SkinElement::Scrollbar,
            SkinElement::HorzScroll,      SkinElement::VertScroll,     SkinElement::HorzScrollThumb,
            SkinElement::VertScrollThumb, SkinElement::UpDownHorz,     SkinElement::UpDownVert};
        for (SkinElement which : expected) {
            const TDataSkinObject* element = data.element(which);
            ASSERT_NE(element, nullptr) << static_cast<int>(which);
            EXPECT_FALSE(element->Image.isNull()) << qPrintable(element->Name);
        }
        for (SkinElement which : {SkinElement::Tabs, SkinElement::UpDownHorz,
                                  SkinElement::UpDownVert, SkinElement::ComboButton})
            EXPECT_FALSE(data.borderElement(which)->Image2.isNull()) << static_cast<int>(which);
        // Frames of equal width: every strip divides by its frame count.
        for (SkinElement which :
             {SkinElement::Scrollbar, SkinElement::MenuItem, SkinElement::ExtraImages,
              SkinElement::StatusBarEdges, SkinElement::HorzScrollThumb, SkinElement::UpDownVert}) {
            const TDataSkinObject* element = data.element(which);
            EXPECT_EQ(element->Image.width() % element->FrameCount, 0) << qPrintable(element->Name);
        }
        for (int index : {colour::WindowText, colour::ButtonFace, colour::Scrollbar,
                          colour::HilightText, colour::Hilight, colour::Menubar, colour::Menu,
                          colour::MenuText, colour::ButtonText, colour::ButtonHilight,
                          colour::Buttonlight, colour::ButtonShadow, colour::ButtonDkShadow,
                          colour::MenuBarText, colour::TitleTextActive, colour::TitleTextNoActive})
            EXPECT_TRUE(data.colourGiven(index)) << index;
        EXPECT_EQ(data.title()->FontHeight, 13);
    }
    destroySkinManager();
}
