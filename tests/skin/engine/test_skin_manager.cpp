#include "app/own_skin.h"
#include "skin/data/skin_data.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/form_frame_paint.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/skin_manager.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSizeGrip>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace skin;

namespace {

void freeDeferred() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The program's start as the manager sees it: the main window's skin data is
// read (Active, the package, Loaded) and makes the one manager; the forms
// are shown later.
class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        destroySkinManager();
        TSkinManage::installAsFactory();
        for (int i = 1; i <= 3; ++i) {
            auto form = std::make_unique<QWidget>();
            form->setObjectName(QStringLiteral("TForm%1").arg(i));
            form->resize(200, 120);
            mForms.push_back(std::move(form));
        }
        mMain = read(new TSkinData(form(1)), true);
        mManager = TSkinManage::instance();
        ASSERT_NE(mManager, nullptr);
        mManager->applicationForms = [this] {
            QList<QWidget*> forms;
            for (const auto& form : mForms)
                forms.append(form.get());
            return forms;
        };
    }

    void TearDown() override {
        mForms.clear();
        destroySkinManager();
        setSkinManagerFactory([] { return std::make_unique<TRecordingSkinManager>(); });
        freeDeferred();
    }

    TSkinData* read(TSkinData* data, bool active, TSkinFormType type = TSkinFormType::sfMainform) {
        data->SkinFormtype = type;
        data->beginReading();
        data->SetActive(active);
        data->setSkinStream(app::ownSkinPackage());
        data->OnSkinChanged = [this, data](QObject*) { mChanged << data; };
        data->Loaded();
        return data;
    }

    QWidget* form(int i) { return mForms.at(static_cast<size_t>(i - 1)).get(); }

    // Shown while skinning is off, so that only the requests skin them.
    void showUnskinned() {
        const bool on = mManager->SkinningOn;
        mManager->SkinningOn = false;
        for (const auto& form : mForms)
            form->show();
        mManager->SkinningOn = on;
    }

    // The request timer was started with the component's delay; its tick.
    void tick() {
        EXPECT_TRUE(mManager->requestTimer.isActive());
        EXPECT_EQ(mManager->requestTimer.interval(), TSkinManagerLink::RequestDelay);
        mManager->RequestTimer();
    }

    QList<QWidget*> skinnedWindows() const {
        QList<QWidget*> windows;
        for (const QPointer<TWinSkinForm>& form : mManager->SkinForms)
            windows << (form ? form->window() : nullptr);
        return windows;
    }

    std::vector<std::unique_ptr<QWidget>> mForms;
    TSkinData* mMain = nullptr;
    TSkinManage* mManager = nullptr;
    QList<TSkinData*> mChanged;
};

} // namespace

TEST_F(ManagerTest, StartBeforeTheFirstActivationOnlySwitchesSkinningOn) {
    EXPECT_TRUE(mManager->hookInstalled());
    EXPECT_EQ(mManager->MainSkinData, mMain);
    EXPECT_TRUE(mManager->SkinningOn);
    EXPECT_EQ(mManager->Started, 0);
    EXPECT_FALSE(mManager->requestTimer.isActive());
    EXPECT_TRUE(mManager->SkinForms.isEmpty());

    // Showing a window activates it: the manager starts and skins it.
    form(2)->show();
    EXPECT_EQ(mManager->Started, 1);
    ASSERT_EQ(skinnedWindows(), QList<QWidget*>{form(2)});
    TWinSkinForm* skinned = mManager->FindSkinForm(form(2));
    EXPECT_EQ(skinned->parent(), form(2)) << "a framework form owns its frame";
    EXPECT_EQ(skinned->setupKind(), TWinSkinForm::SetupKind::FrameworkForm);
    EXPECT_EQ(skinned->skinData(), mMain);
    EXPECT_EQ(skinned->FrameState, TWinSkinForm::StateNew);
    QCoreApplication::sendPostedEvents(form(2));
    EXPECT_EQ(skinned->FrameState, TWinSkinForm::StateSkinned) << "SM_SKININIT was posted";
    EXPECT_EQ(sendMessage(form(2), SM_ISSKINNED, 0, 0, -1), 1);
    // A second show or activation takes nothing twice.
    form(2)->hide();
    form(2)->show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form(2), &activate);
    EXPECT_EQ(mManager->SkinForms.size(), 1);
    EXPECT_TRUE(mChanged.isEmpty());
}

