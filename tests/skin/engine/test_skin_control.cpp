#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/window_info.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace skin;

namespace {

constexpr QRgb Painted = 0xFF123456;

// A small client-painted kind: the whole picture is a fill of one colour.
class TestKind : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    int befores = 0;
    int stateAtUnskin = -1;

    bool BeforeMessage(Message& m) override {
        ++befores;
        TrackMouse(m);
        if (m.msg == wm::Paint) {
            HandlePaint(*this, m);
            return false;
        }
        return TSkinControl::BeforeMessage(m);
    }
    void PaintSkin(QPainter& dc, const QRect& rect) override { dc.fillRect(rect, QColor(Painted)); }
    void Unskin() override {
        stateAtUnskin = SkinState;
        TSkinControl::Unskin();
    }
};

// A button that writes down the private messages its own handler sees.
class Probe : public QPushButton {
public:
    using QPushButton::QPushButton;
    QList<int> seen;

protected:
    bool event(QEvent* e) override {
        if (isSkinMessage(e))
            seen << e->type();
        return QPushButton::event(e);
    }
};

QRgb centreOf(QWidget* w) {
    return w->grab().toImage().pixel(w->width() / 2, w->height() / 2) | 0xFF000000;
}

class SkinControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        mData.setSkinStream(app::ownSkinPackage());
        mWindow.setObjectName(QStringLiteral("TForm9"));
        auto* layout = new QVBoxLayout(&mWindow);
        mButton = new Probe(QStringLiteral("添加"));
        layout->addWidget(mButton);
        mWindow.resize(120, 60);
        mWindow.show();
        mForm.setWindow(&mWindow, 0, QStringLiteral("TForm9"));
        mForm.SetupFrameworkForm(&mData, &mWindow);
    }

    TestKind* attach() {
        auto* kind = new TestKind(mButton);
        kind->Attach(&mForm, &mData, true, nullptr);
        return kind;
    }

    TSkinData mData;
    QWidget mWindow;
    Probe* mButton = nullptr;
    TWinSkinForm mForm{nullptr};
};

} // namespace

TEST_F(SkinControlTest, AttachTakesOverOnceAndPaints) {
    TestKind* kind = attach();
    EXPECT_TRUE(kind->Attached);
    EXPECT_EQ(kind->SkinState, 1);
    EXPECT_EQ(kind->Control, mButton);
    EXPECT_EQ(kind->Handle, mButton);
    EXPECT_EQ(mForm.skinObjects().size(), 1);
    EXPECT_EQ(TSkinControl::skinObjectOf(mButton), kind);
    const QPalette skinned = mButton->palette();
    kind->Attach(&mForm, &mData, false, nullptr);
    EXPECT_TRUE(kind->AdoptColor) << "a second Attach changes nothing";
    EXPECT_EQ(mForm.skinObjects().size(), 1);
    EXPECT_EQ(mButton->palette(), skinned);
    EXPECT_EQ(centreOf(mButton), Painted);
}

TEST_F(SkinControlTest, IsSkinnedIsAnsweredWithoutTheControlSeeingIt) {
    EXPECT_EQ(sendMessage(mButton, SM_ISSKINNED, 0, 0, -1), -1) << "nobody answers yet";
    mButton->seen.clear();
    attach();
    EXPECT_EQ(sendMessage(mButton, SM_ISSKINNED, 0, 0, -1), 1);
    EXPECT_TRUE(mButton->seen.isEmpty());
    // Messages the kind does not take still reach the control.
    sendMessage(mButton, SM_NCREPAINT, 0, 0);
    EXPECT_EQ(mButton->seen, QList<int>{SM_NCREPAINT});
}

TEST_F(SkinControlTest, SetActiveZeroLooksUnskinnedAndOneTakesTheSkinAgain) {
    const QRgb plain = centreOf(mButton);
    ASSERT_NE(plain, Painted);
    const bool plainFill = mButton->autoFillBackground();
    TestKind* kind = attach();
    ASSERT_TRUE(kind->colourTaken());
    EXPECT_EQ(mButton->autoFillBackground(), !plainFill);

    mButton->seen.clear();
    EXPECT_EQ(sendMessage(mButton, SM_SETACTIVE, 0, 0, -1), 0);
    EXPECT_FALSE(kind->Active);
    EXPECT_FALSE(kind->colourTaken());
    EXPECT_FALSE(mButton->testAttribute(Qt::WA_SetPalette));
    EXPECT_EQ(mButton->autoFillBackground(), plainFill);
    EXPECT_EQ(centreOf(mButton), plain);
    const int befores = kind->befores;
    mButton->update();
    EXPECT_EQ(kind->befores, befores) << "an inactive object only forwards";

    EXPECT_EQ(sendMessage(mButton, SM_SETACTIVE, 1, 0, -1), 0);
    EXPECT_TRUE(kind->Active && kind->colourTaken());
    EXPECT_EQ(centreOf(mButton), Painted);
    EXPECT_TRUE(mButton->seen.isEmpty()) << "SM_SETACTIVE never reaches the control";
}

