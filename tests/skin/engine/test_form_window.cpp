// A skinned window on the offscreen platform: its frame, client area, caption
// buttons, moving, title, unskin and the skinned menu bar.
#include "own_skin_data.h"
#include "skin/engine/controls/scroll_bar_skins.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/form_frame_paint.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/skin_manager.h"
#include "skin/engine/manager/window_info.h"
#include "skin/engine/menus/menu_bar.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

using namespace skin;

namespace {

QRgb opaque(QRgb pixel) {
    return pixel | 0xFF000000;
}

// The program's side of a skinned window: answers the visibility of caption
// buttons with codes of its own, and records the caption-button messages and
// the window's sizes.
class ProgramAnswers : public QObject {
public:
    int visibleCode = 0;
    QList<qintptr> captionButtons;
    QList<QSize> sizes;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        Message* m = skinMessageOf(event);
        if (m && m->msg == SM_CAPTIONVISIBLE) {
            answer(*m, m->wParam == visibleCode ? m->lParam : 0);
            return true;
        }
        if (m && m->msg == SM_CAPTIONBUTTON)
            captionButtons << m->wParam;
        if (event->type() == QEvent::Resize)
            sizes << static_cast<QResizeEvent*>(event)->size();
        return false;
    }
};

// Counts the skin changes a skin object is told of.
class CountingSkinObject : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void SkinChanged() override { ++changes; }
    int changes = 0;
};

class FormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        mData = loadOwnSkin();
        mWindow =
            std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint |
                                                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        mWindow->setObjectName(QStringLiteral("TForm7"));
        mWindow->setWindowTitle(QStringLiteral("工资管理"));
        auto* layout = new QVBoxLayout(mWindow.get());
        mBar = new QMenuBar(mWindow.get());
        mFirst = mBar->addMenu(QStringLiteral(" 辅 助 "));
        mFirst->addAction(QStringLiteral("导出Excel文件"));
        QMenu* off = mBar->addMenu(QStringLiteral("停用"));
        off->addAction(QStringLiteral("无"));
        off->menuAction()->setEnabled(false);
        mLast = mBar->addMenu(QStringLiteral(" 工 具 "));
        mLast->addAction(QStringLiteral("计算器"));
        layout->setMenuBar(mBar);
        mLabel = new QLabel(QStringLiteral("金额"));
        layout->addWidget(mLabel);
        layout->addStretch(1);
    }

    void TearDown() override {
        mForm.reset();
        mWindow.reset();
    }

    // Shows the window and skins it as the manager does on its first show.
    void skin(bool fixed = true) {
        if (fixed)
            mWindow->setFixedSize(300, 200);
        else
            mWindow->resize(300, 200);
        // Away from the screen's edges, which a window is kept within.
        mWindow->move(200, 150);
        mWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mWindow.get()));
        mPlainSize = mWindow->size();
        mPlainCentre = mWindow->frameGeometry().center();
        mPlainLabel = mLabel->geometry();
        mPlainBarHeight = mBar->height();
        skinAsItIs();
    }

    // Skins the window in whatever state it is, as the manager does.
    void skinAsItIs() {
        mForm = std::make_unique<TWinSkinForm>(nullptr);
        mForm->setWindow(mWindow.get(), 0, QStringLiteral("TForm7"));
        mForm->SetupFrameworkForm(mData.get(), mWindow.get());
        sendMessage(mWindow.get(), SM_SKININIT, 0, 1000);
        QApplication::processEvents();
    }

    QPoint centreOf(int action) const {
        for (const auto& button : mForm->captionButtons())
            if (button->action() == action && button->visible)
                return button->rect.center();
        ADD_FAILURE() << "no visible caption button with action " << action;
        return {};
    }

    void click(QPoint at) {
        QTest::mouseClick(mWindow.get(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }

    std::unique_ptr<TSkinData> mData;
    std::unique_ptr<QWidget> mWindow;
    std::unique_ptr<TWinSkinForm> mForm;
    QMenuBar* mBar = nullptr;
    QMenu* mFirst = nullptr;
    QMenu* mLast = nullptr;
    QLabel* mLabel = nullptr;
    QSize mPlainSize;
    QPoint mPlainCentre;
    QRect mPlainLabel;
    int mPlainBarHeight = 0;
};

} // namespace

