#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/engine/controls/edit_skins.h"
#include "skin/engine/frame/form_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace skin;

namespace {

QRgb opaque(QRgb p) {
    return p | 0xFF000000;
}

void move(QWidget* w, QPoint at) {
    QMouseEvent e(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class EditSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        mData.setSkinStream(app::ownSkinPackage());
        mData.SkinControls.include(TSkinControlType::xcSpin);
        mWindow.setObjectName(QStringLiteral("TForm2"));
        mLayout = new QVBoxLayout(&mWindow);
        mForm.setWindow(&mWindow, 0, QStringLiteral("TForm2"));
        mForm.SetupFrameworkForm(&mData, &mWindow);
    }

    template <typename Kind> Kind* skin(QWidget* control) {
        mLayout->addWidget(control);
        mWindow.show();
        QApplication::setActiveWindow(&mWindow);
        auto* kind = new Kind(control);
        kind->Attach(&mForm, &mData, false, nullptr);
        return kind;
    }

    QColor shadow() const {
        const SkinColor c = ColorToRGB(mData.colour(colour::ButtonShadow));
        return QColor(redOf(c), greenOf(c), blueOf(c));
    }

    TSkinData mData;
    QWidget mWindow;
    QVBoxLayout* mLayout = nullptr;
    TWinSkinForm mForm{nullptr};
};

} // namespace

TEST_F(EditSkinTest, AnEditGetsTheFlatBorderAndAFramelessOneNone) {
    auto* edit = new QLineEdit(QStringLiteral("大米"));
    skin<TSkinEdit>(edit);
    QImage shot = edit->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    EXPECT_EQ(opaque(shot.pixel(0, shot.height() / 2)), shadow().rgb());
    EXPECT_EQ(opaque(shot.pixel(qFloor(1.5 * r), shot.height() / 2)), qRgb(255, 255, 255));
    EXPECT_EQ(opaque(shot.pixel(qFloor(2.5 * r), shot.height() / 2)), qRgb(255, 255, 255));

    auto* frameless = new QLineEdit(QStringLiteral("V1.0"));
    frameless->setFrame(false);
    auto* plain = new QLineEdit(QStringLiteral("V1.0"));
    plain->setFrame(false);
    mLayout->addWidget(plain);
    skin<TSkinEdit>(frameless);
    plain->resize(frameless->size());
    EXPECT_EQ(frameless->grab().toImage(), plain->grab().toImage());
}

TEST_F(EditSkinTest, TheYearSpinBoxStillStepsUnderItsSkinnedButtons) {
    auto* year = new QSpinBox;
    year->setRange(2000, 2100);
    year->setValue(2026);
    year->setFixedSize(80, 24);
    auto* kind = skin<TSkinEdit>(year);
    year->grab(); // the first paint finds the buttons
    ASSERT_NE(kind->UpDown, nullptr);
    EXPECT_TRUE(kind->UpDown->InEdit);
    const QRect area = kind->UpDown->AreaInEdit();
    ASSERT_FALSE(area.isEmpty());
    // White around the buttons, 3 pixels inside the edit.
    const QImage shot = year->grab().toImage();
    const qreal r = shot.devicePixelRatio();
    EXPECT_EQ(opaque(shot.pixel(qFloor((year->width() - 2.5) * r),
                                qFloor((area.center().y() + 0.5) * r))),
              qRgb(255, 255, 255));

    QTest::mouseClick(year, Qt::LeftButton, {}, QPoint(area.center().x(), area.top() + 3));
    EXPECT_EQ(year->value(), 2027);
    QTest::mouseClick(year, Qt::LeftButton, {}, QPoint(area.center().x(), area.bottom() - 3));
    EXPECT_EQ(year->value(), 2026);
}