TEST_F(ManagerTest, RequestsOfTheMainFormType) {
    // Switched off before the start: the forms show plain.
    mMain->SetActive(false);
    EXPECT_FALSE(mManager->SkinningOn);
    EXPECT_FALSE(mManager->requestTimer.isActive());
    for (const auto& form : mForms)
        form->show();
    EXPECT_TRUE(mManager->SkinForms.isEmpty());
    auto hidden = std::make_unique<QWidget>();
    hidden->setObjectName(QStringLiteral("TForm4"));
    mForms.push_back(std::move(hidden));

    // A dialog's own component skins its dialog at once.
    QWidget dialog;
    dialog.setProperty("skinClass", QStringLiteral("#32770"));
    dialog.resize(100, 50);
    dialog.show();
    auto* dialogData = read(new TSkinData(&dialog), true, TSkinFormType::sfDialog);
    ASSERT_NE(mManager->FindSkinForm(&dialog), nullptr);
    EXPECT_EQ(mManager->FindSkinForm(&dialog)->skinData(), dialogData);
    EXPECT_EQ(mManager->FindSkinForm(&dialog)->setupKind(), TWinSkinForm::SetupKind::BareWindow);
    EXPECT_EQ(mManager->FindSkinForm(&dialog)->parent(), nullptr);

    // Request 1: every visible form, the last first, in bulk.
    mMain->SetActive(true);
    EXPECT_EQ(mManager->CurrentSkinData, mMain);
    tick();
    EXPECT_TRUE(mManager->SkinningOn);
    EXPECT_FALSE(mManager->Bulk);
    EXPECT_EQ(skinnedWindows(), (QList<QWidget*>{&dialog, form(3), form(2), form(1)}));
    EXPECT_EQ(mChanged, QList<TSkinData*>{mMain});
    EXPECT_EQ(mManager->CurrentSkinData, nullptr);

    // Request 3: the forms of this component rebuild and re-read, the
    // dialog's does not.
    mManager->setCurrentSkinData(mMain);
    mManager->Request(TSkinManagerLink::Reskin, TSkinManagerLink::RequestDelay);
    tick();
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(mManager->FindSkinForm(form(i))->captionButtonRebuilds, 1) << i;
        EXPECT_EQ(mManager->FindSkinForm(form(i))->geometryReads, 1) << i;
    }
    EXPECT_EQ(mManager->FindSkinForm(&dialog)->captionButtonRebuilds, 0);

    // Request 2: every form unskinned, removed and freed.
    QList<QPointer<TWinSkinForm>> frames = mManager->SkinForms;
    mChanged.clear();
    mMain->SetActive(false);
    tick();
    EXPECT_FALSE(mManager->SkinningOn);
    EXPECT_TRUE(mManager->SkinForms.isEmpty());
    EXPECT_EQ(mChanged, QList<TSkinData*>{mMain});
    freeDeferred();
    for (const QPointer<TWinSkinForm>& frame : frames)
        EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(sendMessage(form(1), SM_ISSKINNED, 0, 0, -1), -1);
}

TEST_F(ManagerTest, RequestsOfOnlyThisForm) {
    form(1)->show();
    auto* own = read(new TSkinData(form(2)), false, TSkinFormType::sfOnlyThisForm);
    showUnskinned();
    ASSERT_EQ(skinnedWindows(), QList<QWidget*>{form(1)});

    // Request 1: only the form that holds the component.
    own->SetActive(true);
    EXPECT_EQ(mManager->CurrentSkinData, own);
    tick();
    ASSERT_EQ(skinnedWindows(), (QList<QWidget*>{form(1), form(2)}));
    EXPECT_EQ(mManager->FindSkinForm(form(2))->skinData(), own);
    EXPECT_EQ(mChanged, QList<TSkinData*>{own});

    // Request 3: the first form using it.
    mManager->setCurrentSkinData(own);
    mManager->Request(TSkinManagerLink::Reskin, TSkinManagerLink::RequestDelay);
    tick();
    EXPECT_EQ(mManager->FindSkinForm(form(2))->captionButtonRebuilds, 1);
    EXPECT_EQ(mManager->FindSkinForm(form(1))->captionButtonRebuilds, 0);

    // Request 7 is not one of this type's; request 6 frees every closed form.
    QPointer<TWinSkinForm> ownForm = mManager->FindSkinForm(form(2));
    QPointer<TWinSkinForm> foreign = new TWinSkinForm(nullptr);
    foreign->setWindow(form(3), 1, QStringLiteral("TForm3"));
    foreign->FrameState = TWinSkinForm::StateClosed;
    mManager->SkinForms.append(foreign);
    mManager->Request7Window = form(2);
    for (int request : {int(TSkinManage::RequestReskinWindow), int(TSkinManage::RequestPurgeAll)}) {
        mManager->setCurrentSkinData(own);
        mManager->Request(request, TSkinManagerLink::RequestDelay);
        tick();
    }
    freeDeferred();
    EXPECT_TRUE(foreign.isNull());
    EXPECT_EQ(mManager->FindSkinForm(form(2)), ownForm.data());

    // Request 2: that form alone is given back.
    own->SetActive(false);
    tick();
    EXPECT_FALSE(mManager->SkinningOn);
    EXPECT_EQ(skinnedWindows(), QList<QWidget*>{form(1)});
    EXPECT_EQ(sendMessage(form(2), SM_ISSKINNED, 0, 0, -1), -1);
}