TEST_F(SkinControlTest, MouseOverFollowsTheMouseOnAnEnabledControl) {
    TestKind* kind = attach();
    auto cross = [&](QEvent::Type type) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(mButton, type == QEvent::Enter ? &enter : &leave);
    };
    cross(QEvent::Enter);
    EXPECT_EQ(kind->MouseState, 1);
    kind->MouseState |= 2; // pressed
    cross(QEvent::Leave);
    EXPECT_EQ(kind->MouseState, 0) << "leaving clears over and pressed";
    mButton->setEnabled(false);
    cross(QEvent::Enter);
    EXPECT_EQ(kind->MouseState, 0);
}

TEST_F(SkinControlTest, UnskinGivesColourAndParentBackgroundBackActiveOrNot) {
    const QColor plainColour = mButton->palette().color(mButton->backgroundRole());
    TestKind* kind = attach();
    EXPECT_EQ(PropText(mButton, QStringLiteral("ParentBackground")), QStringLiteral("False"));
    EXPECT_TRUE(kind->ParentBackgroundTaken);
    EXPECT_EQ(kind->Mode, 1);
    EXPECT_EQ(PropInt(mButton, QStringLiteral("Color")),
              ColorToRGB(mData.colour(colour::ButtonFace)));
    kind->Unskin();
    EXPECT_FALSE(kind->Active);
    EXPECT_EQ(PropText(mButton, QStringLiteral("ParentBackground")), QStringLiteral("True"));
    EXPECT_EQ(mButton->palette().color(mButton->backgroundRole()), plainColour);
    EXPECT_FALSE(mButton->testAttribute(Qt::WA_SetPalette));

    // With xoParentBackGround the control's ParentBackground is not touched.
    mData.Options.include(TSkinOption::xoParentBackGround);
    auto* second = new TestKind(mButton);
    second->Attach(&mForm, &mData, true, nullptr);
    EXPECT_FALSE(second->ParentBackgroundTaken);
    EXPECT_EQ(PropText(mButton, QStringLiteral("ParentBackground")), QStringLiteral("True"));
}

TEST_F(SkinControlTest, DestroyingTheControlFirstLeavesNothingBehind) {
    QPointer<TestKind> kind = attach();
    delete mButton;
    mButton = nullptr;
    EXPECT_TRUE(kind.isNull()) << "the object goes with its control";
    EXPECT_TRUE(mForm.skinObjects().isEmpty());
}

TEST_F(SkinControlTest, TheWindowGoingMarksTheObjectReleased) {
    // An object that is not a child of its window (a bare window's object)
    // stays and is tidied by the form.
    auto* kind = new TestKind(&mForm);
    kind->AttachHandle(mButton, &mData, &mForm, nullptr);
    EXPECT_EQ(kind->Caption, QStringLiteral("添加"));
    QPointer<TestKind> alive = kind;
    delete mButton;
    mButton = nullptr;
    ASSERT_FALSE(alive.isNull());
    EXPECT_EQ(kind->SkinState, 6);
    EXPECT_EQ(kind->stateAtUnskin, 6) << "Unskin ran without touching the control";
    mForm.freeReleasedObjects();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
    EXPECT_TRUE(mForm.skinObjects().isEmpty());
}

TEST_F(SkinControlTest, TraversalTakesNothingTwice) {
    int made = 0;
    registerSkinKind(SkinKind::SkinButton, [&](QWidget*, QObject* owner, const ControlDecision&) {
        ++made;
        return new TestKind(owner);
    });
    SkinFormControls(mForm);
    SkinFormControls(mForm);
    registerSkinKind(SkinKind::SkinButton, {});
    EXPECT_EQ(made, 1);
    ASSERT_NE(mForm.decisionFor(mButton), nullptr);
    EXPECT_TRUE(mForm.decisionFor(mButton)->built);
    EXPECT_EQ(mForm.skinObjects().size(), 1);

    // A control answering SM_ISSKINNED for itself is not taken either.
    TWinSkinForm other(nullptr);
    other.setWindow(&mWindow, 0, QStringLiteral("TForm9"));
    other.SetupFrameworkForm(&mData, &mWindow);
    SkinFormControls(other);
    EXPECT_EQ(other.decisionFor(mButton), nullptr);
}