TEST_F(EditSkinTest, AComboShowsItsButtonHotOnlyOverTheButtonDropsDownAndKeepsTheText) {
    auto* combo = new QComboBox;
    combo->setEditable(true);
    combo->addItems({QStringLiteral("大米"), QStringLiteral("食用油")});
    combo->setEditText(QString());
    combo->setFixedWidth(200);
    auto* other = new QLineEdit;
    mLayout->addWidget(other);
    auto* kind = skin<TSkinComBox>(combo);
    other->setFocus();
    const QImage before = combo->grab().toImage();
    ASSERT_FALSE(kind->ButtonRect.isEmpty());
    EXPECT_EQ(kind->ButtonRect.right(), combo->width() - 1);
    // Between the edit part and the button only the edit's colour: nothing
    // of the box's own button shows through.
    const qreal ratio = before.devicePixelRatio();
    const int middle = qFloor((combo->height() / 2 + 0.5) * ratio);
    const QRgb base = combo->lineEdit()->palette().color(QPalette::Base).rgb();
    ASSERT_LT(combo->lineEdit()->geometry().right() + 1, kind->ButtonRect.left());
    for (int x = combo->lineEdit()->geometry().right() + 1; x < kind->ButtonRect.left(); ++x)
        EXPECT_EQ(opaque(before.pixel(qFloor((x + 0.5) * ratio), middle)), base) << x;

    move(combo, QPoint(10, combo->height() / 2));
    EXPECT_EQ(kind->MouseState & 1, 0) << "the text part is not the button";
    move(combo, kind->ButtonRect.center());
    EXPECT_EQ(kind->MouseState & 1, 1);
    EXPECT_NE(combo->grab().toImage(), before) << "the hot frame";
    move(combo, QPoint(10, combo->height() / 2));
    EXPECT_EQ(kind->MouseState & 1, 0);

    combo->lineEdit()->setFocus();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("rice 25kg"));
    QTest::mouseClick(combo, Qt::LeftButton, {}, kind->ButtonRect.center());
    EXPECT_TRUE(combo->view()->isVisible());
    EXPECT_TRUE(kind->DroppedDown);
    // The list's own bar wears the skin while the combo does.
    ASSERT_TRUE(kind->ListBar);
    ASSERT_TRUE(kind->ListBar->Bar);
    combo->hidePopup();
    EXPECT_FALSE(kind->DroppedDown);
    // Every column of the picture opens the list, its edges too.
    for (int x : {kind->ButtonRect.left(), kind->ButtonRect.right() - 1}) {
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(x, kind->ButtonRect.center().y()));
        EXPECT_TRUE(combo->view()->isVisible()) << x;
        combo->hidePopup();
    }
    EXPECT_EQ(combo->currentText(), QStringLiteral("rice 25kg"));
    kind->Unskin();
    EXPECT_FALSE(kind->ListBar);
}

TEST_F(EditSkinTest, TheDateArrowOpensTheCalendarAndLeavesTheFocusOnThePicker) {
    auto* picker = new QDateEdit(QDate(2026, 12, 9));
    picker->setCalendarPopup(true);
    picker->setFixedWidth(120);
    auto* kind = skin<TSkinDateTime>(picker);
    TArrowButton* arrow = kind->ArrowButton;
    ASSERT_NE(arrow, nullptr);
    EXPECT_TRUE(arrow->isVisible());
    // The skin's width, just inside the border; the picker's own button lies
    // under it and its text ends before it, so nothing of that button shows.
    EXPECT_EQ(arrow->geometry(), QRect(picker->width() - 19, 2, 17, picker->height() - 4));
    QStyleOptionComboBox option;
    option.initFrom(picker);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    EXPECT_EQ(picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxArrow, picker),
              arrow->geometry());
    const QLineEdit* text = picker->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->geometry().right() + 1, arrow->geometry().left());
    const QImage shot = picker->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QRgb base = text->palette().color(QPalette::Base).rgb();
    // Beside the arrow: the text's colour at the left, the border's white
    // frame at the right.
    for (int x : {arrow->geometry().left() - 2, arrow->geometry().left() - 1,
                  arrow->geometry().right() + 1})
        EXPECT_EQ(opaque(shot.pixel(qFloor((x + 0.5) * ratio),
                                    qFloor((picker->height() / 2 + 0.5) * ratio))),
                  base)
            << x;

    QTest::mouseClick(arrow, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_NE(picker->calendarWidget(), nullptr);
    EXPECT_TRUE(picker->calendarWidget()->isVisible());
    EXPECT_EQ(mWindow.focusWidget(), picker);
    picker->calendarWidget()->window()->hide();

    // Switched off, the picker is its plain self: no arrow over its button.
    sendMessage(picker, SM_SETACTIVE, 0, 0);
    EXPECT_FALSE(arrow->isVisible());
    EXPECT_NE(picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxArrow, picker),
              arrow->geometry());
    sendMessage(picker, SM_SETACTIVE, 1, 0);
    EXPECT_TRUE(arrow->isVisible());
}