TEST_F(FormWindowTest, TheFrameGrowsTheWindowAndTheClientAreaKeepsItsWidgets) {
    skin();
    EXPECT_TRUE(mWindow->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(mWindow->isVisible()) << "taking the decoration away does not hide the window";
    EXPECT_TRUE(mBar->isHidden());
    const FrameSizes& frame = mForm->frameSizes();
    EXPECT_EQ(frame.left, 4);
    EXPECT_EQ(frame.top, 25);
    EXPECT_EQ(frame.bottom, 5);
    EXPECT_EQ(frame.menuBar, mPlainBarHeight);
    EXPECT_EQ(mWindow->contentsMargins(), frame.margins());
    // The window less its native menu bar is the client area, grown by the frame.
    EXPECT_EQ(mWindow->size(), mPlainSize + QSize(8, 30));
    EXPECT_LE((mWindow->frameGeometry().center() - mPlainCentre).manhattanLength(), 1)
        << "the window grows about its centre";
    EXPECT_EQ(mWindow->minimumSize(), mWindow->maximumSize()) << "a fixed size stays fixed";
    EXPECT_EQ(mLabel->geometry(), mPlainLabel.translated(4, 25));

    EXPECT_EQ(sendMessage(mWindow.get(), SM_ISSKINNED, 0, 0), 1);
    EXPECT_EQ(sendMessage(mWindow.get(), SM_FRAMEQUERY, 0, SKINFRAME_MAGIC), SKINFRAME_MAGIC);
    EXPECT_EQ(sendMessage(mWindow.get(), SM_FRAMEQUERY, 0, 0), 1);

    // Unskinned, the window is plain again with its client area unchanged.
    mForm->Unskin();
    QApplication::processEvents();
    EXPECT_FALSE(mWindow->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(mBar->isHidden());
    EXPECT_EQ(mWindow->size(), mPlainSize);
    EXPECT_EQ(mWindow->contentsMargins(), QMargins());
    EXPECT_EQ(mLabel->geometry(), mPlainLabel);
    EXPECT_EQ(sendMessage(mWindow.get(), SM_ISSKINNED, 0, 0), 0);
}

TEST_F(FormWindowTest, ThePictureShowsTheBorderImagesFramesByActiveState) {
    skin();
    const TDataSkinBorder& left = *mData->border(TSkinData::Left);
    const TDataSkinBorder& bottom = *mData->border(TSkinData::Bottom);
    const int w = mWindow->width(), h = mWindow->height();
    // Side borders hold their frames side by side, the bottom stacks them; the
    // middle of each is one colour along its length.
    auto check = [&](bool active) {
        const QImage picture = mWindow->grab().toImage();
        const int leftFrame = active ? 0 : left.Image.width() / 2;
        const int bottomFrame = active ? 0 : bottom.Image.height() / 2;
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(opaque(picture.pixel(x, h / 2)),
                      opaque(left.Image.pixel(leftFrame + x, left.Image.height() / 2)))
                << "left border column " << x << (active ? " active" : " inactive");
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(opaque(picture.pixel(w / 2, h - 5 + y)),
                      opaque(bottom.Image.pixel(bottom.Image.width() / 2, bottomFrame + y)))
                << "bottom border row " << y << (active ? " active" : " inactive");
    };
    ASSERT_TRUE(mForm->active());
    check(true);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QApplication::processEvents();
    ASSERT_FALSE(mForm->active());
    check(false);
}

TEST_F(FormWindowTest, CaptionButtonsCloseMaximizeRestoreAndMinimize) {
    mWindow->setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    skin(false);
    click(centreOf(1));
    EXPECT_TRUE(mWindow->isMaximized());
    EXPECT_EQ(mForm->windowState(), WindowMaximized);
    // Maximized, the restore button shows in the maximize button's place.
    click(centreOf(1));
    EXPECT_FALSE(mWindow->isMaximized());
    EXPECT_EQ(mForm->windowState(), WindowNormal);
    click(centreOf(2));
    EXPECT_TRUE(mWindow->isMinimized());
    mWindow->showNormal();
    QApplication::processEvents();
    click(centreOf(0));
    EXPECT_FALSE(mWindow->isVisible());
}

TEST_F(FormWindowTest, DraggingTheCaptionMovesAndTheCornerResizesUnlessMaximized) {
    mWindow->setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    skin(false);
    const QPoint start = mWindow->pos();
    const QPoint caption(mWindow->width() / 2, 12);
    QTest::mousePress(mWindow.get(), Qt::LeftButton, {}, caption);
    QTest::mouseMove(mWindow.get(), caption + QPoint(30, 20));
    QTest::mouseRelease(mWindow.get(), Qt::LeftButton, {}, caption + QPoint(30, 20));
    QApplication::processEvents();
    EXPECT_EQ(mWindow->pos(), start + QPoint(30, 20));

    // The bottom-right corner of a sizeable window resizes it.
    const QSize size = mWindow->size();
    const QPoint corner(size.width() - 2, size.height() - 2);
    ASSERT_EQ(mForm->HitTest(corner), ht::BottomRight);
    QTest::mousePress(mWindow.get(), Qt::LeftButton, {}, corner);
    QTest::mouseMove(mWindow.get(), corner + QPoint(40, 10));
    QTest::mouseRelease(mWindow.get(), Qt::LeftButton, {}, corner + QPoint(40, 10));
    EXPECT_EQ(mWindow->size(), size + QSize(40, 10));

    mWindow->showMaximized();
    QApplication::processEvents();
    const QPoint maximized = mWindow->pos();
    QTest::mousePress(mWindow.get(), Qt::LeftButton, {}, caption);
    QTest::mouseMove(mWindow.get(), caption + QPoint(30, 20));
    QTest::mouseRelease(mWindow.get(), Qt::LeftButton, {}, caption + QPoint(30, 20));
    EXPECT_EQ(mWindow->pos(), maximized);
}

TEST_F(FormWindowTest, TheCloseButtonsHintShowsAfterThePauseAndGoesWhenTheMouseLeaves) {
    skin();
    ASSERT_TRUE(mForm->hoverTimerRunning());
    const QPoint close = centreOf(0);
    QCursor::setPos(mWindow->mapToGlobal(close));
    QTest::mouseMove(mWindow.get(), close);
    ASSERT_NE(mForm->hotObject(), nullptr);
    QTest::qWait(600);
    EXPECT_FALSE(mData->captionHintShown()) << "twice the hint pause has not passed";
    for (int waited = 0; waited < 2000 && !mData->captionHintShown(); waited += 50)
        QTest::qWait(50);
    ASSERT_TRUE(mData->captionHintShown());
    EXPECT_EQ(static_cast<QLabel*>(mData->captionHintWindow())->text(), QStringLiteral("Close"));
    const QPoint away(mWindow->width() / 2, 12);
    QCursor::setPos(mWindow->mapToGlobal(away));
    QTest::mouseMove(mWindow.get(), away);
    EXPECT_FALSE(mData->captionHintShown());
    EXPECT_EQ(mForm->hotObject(), nullptr);
    EXPECT_EQ(mForm->hintCounter().counter(), 0);
}

TEST_F(FormWindowTest, ARightClickOnTheCaptionOpensTheSystemMenuForTheWindowsState) {
    skin();
    const QPoint caption(mWindow->width() / 2, 12);
    QTest::mouseClick(mWindow.get(), Qt::RightButton, {}, caption);
    QMenu* menu = mForm->systemMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + (action->isEnabled() ? "" : " off"));
    // Normal, without minimize and maximize boxes.
    EXPECT_EQ(items.join(QLatin1Char('|')),
              QStringLiteral("还原(&R) off|移动(&M)|大小(&S) off|最小化(&N) off|最大化(&X) off|-|"
                             "关闭(&C)"));
    menu->actions().last()->trigger();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(mWindow->isVisible());
}

TEST_F(FormWindowTest, ANewTitleShowsAtOnce) {
    skin();
    const QImage before = mWindow->grab().toImage().copy(0, 0, mWindow->width(), 25);
    mWindow->setWindowTitle(QStringLiteral("进货管理"));
    const QImage after = mWindow->grab().toImage().copy(0, 0, mWindow->width(), 25);
    EXPECT_NE(before, after);
    EXPECT_TRUE(mForm->captionLayout().text.text.contains(QStringLiteral("进货管理")));
}

TEST_F(FormWindowTest, TheBarOpensItsMenusFromKeysAndWalksThemInACircle) {
    skin();
    TWinSkinMenu* menu = mForm->skinMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->buttons().size(), 3u);
    QTest::keyClick(mLabel, Qt::Key_F10);
    EXPECT_EQ(menu->openIndex(), 0);
    EXPECT_TRUE(mFirst->isVisible());
    EXPECT_EQ(mFirst->activeAction(), mFirst->actions().first()) << "the first item is selected";
    // Right skips the disabled menu; from the last it comes round to the first.
    QTest::keyClick(mFirst, Qt::Key_Right);
    EXPECT_EQ(menu->openIndex(), 2);
    EXPECT_TRUE(mLast->isVisible());
    EXPECT_FALSE(mFirst->isVisible());
    QTest::keyClick(mLast, Qt::Key_Right);
    EXPECT_EQ(menu->openIndex(), 0);
    QTest::keyClick(mFirst, Qt::Key_Left);
    EXPECT_EQ(menu->openIndex(), 2);
    mLast->hide();
    QApplication::processEvents();
    EXPECT_FALSE(menu->tracking());

    // Alt alone opens the first menu too.
    ASSERT_TRUE(QTest::qWaitForWindowActive(mWindow.get()));
    QTest::keyPress(mLabel, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(mLabel, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(menu->openIndex(), 0);
    mFirst->hide();

    // Alt with a space opens the system menu at the client area's corner.
    QTest::keyClick(mLabel, Qt::Key_Space, Qt::AltModifier);
    ASSERT_NE(mForm->systemMenu(), nullptr);
    EXPECT_TRUE(mForm->systemMenu()->isVisible());
    EXPECT_EQ(mForm->systemMenu()->pos(), mWindow->mapToGlobal(QPoint(4, 25 + mPlainBarHeight)));
    mForm->systemMenu()->hide();

    // A click on the disabled item opens nothing.
    const TMenuBtn& disabled = *menu->buttons()[1];
    EXPECT_FALSE(disabled.enabled);
    click(disabled.rect.center());
    EXPECT_FALSE(menu->tracking());
    click(menu->buttons()[2]->rect.center());
    EXPECT_EQ(menu->openIndex(), 2);
    EXPECT_TRUE(mLast->isVisible());
    mLast->hide();
}

TEST_F(FormWindowTest, ABarChangedWhileItsMenuIsOpenIsBuiltAgainOnceItCloses) {
    skin();
    TWinSkinMenu* menu = mForm->skinMenu();
    ASSERT_NE(menu, nullptr);
    click(menu->buttons()[0]->rect.center());
    ASSERT_TRUE(mFirst->isVisible());
    // The last menu goes while the first is open: its button forgets it.
    QAction* last = mLast->menuAction();
    mBar->removeAction(last);
    delete mLast;
    EXPECT_EQ(menu->buttons()[2]->item, nullptr);
    mFirst->hide();
    QApplication::processEvents();
    ASSERT_EQ(menu->buttons().size(), 2u);
    EXPECT_FALSE(menu->buttons()[1]->rect.isEmpty()) << "placed in the band again";
    click(menu->buttons()[0]->rect.center());
    EXPECT_TRUE(mFirst->isVisible());
    mFirst->hide();
}

TEST_F(FormWindowTest, AWindowSkinnedWhileMinimizedGetsItsFrameWhenShownAgain) {
    mWindow->setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    mWindow->resize(300, 200);
    mWindow->showMinimized();
    QApplication::processEvents();
    if (!(mWindow->windowState() & Qt::WindowMinimized))
        GTEST_SKIP() << "this platform does not minimize";
    mPlainSize = mWindow->size();
    skinAsItIs();
    EXPECT_FALSE(mForm->frameShown());
    mWindow->showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(mForm->frameShown());
    EXPECT_TRUE(mWindow->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(mWindow->width(), mPlainSize.width() + 8);
}

TEST(FormWindowDialogs, MessageBoxesAndTheSaveDialogComeUpSkinnedAsDialogs) {
    // The program's way: the main form's skin data makes the manager as it is read.
    TSkinManage::installAsFactory();
    QWidget main;
    main.setObjectName(QStringLiteral("TForm1"));
    auto* data = new TSkinData(&main);
    data->beginReading();
    data->SetActive(true);
    data->setSkinStream(app::ownSkinPackage());
    data->Loaded();
    main.resize(300, 200);
    main.show();
    ASSERT_NE(TSkinManage::instance(), nullptr);

    // The window's skinned frame, waited for up to `ms`.
    auto skinnedForm = [](QWidget* window, int ms = 3000) -> TWinSkinForm* {
        QElapsedTimer waited;
        waited.start();
        do {
            QApplication::processEvents();
            TWinSkinForm* form = TSkinManage::instance()->FindSkinForm(window);
            if (form && form->frameShown())
                return form;
            QTest::qWait(10);
        } while (waited.elapsed() < ms);
        return nullptr;
    };
    const QColor face = SkinQColor(data->colour(colour::ButtonFace));
    TWinSkinForm* form = nullptr;
    for (const QString& caption :
         {QStringLiteral("Marvanto"), QStringLiteral("一个很长很长很长很长很长很长很长的标题")}) {
        SCOPED_TRACE(caption.toStdString());
        QMessageBox box(QMessageBox::NoIcon, caption, QStringLiteral("保存成功!"), QMessageBox::Ok,
                        &main);
        box.show();
        QTest::qWait(20);
        form = skinnedForm(&box);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->borderStyle(), BorderDialog);
        EXPECT_EQ(sendMessage(&box, SM_ISSKINNED, 0, 0), 1);
        EXPECT_EQ(box.palette().color(QPalette::Window), face) << "the skin's colour inside";
        // Widened once the box's own layout has run, until the caption shows
        // the whole title.
        const QString whole = CaptionString(caption);
        for (int waited = 0; waited < 2000 && form->captionLayout().text.text != whole;
             waited += 20)
            QTest::qWait(20);
        EXPECT_EQ(form->captionLayout().text.text, whole);
        box.hide();
    }

    QFileDialog dialog(&main);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.show();
    QTest::qWait(20);
    form = skinnedForm(&dialog);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->borderStyle(), BorderDialog);
    EXPECT_EQ(dialog.palette().color(QPalette::Window), face);
    dialog.hide();

    // A window tagged 99 and the date picker's calendar popup stay plain.
    QWidget tagged(nullptr, Qt::Window);
    tagged.setObjectName(QStringLiteral("TForm6"));
    setTag(&tagged, 99);
    tagged.show();
    QDateEdit date(&main);
    date.setCalendarPopup(true);
    QWidget* popup = date.calendarWidget()->window();
    popup->show();
    QTest::qWait(20);
    EXPECT_EQ(skinnedForm(&tagged, 300), nullptr);
    EXPECT_EQ(sendMessage(&tagged, SM_ISSKINNED, 0, 0), 0);
    EXPECT_EQ(skinnedForm(popup, 0), nullptr);
    EXPECT_FALSE(popup->windowFlags() & Qt::FramelessWindowHint);
    popup->hide();

    // The skin turned off (the manager's request 2): the main form is plain
    // again with its client area as it was.
    ASSERT_NE(skinnedForm(&main), nullptr);
    EXPECT_EQ(main.size(), QSize(308, 230));
    data->SetActive(false);
    for (int waited = 0; waited < 3000 && TSkinManage::instance()->FindSkinForm(&main);
         waited += 20)
        QTest::qWait(20);
    EXPECT_EQ(TSkinManage::instance()->FindSkinForm(&main), nullptr);
    EXPECT_EQ(main.size(), QSize(300, 200));
    EXPECT_FALSE(main.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(sendMessage(&main, SM_ISSKINNED, 0, 0), 0);
    destroySkinManager();
}

TEST_F(FormWindowTest, ButtonsOfTheProgramsOwnShowWhenTheWindowSaysAndPostTheirAction) {
    // The minimize button made one of the program's own: code 1500, Action 50.
    TDataSkinSysButton* own = nullptr;
    for (const auto& button : mData->captionButtons())
        if (button->Action == 2)
            own = button.get();
    ASSERT_NE(own, nullptr);
    own->Action = 50;
    own->Visibility = 1500;
    own->Visibility1 = 0;
    ProgramAnswers program;
    mWindow->installEventFilter(&program);
    skin();
    auto shown = [this] {
        for (const auto& button : mForm->captionButtons())
            if (button->action() == 50)
                return button->visible;
        return false;
    };
    EXPECT_FALSE(shown()) << "the window answers 0 for other codes";
    program.visibleCode = 1500;
    mWindow->repaint();
    ASSERT_TRUE(shown()) << "the window answered the Action, above 0";
    click(centreOf(50));
    EXPECT_EQ(program.captionButtons, QList<qintptr>{50});
    EXPECT_TRUE(mWindow->isVisible());
}

TEST_F(FormWindowTest, RefreshFormAppliesTheSkinAfreshAroundTheSameClientArea) {
    // The grid wears the scroll-bar kind, as the program's grids do: the kind
    // colours its fixed cells before the form lends them the colour again.
    for (auto& [kind, factory] : scrollBarKinds())
        registerSkinKind(kind, factory);
    auto* grid = new QTableView;
    mWindow->layout()->addWidget(grid);
    auto* owned = new QDialog(mWindow.get());
    const QColor plainCells = grid->horizontalHeader()->palette().color(QPalette::Button);
    const QColor plainOwned = owned->palette().color(QPalette::Window);
    const QColor plainForm = mWindow->palette().color(QPalette::Window);
    QList<QWidget*> after;
    mData->OnAfterSkinForm = [&after](QObject* sender, QWidget* window, const QString& name) {
        EXPECT_EQ(sender, window);
        EXPECT_EQ(name, QStringLiteral("TForm7"));
        after << window;
    };
    skin(false);
    registerSkinKind(SkinKind::SkinScrollbar, {});
    ASSERT_NE(qobject_cast<TSkinScrollbar*>(TSkinControl::skinObjectOf(grid)), nullptr);
    ASSERT_EQ(after, QList<QWidget*>{mWindow.get()});
    const QColor face = SkinQColor(mData->colour(colour::ButtonFace));
    ASSERT_NE(face, plainCells);
    ASSERT_NE(face, plainOwned);
    auto* object = new CountingSkinObject(mLabel);
    mForm->addSkinObject(object);
    // The program painted its form over meanwhile.
    QPalette red = mWindow->palette();
    red.setColor(QPalette::Window, Qt::red);
    mWindow->setPalette(red);
    const QSize size = mWindow->size();
    const QRect label = mLabel->geometry();
    ProgramAnswers program;
    mWindow->installEventFilter(&program);

    EXPECT_EQ(sendMessage(mWindow.get(), SM_REFRESHFORM, 0, 0, -1), 0);
    QApplication::processEvents();
    EXPECT_EQ(mWindow->palette().color(QPalette::Window), face);
    EXPECT_EQ(owned->palette().color(QPalette::Window), face) << "a form it owns";
    EXPECT_EQ(grid->horizontalHeader()->palette().color(QPalette::Button), face);
    EXPECT_EQ(grid->verticalHeader()->palette().color(QPalette::Button), face);
    EXPECT_EQ(object->changes, 1);
    EXPECT_EQ(mWindow->size(), size) << "the same client area in the same frame";
    EXPECT_EQ(mLabel->geometry(), label);
    EXPECT_TRUE(program.sizes.contains(size + QSize(0, 1))) << "one pixel higher and back";
    ASSERT_FALSE(program.sizes.isEmpty());
    EXPECT_EQ(program.sizes.last(), size);
    EXPECT_EQ(after.size(), 2);
    EXPECT_EQ(mForm->FrameState, TWinSkinForm::StateSkinned);
    EXPECT_EQ(mForm->skinMenu()->buttons().size(), 3u);

    // Unskinned, the colours lent come back with the form's own.
    mForm->Unskin();
    EXPECT_EQ(owned->palette().color(QPalette::Window), plainOwned);
    EXPECT_EQ(grid->horizontalHeader()->palette().color(QPalette::Button), plainCells);
    EXPECT_EQ(mWindow->palette().color(QPalette::Window), plainForm);
}