TEST_F(SkinControlTest, ARadioGroupWithTheDisableTagKeepsItsButtonsPlain) {
    auto* group = new QGroupBox(QStringLiteral("付款"));
    group->setProperty("skinClass", QStringLiteral("TRadioGroup"));
    setTag(group, mData.DisableTag);
    auto* buttons = new QVBoxLayout(group);
    auto* cash = new QRadioButton(QStringLiteral("现金"));
    auto* card = new QRadioButton(QStringLiteral("刷卡"));
    buttons->addWidget(cash);
    buttons->addWidget(card);
    mWindow.layout()->addWidget(group);
    SkinFormControls(mForm);
    for (QWidget* w :
         {static_cast<QWidget*>(group), static_cast<QWidget*>(cash), static_cast<QWidget*>(card)}) {
        ASSERT_NE(mForm.decisionFor(w), nullptr);
        EXPECT_EQ(mForm.decisionFor(w)->decision.source, RuleSource::DisableTag);
        EXPECT_EQ(tagOf(w), mData.DisableTag);
    }
    EXPECT_EQ(mForm.decisionFor(mButton)->decision.kind, SkinKind::SkinButton);
}

TEST(SkinControlHelpers, PropertiesByName) {
    QPushButton button(QStringLiteral("确定"));
    EXPECT_EQ(PropInt(&button, QStringLiteral("Tag")), 0);
    SetPropText(&button, QStringLiteral("Tag"), QStringLiteral("7777"));
    EXPECT_EQ(PropInt(&button, QStringLiteral("Tag")), 7777);
    EXPECT_EQ(PropWideText(&button, QStringLiteral("Caption")), QStringLiteral("确定"));
    EXPECT_EQ(PropText(&button, QStringLiteral("Default")), QStringLiteral("False"));
    SetPropText(&button, QStringLiteral("Default"), QStringLiteral("True"));
    EXPECT_TRUE(button.isDefault());
    EXPECT_EQ(PropInt(&button, QStringLiteral("Spacing")), 4);
    EXPECT_EQ(PropInt(&button, QStringLiteral("Margin")), -1);
    EXPECT_EQ(PropText(&button, QStringLiteral("Layout")), QStringLiteral("blGlyphLeft"));
    // Missing: -1, empty text, null; the setter does nothing.
    EXPECT_EQ(PropInt(&button, QStringLiteral("NoSuch")), -1);
    EXPECT_EQ(PropText(&button, QStringLiteral("Caption")), QString()) << "a string, not an enum";
    EXPECT_EQ(PropObject(&button, QStringLiteral("NoSuch"), &QObject::staticMetaObject), nullptr);
    SetPropText(&button, QStringLiteral("NoSuch"), QStringLiteral("1"));
    EXPECT_FALSE(button.property("NoSuch").isValid());
    // Enumerations by their identifier, Qt's own properties included.
    EXPECT_EQ(PropText(&button, QStringLiteral("focusPolicy")), QStringLiteral("StrongFocus"));
    SetPropText(&button, QStringLiteral("focusPolicy"), QStringLiteral("NoFocus"));
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(PropText(&button, QStringLiteral("Transparent")), QString());
    SetPropText(&button, QStringLiteral("Transparent"), QStringLiteral("True"));
    EXPECT_EQ(PropText(&button, QStringLiteral("Transparent")), QStringLiteral("True"));
}

TEST(SkinControlHelpers, ForwardedMouseDownTakesTheCursorBeyond32768Pixels) {
    QPushButton narrow, wide;
    narrow.resize(100, 20);
    wide.resize(40000, 20);
    TestKind onNarrow(&narrow), onWide(&wide);
    onNarrow.Control = &narrow;
    onWide.Control = &wide;
    const Message down{wm::LButtonDown, mk::LButton, makeLParam(30, 5)};
    EXPECT_EQ(onNarrow.ForwardMouseDown(down), QPoint(30, 5));
    EXPECT_TRUE(narrow.isDown()) << "the control's own mouse-down ran";
    EXPECT_EQ(onWide.ForwardMouseDown(down), wide.mapFromGlobal(QCursor::pos()));
}

TEST(SkinControlHelpers, CaptionFocusSitsAboveCentreAndInside) {
    // 20 × 10 text centred in 100 × 31: one pixel above true centre, grown.
    EXPECT_EQ(CaptionFocusRect(QRect(0, 0, 100, 31), QRect(0, 0, 20, 10), dt::Center),
              QRect(38, 8, 24, 12));
    EXPECT_EQ(CaptionFocusRect(QRect(0, 0, 100, 31), QRect(0, 0, 20, 10), dt::Right),
              QRect(78, 0, 22, 11))
        << "clipped to the rectangle";
    EXPECT_EQ(CaptionFocusRect(QRect(5, 5, 10, 10), QRect(5, 5, 30, 10), dt::Left),
              QRect(5, 5, 10, 10));
}

TEST(SkinControlHelpers, PopupWindowsAndTextFlags) {
    QWidget popup(nullptr, Qt::Popup), window;
    EXPECT_TRUE(IsPopupWindow(&popup));
    EXPECT_FALSE(IsPopupWindow(&window));
    QPushButton button;
    TestKind kind(&button);
    kind.Control = &button;
    EXPECT_EQ(TextFlags(kind, dt::Center), dt::Center);
    button.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(TextFlags(kind, dt::Center), dt::Center | dt::RtlReading);
}
