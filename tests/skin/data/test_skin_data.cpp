#include "skin_packages.h"

#include "platform/message_box.h"
#include "skin/data/skin_manager_link.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace skin;
using Type = TSkinControlType;

namespace {

const QString SmallSkin = QStringLiteral("[TitlebarSkin]\nSkinName=Test\n");

class SkinDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        destroySkinManager();
        platform::setMessageBoxAnswerer([this](const QString& text, const QString&, unsigned) {
            messages << text;
            return platform::IdOk;
        });
    }
    void TearDown() override {
        platform::setMessageBoxAnswerer({});
        data.reset();
        destroySkinManager();
    }

    QStringList calls() const {
        auto* recorder = dynamic_cast<TRecordingSkinManager*>(skinManager());
        return recorder ? recorder->calls : QStringList();
    }

    // The form is read: Active first, then the stored package, then Loaded.
    void readForm(bool active, const QByteArray& stream) {
        data->beginReading();
        data->SetActive(active);
        readStream(*data, stream);
        data->Loaded();
    }

    std::unique_ptr<TSkinData> data = std::make_unique<TSkinData>();
    QStringList messages;
};

} // namespace

TEST_F(SkinDataTest, StartsWithItsPublishedValues) {
    EXPECT_FALSE(data->Active());
    EXPECT_EQ(data->DisableTag, 99);
    TSkinControlTypes expected = TSkinControlTypes::fromBits((1u << 22) - 1);
    expected.exclude(Type::xcMenuItem);
    expected.exclude(Type::xcFastReport);
    EXPECT_EQ(data->SkinControls, expected);
    EXPECT_EQ(data->Options.bits(), (1u << 3) | (1u << 6) | (1u << 10));
    EXPECT_EQ(data->SkinFormtype, TSkinFormType::sfMainform);
    EXPECT_EQ(data->Version(), QStringLiteral("5.40.07.15"));
    EXPECT_TRUE(data->MenuUpdate);
    EXPECT_FALSE(data->MenuMerge);
    EXPECT_TRUE(data->SkinFile().isEmpty());
    EXPECT_FALSE(data->skinLoaded());

    const QStringList& lines = data->Skin3rd;
    ASSERT_EQ(lines.size(), 118);
    EXPECT_EQ(lines.first(), QStringLiteral("TCategoryButtons=scrollbar"));
    EXPECT_EQ(lines[48], QStringLiteral("TDBCheckboxEh=Checkbox"));
    EXPECT_EQ(lines[49], QStringLiteral("TDBCheckboxEh=Checkbox"));
    EXPECT_EQ(lines.last(), QStringLiteral("TOVCDBNUMERICFIELD=Edit"));
    EXPECT_EQ(lines.count(QStringLiteral("TLMDFontSizeCombobox=combobox")), 2);
    EXPECT_EQ(lines.count(QStringLiteral("TWWDBCombobox=Combobox")), 2);
    EXPECT_EQ(QSet<QString>(lines.begin(), lines.end()).size(), 115);
    for (const QString& line : lines)
        EXPECT_EQ(line.count(u'='), 1) << qPrintable(line);

    // The four menu glyphs: restore, maximize, minimize, close.
    const QImage& glyphs = data->menuGlyphs();
    ASSERT_EQ(glyphs.size(), QSize(64, 16));
    auto black = [&](int x, int y) { return (glyphs.pixel(x, y) & 0xFFFFFF) == 0; };
    EXPECT_TRUE(black(16 + 3, 3) && black(16 + 12, 4) && black(16 + 3, 12));
    EXPECT_FALSE(black(16 + 5, 6)); // inside the maximize outline
    EXPECT_TRUE(black(32 + 4, 7) && black(32 + 10, 8));
    EXPECT_FALSE(black(32 + 11, 8) || black(32 + 4, 9));
    EXPECT_TRUE(black(48 + 4, 4) && black(48 + 11, 11) && black(48 + 11, 4));
    EXPECT_FALSE(black(48 + 7, 4));
    EXPECT_TRUE(black(2, 5) && black(13, 2)); // the front and the back window
}

TEST_F(SkinDataTest, VersionAndSkinStoreIgnoreAssignments) {
    data->SetVersion(QStringLiteral("1.0"));
    data->SetSkinStore(QStringLiteral("(Good)"));
    EXPECT_EQ(data->Version(), QStringLiteral("5.40.07.15"));
    EXPECT_EQ(data->SkinStore(), QStringLiteral("(none)"));
    readStream(*data, skinStream(packSkin(SmallSkin)));
    EXPECT_EQ(data->SkinStore(), QStringLiteral("(none)")); // at run time always
    data->setDesigning(true);
    EXPECT_EQ(data->SkinStore(), QStringLiteral("(Good)"));
}