TEST_F(ManagerTest, PurgeFreesTheClosedFormsOfItsModuleAndRequest6AllOfThem) {
    showUnskinned();
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(mManager->SkinWindow(form(i)));
    QPointer<TWinSkinForm> closed = mManager->FindSkinForm(form(1));
    closed->FrameState = TWinSkinForm::StateClosed;
    // An entry of another module, closed as well.
    QPointer<TWinSkinForm> foreign = new TWinSkinForm(nullptr);
    foreign->setWindow(form(3), 1, QStringLiteral("TForm3"));
    foreign->FrameState = TWinSkinForm::StateClosed;
    mManager->SkinForms.append(foreign);
    // And one whose window is gone.
    auto gone = std::make_unique<QWidget>();
    gone->setObjectName(QStringLiteral("TForm5"));
    gone->resize(10, 10);
    gone->show();
    mManager->SkinWindow(gone.get());
    gone.reset();

    mManager->Purge();
    EXPECT_EQ(skinnedWindows(), (QList<QWidget*>{form(2), form(3), form(3)}));
    freeDeferred();
    EXPECT_TRUE(closed.isNull());
    EXPECT_FALSE(foreign.isNull());

    mManager->setCurrentSkinData(mMain);
    mManager->Request(TSkinManage::RequestPurgeAll, TSkinManagerLink::RequestDelay);
    tick();
    freeDeferred();
    EXPECT_TRUE(foreign.isNull());
    EXPECT_EQ(skinnedWindows(), (QList<QWidget*>{form(2), form(3)}));
    EXPECT_EQ(mChanged, QList<TSkinData*>{mMain});
}

TEST_F(ManagerTest, Request7SkinsOneWindowAfresh) {
    form(2)->show();
    QPointer<TWinSkinForm> before = mManager->FindSkinForm(form(2));
    ASSERT_TRUE(before);
    mManager->Request7Window = form(2);
    mManager->setCurrentSkinData(mMain);
    mManager->Request(TSkinManage::RequestReskinWindow, TSkinManagerLink::RequestDelay);
    tick();
    TWinSkinForm* after = mManager->FindSkinForm(form(2));
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before.data());
    EXPECT_EQ(mManager->SkinForms.size(), 1);
    freeDeferred();
    EXPECT_TRUE(before.isNull());
    // The handler ends at once: no OnSkinChanged, the current data stays.
    EXPECT_TRUE(mChanged.isEmpty());
    EXPECT_EQ(mManager->CurrentSkinData, mMain);
}

TEST_F(ManagerTest, UnregisteringClearsMainAndCurrentAndCancelsItsRequest) {
    form(1)->show();
    mMain->SetActive(false);
    ASSERT_TRUE(mManager->requestTimer.isActive());
    delete mMain;
    EXPECT_EQ(mManager->MainSkinData, nullptr);
    EXPECT_EQ(mManager->CurrentSkinData, nullptr);
    EXPECT_FALSE(mManager->requestTimer.isActive());
    EXPECT_EQ(mManager->PendingRequest, 0);
    EXPECT_TRUE(mManager->SkinDatas.isEmpty());
    // A request the component made just before it went finds nothing to do.
    mManager->RequestTimer();
    EXPECT_TRUE(mChanged.isEmpty());
}

namespace {

// A push-button kind that, as skinned buttons do, makes the click itself on
// release and then redraws.
class ClickingKind : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(Message& m) override {
        if (m.msg == wm::LButtonUp) {
            if (auto* button = qobject_cast<QPushButton*>(Control.data()))
                button->click();
            MouseState = 0;
            Redraw();
            return false;
        }
        return TSkinControl::BeforeMessage(m);
    }
};

} // namespace