TEST_F(SkinDataTest, SkinStreamIsALengthAndTheBytes) {
    const QByteArray packed = packSkin(SmallSkin);
    readStream(*data, skinStream(packed) + "after");
    EXPECT_TRUE(data->skinLoaded());
    EXPECT_EQ(data->skinName(), QStringLiteral("Test"));
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    data->writeSkinStream(out);
    EXPECT_EQ(written, skinStream(packed));

    // A length of 0 or less reads nothing more.
    for (qint32 length : {0, -7}) {
        TSkinData empty;
        QByteArray stream(4, '\0');
        qToLittleEndian(length, stream.data());
        stream += "rest";
        QBuffer in(&stream);
        in.open(QIODevice::ReadOnly);
        empty.readSkinStream(in);
        EXPECT_EQ(in.pos(), 4);
        EXPECT_TRUE(empty.packedPackage().isEmpty());
        EXPECT_FALSE(empty.skinLoaded());
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SkinDataTest, ActiveWithAnEmptySkinStreamComesUpUnskinned) {
    readForm(true, QByteArray(4, '\0'));
    EXPECT_FALSE(data->Active());
    EXPECT_EQ(calls(), QStringList({"register", "install hook"}));
}

TEST_F(SkinDataTest, ActiveWithASkinAsksTheManagerToStart) {
    readForm(true, skinStream(packSkin(SmallSkin)));
    EXPECT_TRUE(data->Active());
    EXPECT_EQ(calls(), QStringList({"register", "install hook", "request 1 250"}));
    EXPECT_EQ(data->applicationIcon().size(), QSize(16, 16));
    EXPECT_EQ(data->applicationIcon().pixel(0, 0) & 0xFFFFFF, 0xFF00FFu); // no icon: magenta
}

TEST_F(SkinDataTest, AnUnknownPackageShowsTheReadersMessageAndLoadsNothing) {
    QList<skinpack::PackageEntry> entries = {{"skin.ini", "[TitlebarSkin]\nSkinName=Old\n"}};
    readForm(true, skinStream(skinpack::packPackage(entries, 10000)));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_FALSE(data->skinLoaded());
    EXPECT_FALSE(data->Active());
    EXPECT_TRUE(data->skinName().isEmpty());

    // After a good load, a refused package keeps the elements but counts as not loaded.
    readStream(*data, skinStream(packSkin(QStringLiteral("[TitlebarSkin]\nSkinName=Good\n"
                                                         "[MenuItem]\nImage=m.bmp\n"))));
    ASSERT_TRUE(data->skinLoaded());
    readStream(*data, skinStream(skinpack::packPackage(entries, 80000)));
    EXPECT_FALSE(data->skinLoaded());
    EXPECT_EQ(data->skinName(), QStringLiteral("Good"));
    EXPECT_NE(data->element(SkinElement::MenuItem), nullptr);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(SkinDataTest, MainMenuSkinningDecidesWhichMenuKindIsDropped) {
    data->SkinControls.include(Type::xcMenuItem);
    readForm(false, {});
    EXPECT_FALSE(data->SkinControls.contains(Type::xcMenuItem));
    EXPECT_TRUE(data->SkinControls.contains(Type::xcSystemMenu));

    data = std::make_unique<TSkinData>();
    data->SkinControls.exclude(Type::xcMainMenu);
    data->SkinControls.include(Type::xcMenuItem);
    readForm(false, {});
    EXPECT_TRUE(data->SkinControls.contains(Type::xcMenuItem));
    EXPECT_FALSE(data->SkinControls.contains(Type::xcSystemMenu));
    EXPECT_TRUE(data->SkinControls.contains(Type::xcScrollbar)); // scroll-bar info is there
}

TEST_F(SkinDataTest, SetActiveSendsRequestsByFormType) {
    readForm(false, skinStream(packSkin(SmallSkin)));
    data->SetActive(true);
    data->SetActive(true); // unchanged: nothing
    data->SetActive(false);
    EXPECT_EQ(calls().mid(2),
              QStringList({"current", "request 1 250", "started", "current", "request 2 250"}));

    destroySkinManager();
    TSkinData only(nullptr, TSkinFormType::sfOnlyThisForm);
    only.SetActive(true); // no skin loaded: made current, nothing more
    readStream(only, skinStream(packSkin(SmallSkin)));
    only.SetActive(false);
    only.SetActive(true);
    EXPECT_EQ(calls(),
              QStringList({"current", "current", "request 2 250", "current", "request 1 250"}));

    destroySkinManager();
    TSkinData dialog(nullptr, TSkinFormType::sfDialog);
    dialog.SetActive(true);
    EXPECT_TRUE(dialog.Active());
    EXPECT_EQ(skinManager(), nullptr);
}

TEST_F(SkinDataTest, AComponentOnAnotherFormSkinsItsOwner) {
    QWidget form;
    auto* onForm = new TSkinData(&form, TSkinFormType::sfOnlyThisForm);
    onForm->beginReading();
    onForm->SetActive(true);
    onForm->Loaded();
    EXPECT_EQ(calls(), QStringList({"register", "start for form", "skin form"}));
    delete onForm;
    EXPECT_EQ(calls().last(), QStringLiteral("unregister"));
}

TEST_F(SkinDataTest, SkinFileLoadsAnotherPackageAndAsksForARefresh) {
    readForm(true, skinStream(packSkin(SmallSkin)));
    data->SetActive(false);
    data->SetActive(true); // the manager is started now
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("other.skn"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(packSkin(QStringLiteral("[TitlebarSkin]\nSkinName=Other\n")));
    file.close();

    const qsizetype before = calls().size();
    data->SetSkinFile(path);
    EXPECT_EQ(data->skinName(), QStringLiteral("Other"));
    EXPECT_TRUE(data->skinLoaded());
    EXPECT_EQ(calls().mid(before), QStringList({"current", "refresh forms", "request 3 250"}));

    data->SetSkinFile(folder.filePath(QStringLiteral("missing.skn")));
    EXPECT_EQ(data->SkinFile(), folder.filePath(QStringLiteral("missing.skn")));
    EXPECT_EQ(data->skinName(), QStringLiteral("Other"));
    EXPECT_EQ(calls().size(), before + 3);
}

TEST_F(SkinDataTest, MonthCalendarsAreVetoedUnlessTheHandlerDecides) {
    QWidget window;
    bool doSkin = true;
    data->FormSkin(&window, QStringLiteral("SysMonthCal32"), doSkin);
    EXPECT_FALSE(doSkin);
    EXPECT_EQ(data->lastVetoWindow(), &window);
    doSkin = true;
    data->FormSkin(&window, QStringLiteral("TfrPreviewForm"), doSkin);
    EXPECT_TRUE(doSkin);
    data->SkinControls.include(Type::xcFastReport);
    data->FormSkin(&window, QStringLiteral("TfrPreviewForm"), doSkin);
    EXPECT_FALSE(doSkin);

    QStringList asked;
    data->OnFormSkin = [&](TSkinData*, const QString& name, bool&) { asked << name; };
    doSkin = true;
    data->FormSkin(&window, QStringLiteral("SysMonthCal32"), doSkin);
    EXPECT_TRUE(doSkin);
    EXPECT_EQ(asked, QStringList({"SysMonthCal32"}));

    int changed = 0;
    data->OnSkinChanged = [&](TSkinData* sender) { changed += sender == data.get(); };
    data->SkinChanged();
    EXPECT_EQ(changed, 1);
}

TEST_F(SkinDataTest, CaptionHintShowsOnceUntilHidden) {
    data->Options.exclude(TSkinOption::xoCaptionButtonHint);
    data->ShowCaptionHint(QRect(10, 20, 5, 5), QStringLiteral("关闭"));
    EXPECT_FALSE(data->captionHintShown());

    data->Options.include(TSkinOption::xoCaptionButtonHint);
    data->ShowCaptionHint(QRect(10, 20, 5, 5), QStringLiteral("关闭"));
    ASSERT_TRUE(data->captionHintShown());
    QWidget* hint = data->captionHintWindow();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->pos(), QPoint(10, 20));
    data->ShowCaptionHint(QRect(50, 60, 5, 5), QStringLiteral("最大化"));
    EXPECT_EQ(hint->pos(), QPoint(10, 20));

    data->HideCaptionHint();
    EXPECT_FALSE(hint->isVisible());
    data->ShowCaptionHint(QRect(50, 60, 5, 5), QString(600, u'长'));
    EXPECT_LE(hint->width(), 500 + 8);
    EXPECT_EQ(hint->pos(), QPoint(50, 60));
}

TEST(OptionalFunctions, ScrollBarInfoComesFromTheBarItself) {
    EXPECT_TRUE(optional::hasGetScrollBarInfo() && optional::hasTrackMouseEvent() &&
                optional::hasGetComboBoxInfo() && optional::hasDisableProcessWindowsGhosting());
    QScrollBar bar(Qt::Vertical);
    bar.setRange(0, 100);
    bar.setPageStep(10);
    bar.resize(16, 200);
    optional::ScrollBarInfo info;
    ASSERT_TRUE(optional::GetScrollBarInfo(&bar, optional::ObjIdClient, info));
    EXPECT_EQ(info.bar.size(), QSize(16, 200));
    EXPECT_GT(info.lineButton, 0);
    EXPECT_GE(info.thumbTop, info.lineButton);
    EXPECT_GT(info.thumbBottom, info.thumbTop);
    EXPECT_LE(info.thumbBottom, 200 - info.lineButton);
    const int top = info.thumbTop;
    bar.setValue(100);
    ASSERT_TRUE(optional::GetScrollBarInfo(&bar, optional::ObjIdClient, info));
    EXPECT_GT(info.thumbTop, top);
    EXPECT_EQ(info.thumbBottom, 200 - info.lineButton);

    QPlainTextEdit edit;
    ASSERT_TRUE(optional::GetScrollBarInfo(&edit, optional::ObjIdHScroll, info));
    EXPECT_EQ(info.bar.height(), edit.horizontalScrollBar()->height());
    QWidget plain;
    EXPECT_FALSE(optional::GetScrollBarInfo(&plain, optional::ObjIdVScroll, info));
    EXPECT_FALSE(optional::GetScrollBarInfo(&edit, optional::ObjIdClient, info));
}