TEST_F(ManagerTest, AModalBoxFromASkinnedClickRunsTheRequestsSafely) {
    auto* button = new QPushButton(QStringLiteral("删除"));
    (new QVBoxLayout(form(2)))->addWidget(button);
    QPointer<ClickingKind> kind;
    registerSkinKind(SkinKind::SkinButton, [&](QWidget*, QObject* owner, const ControlDecision&) {
        kind = new ClickingKind(owner);
        return kind.data();
    });
    form(2)->show();
    QCoreApplication::sendPostedEvents(form(2));
    registerSkinKind(SkinKind::SkinButton, {});
    ASSERT_TRUE(kind);
    QPointer<TWinSkinForm> frame = mManager->FindSkinForm(form(2));

    bool frameFreedInTheBox = false, kindKeptInTheBox = false;
    QObject::connect(button, &QPushButton::clicked, [&] {
        // The confirmation box waits; meanwhile skinning is switched off.
        mMain->SetActive(false);
        QDialog box;
        QTimer::singleShot(TSkinManagerLink::RequestDelay + 150, &box, [&] {
            frameFreedInTheBox = frame.isNull();
            kindKeptInTheBox = !kind.isNull();
            box.accept();
        });
        box.exec();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(frameFreedInTheBox) << "the request ran inside the box";
    EXPECT_TRUE(kindKeptInTheBox) << "its handler was still running";
    EXPECT_FALSE(kind.isNull());
    EXPECT_FALSE(kind->Active);
    freeDeferred();
    EXPECT_TRUE(kind.isNull());
    EXPECT_EQ(sendMessage(button, SM_ISSKINNED, 0, 0, -1), -1);
}

TEST_F(ManagerTest, AModalBoxFromOnSkinControlEndsTheSetUpOfTheFreedForm) {
    auto* layout = new QVBoxLayout(form(2));
    layout->addWidget(new QPushButton(QStringLiteral("添加")));
    layout->addWidget(new QPushButton(QStringLiteral("删除")));
    int asked = 0;
    mMain->OnSkinControl = [&](QObject*, TSkinData*, QWidget*, QWidget*, const QString&,
                               QObject*&) {
        if (++asked > 1)
            return;
        mMain->SetActive(false);
        QDialog box;
        QTimer::singleShot(TSkinManagerLink::RequestDelay + 150, &box, &QDialog::accept);
        box.exec();
    };
    form(2)->show();
    QPointer<TWinSkinForm> frame = mManager->FindSkinForm(form(2));
    ASSERT_TRUE(frame);
    QCoreApplication::sendPostedEvents(form(2));
    EXPECT_TRUE(frame.isNull()) << "request 2 ran inside the box";
    EXPECT_EQ(asked, 1) << "the traversal ended with its form";
    EXPECT_EQ(sendMessage(form(2), SM_ISSKINNED, 0, 0, -1), -1);
}

TEST_F(ManagerTest, MenusAreWrappedWhileTheyShow) {
    form(1)->show();
    QMenu menu(form(1));
    menu.addAction(QStringLiteral("计算器"));
    bool wrappedBeforeMeasuring = false;
    QObject::connect(&menu, &QMenu::aboutToShow,
                     [&] { wrappedBeforeMeasuring = mManager->IsWrapped(&menu); });
    mManager->PopupMark = true;
    menu.popup(QPoint(10, 10));
    EXPECT_TRUE(mManager->IsWrapped(&menu));
    EXPECT_TRUE(wrappedBeforeMeasuring);
    EXPECT_EQ(sendMessage(&menu, SM_ISSKINNED, 0, 0, -1), 1);
    ASSERT_EQ(mManager->PopupMenus.size(), 1);
    EXPECT_TRUE(mManager->PopupMenus.first()->Marked);
    EXPECT_EQ(mManager->PopupMenus.first()->skinData(), mMain);
    menu.hide();
    EXPECT_FALSE(mManager->IsWrapped(&menu));
    EXPECT_FALSE(mManager->PopupMark) << "the last unwrap resets the mark";
    EXPECT_EQ(sendMessage(&menu, SM_ISSKINNED, 0, 0, -1), -1);

    // Menu mode 0 needs xcPopupMenu; mode 2 the system menu's flag.
    mMain->SkinControls.exclude(TSkinControlType::xcPopupMenu);
    menu.popup(QPoint(10, 10));
    EXPECT_FALSE(mManager->IsWrapped(&menu));
    menu.hide();
    // A bar's drop-downs are measured as the bar's items.
    mManager->MenuMode = 1;
    menu.popup(QPoint(10, 10));
    ASSERT_EQ(mManager->PopupMenus.size(), 1);
    EXPECT_EQ(mManager->PopupMenus.first()->owner(), MenuItemOwner::BarDropDown);
    menu.hide();
    mManager->MenuMode = 2;
    menu.popup(QPoint(10, 10));
    EXPECT_EQ(mManager->IsWrapped(&menu),
              mMain->SkinControls.contains(TSkinControlType::xcSystemMenu));
    menu.hide();
    EXPECT_EQ(mManager->MenuMode, 0);
}

TEST_F(ManagerTest, ASizeGripMadeOnASkinnedWindowIsTakenOver) {
    QSizeGrip before(form(2));
    before.ensurePolished();
    form(2)->show();
    EXPECT_EQ(mManager->FindSkinForm(form(2))->SizeGrip, nullptr) << "made before skinning";
    auto* grip = new QSizeGrip(form(2));
    grip->ensurePolished();
    EXPECT_EQ(mManager->FindSkinForm(form(2))->SizeGrip, grip);
}

TEST_F(ManagerTest, SkinFormEventsFrameTheSetUpAndAnOwnedFormKeepsTheColourLentToIt) {
    QStringList events;
    mMain->OnBeforeSkinForm = [&events](QObject* sender, QWidget* window, const QString& name) {
        EXPECT_EQ(sender, window);
        EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint) << "before the set-up";
        events << QStringLiteral("before ") + name;
    };
    mMain->OnAfterSkinForm = [this, &events](QObject*, QWidget* window, const QString& name) {
        const TWinSkinForm* skinned = mManager->FindSkinForm(window);
        EXPECT_TRUE(skinned && skinned->frameShown()) << "after the frame is on";
        events << QStringLiteral("after ") + name;
    };
    form(2)->show();
    EXPECT_EQ(events, QStringList{QStringLiteral("before TForm2")});
    QCoreApplication::sendPostedEvents(form(2));
    EXPECT_EQ(events,
              (QStringList{QStringLiteral("before TForm2"), QStringLiteral("after TForm2")}));

    // A refresh lends the skin's colour to a form it owns, not yet skinned;
    // skinned later, that form keeps it until it is unskinned itself.
    auto* owned = new QDialog(form(2));
    owned->setObjectName(QStringLiteral("TForm4"));
    const QColor plain = owned->palette().color(QPalette::Window);
    const QColor face = SkinQColor(mMain->colour(colour::ButtonFace));
    ASSERT_NE(plain, face);
    sendMessage(form(2), SM_REFRESHFORM, 0, 0);
    EXPECT_EQ(events.last(), QStringLiteral("after TForm2"));
    EXPECT_EQ(owned->palette().color(QPalette::Window), face);
    owned->show();
    QCoreApplication::sendPostedEvents(owned);
    ASSERT_NE(mManager->FindSkinForm(owned), nullptr);
    mManager->FindSkinForm(form(2))->Unskin();
    EXPECT_EQ(owned->palette().color(QPalette::Window), face);
    mManager->FindSkinForm(owned)->Unskin();
    EXPECT_EQ(owned->palette().color(QPalette::Window), plain);
}

TEST_F(ManagerTest, AnAltKeyTheWindowsBarDoesNotKnowGoesOnToTheMainForm) {
    auto barMenu = [](QWidget* form, const QString& caption) {
        auto* layout = new QVBoxLayout(form);
        auto* bar = new QMenuBar(form);
        QMenu* menu = bar->addMenu(caption);
        menu->addAction(QStringLiteral("项"));
        layout->setMenuBar(bar);
        layout->addWidget(new QPushButton(QStringLiteral("确定")));
        return menu;
    };
    QMenu* tools = barMenu(form(1), QStringLiteral("&Tools"));
    QMenu* edit = barMenu(form(2), QStringLiteral("&Edit"));
    form(1)->show();
    form(2)->show();
    QCoreApplication::sendPostedEvents();
    form(2)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form(2)));
    QWidget* focus = form(2)->findChild<QPushButton*>();
    QTest::keyClick(focus, Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(edit->isVisible()) << "its own bar first";
    edit->hide();
    QTest::keyClick(focus, Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(tools->isVisible()) << "the main form's bar";
    tools->hide();
    // The main form's own controls come before its bar.
    auto* total = new QPushButton(QStringLiteral("&Total"), form(1));
    total->show();
    QSignalSpy clicked(total, &QPushButton::clicked);
    QTest::keyClick(focus, Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(clicked.wait(1000));
    EXPECT_FALSE(tools->isVisible());
    delete total;
    // A modal window keeps its keys.
    form(2)->setWindowModality(Qt::ApplicationModal);
    QTest::keyClick(focus, Qt::Key_T, Qt::AltModifier);
    EXPECT_FALSE(tools->isVisible());
}
