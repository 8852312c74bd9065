#include "skin/engine/frame/form_window.h"

#include "skin/data/bitmap_utils.h"
#include "skin/data/skin_data.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/form_frame_paint.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/skin_manager.h"
#include "skin/engine/manager/window_info.h"
#include "skin/engine/menus/menu_bar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QWindow>

#include <algorithm>

namespace skin {

namespace {

bool isSystemDialogClass(const QString& name) {
    return name == QLatin1String("#32770") || name == QLatin1String("TMessageForm");
}

bool isSizingEdge(int hit) {
    return hit >= ht::Left && hit <= ht::BottomRight;
}

// The window edges a sizing answer moves, and the cursor it shows.
struct SizingEdge {
    int hit;
    Qt::Edges edges;
    Qt::CursorShape cursor;
};
constexpr SizingEdge sizingEdges[] = {
    {ht::Left, Qt::LeftEdge, Qt::SizeHorCursor},
    {ht::Right, Qt::RightEdge, Qt::SizeHorCursor},
    {ht::Top, Qt::TopEdge, Qt::SizeVerCursor},
    {ht::Bottom, Qt::BottomEdge, Qt::SizeVerCursor},
    {ht::TopLeft, Qt::TopEdge | Qt::LeftEdge, Qt::SizeFDiagCursor},
    {ht::TopRight, Qt::TopEdge | Qt::RightEdge, Qt::SizeBDiagCursor},
    {ht::BottomLeft, Qt::BottomEdge | Qt::LeftEdge, Qt::SizeBDiagCursor},
    {ht::BottomRight, Qt::BottomEdge | Qt::RightEdge, Qt::SizeFDiagCursor},
};

Qt::Edges edgesOf(int hit) {
    for (const SizingEdge& edge : sizingEdges)
        if (edge.hit == hit)
            return edge.edges;
    return {};
}

Qt::CursorShape cursorOf(int hit) {
    for (const SizingEdge& edge : sizingEdges)
        if (edge.hit == hit)
            return edge.cursor;
    return Qt::ArrowCursor;
}

// The window's native menu bar: a main window's menu widget or a menu bar
// that is a direct child (one a layout holds).
QMenuBar* nativeMenuBar(QWidget* window) {
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        if (auto* bar = qobject_cast<QMenuBar*>(main->menuWidget()))
            return bar;
    }
    return window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

// The window icon at the small-icon size on magenta, as the caption draws it.
QImage iconBitmap(const QWidget* window) {
    const QIcon icon = window->windowIcon();
    if (icon.isNull())
        return {};
    QImage bitmap(16, 16, QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(Qt::transparent);
    QPainter painter(&bitmap);
    painter.drawPixmap(0, 0, icon.pixmap(16, 16));
    painter.end();
    return KeyAlphaToMagenta(bitmap);
}

// The windows a form owns: its child windows (dialogs and the like, not
// popups), not those of other windows.
void collectOwnedWindows(QWidget* parent, QList<QWidget*>& out) {
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w)
            continue;
        if (!w->isWindow())
            collectOwnedWindows(w, out);
        else if (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog)
            out.append(w);
    }
}

// The fixed cells of the form's grids: their headers and corner buttons.
QList<QWidget*> gridFixedCells(QWidget* form) {
    QList<QWidget*> cells;
    QList<QWidget*> windows{form};
    collectOwnedWindows(form, windows);
    for (QTableView* grid : form->findChildren<QTableView*>()) {
        if (!windows.contains(grid->window()))
            continue;
        cells << grid->horizontalHeader() << grid->verticalHeader();
        if (auto* corner = grid->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
            cells << corner;
    }
    return cells;
}

// The program's main form: the window that holds the main skin data.
QWidget* applicationMainForm(const TSkinManage& manager) {
    auto* holder =
        manager.MainSkinData ? qobject_cast<QWidget*>(manager.MainSkinData->parent()) : nullptr;
    return holder ? holder->window() : nullptr;
}

// The background of a window, or the face of a grid's fixed cells.
void setBackground(QWidget* widget, const QColor& colour, bool fixedCells) {
    QPalette palette = widget->palette();
    palette.setColor(fixedCells ? QPalette::Button : QPalette::Window, colour);
    widget->setPalette(palette);
}

// Watches the keys that reach the widgets of a skinned window for the
// keyboard menu command: Alt pressed and released alone, F10, Alt with a key.
class KeyMenuWatch : public QObject {
public:
    explicit KeyMenuWatch(TWinSkinForm& form) : mForm(form) { qApp->installEventFilter(this); }
    ~KeyMenuWatch() override {
        if (qApp)
            qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        // Keys reach only the widgets of the active window; an open menu takes them itself.
        if (!widget || widget->window() != mForm.window() || QApplication::activePopupWidget() ||
            !mForm.frameShown())
            return false;
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        const Qt::KeyboardModifiers modifiers = keyEvent->modifiers();
        if (type == QEvent::KeyRelease) {
            if (key != Qt::Key_Alt || !mAltAlone || keyEvent->isAutoRepeat())
                return false;
            mAltAlone = false;
            return mForm.KeyMenu(QChar());
        }
        if (key == Qt::Key_Alt) {
            mAltAlone = (modifiers & ~Qt::AltModifier) == Qt::NoModifier;
            return false;
        }
        mAltAlone = false;
        if (key == Qt::Key_F10 && modifiers == Qt::NoModifier)
            return mForm.KeyMenu(QChar());
        if (modifiers == Qt::AltModifier && key >= Qt::Key_Space && key < Qt::Key_Escape &&
            key != Qt::Key_Minus) {
            // The dialog character first, then the keyboard menu command.
            if (key != Qt::Key_Space && mForm.DialogChar(QChar(key)))
                return true;
            return mForm.KeyMenu(QChar(key));
        }
        return false;
    }

private:
    TWinSkinForm& mForm;
    bool mAltAlone = false;
};

} // namespace

TWinSkinForm::TWinSkinForm(QObject* owner) : QObject(owner) {
    registerSkinMessages();
    mHoverTimer.setInterval(HintCounter::Tick);
    connect(&mHoverTimer, &QTimer::timeout, this, &TWinSkinForm::HoverTimer);
}

TWinSkinForm::~TWinSkinForm() {
    releaseFrame();
    if (mWindow)
        mWindow->removeEventFilter(this);
    if (TSkinManage* manager = TSkinManage::instance())
        manager->ForgetForm(this);
}

void TWinSkinForm::setWindow(QWidget* window, int module, const QString& className) {
    mWindow = window;
    mModule = module;
    mClassName = className;
    if (!window)
        return;
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this] {
        // The window is gone: release, then closed; the manager frees us.
        FrameState = StateDestroying;
        Release();
        FrameState = StateClosed;
    });
}

void TWinSkinForm::SetupFrameworkForm(TSkinData* skinData, QWidget* form) {
    mSkinData = skinData;
    mForm = form;
    mSetup = SetupKind::FrameworkForm;
    if (skinData && skinData->OnBeforeSkinForm) {
        QPointer<TWinSkinForm> self(this);
        skinData->OnBeforeSkinForm(form, mWindow, mClassName);
        if (!self)
            return;
    }
    commonSetup();
    setFormColour();
}

void TWinSkinForm::setFormColour() {
    // A bare window (a dialog of the toolkit's) is filled with the button
    // face as the form is.
    QWidget* coloured = mForm ? mForm.data() : mWindow.data();
    if (!coloured || !mSkinData || !mSkinData->skinLoaded())
        return;
    // The form wears the skin's button face; its own colour comes back on
    // unskin, also when a refresh of the form that owns it lent it the colour.
    if (!mPaletteSet) {
        bool handedOver = false;
        if (TSkinManage* manager = TSkinManage::instance()) {
            for (const QPointer<TWinSkinForm>& other : manager->SkinForms) {
                if (other && other != this && other->takeLentPalette(coloured, mSavedPalette)) {
                    handedOver = true;
                    break;
                }
            }
        }
        if (!handedOver)
            mSavedPalette.save(coloured);
        mPaletteSet = true;
    }
    setBackground(coloured, SkinQColor(mSkinData->colour(colour::ButtonFace)), false);
}

void TWinSkinForm::lendColour(QWidget* widget, const QColor& colour, bool fixedCells) {
    TSkinManage* manager = TSkinManage::instance();
    TWinSkinForm* own = manager && !fixedCells ? manager->FindSkinForm(widget) : nullptr;
    const bool lent = std::any_of(mLent.begin(), mLent.end(),
                                  [widget](const Lent& l) { return l.widget == widget; });
    if (!lent && !(own && own != this && own->mPaletteSet)) {
        mLent.push_back({widget, {}});
        mLent.back().saved.save(widget);
    }
    setBackground(widget, colour, fixedCells);
}

bool TWinSkinForm::takeLentPalette(const QWidget* widget, SavedPalette& saved) {
    for (auto it = mLent.begin(); it != mLent.end(); ++it) {
        if (it->widget == widget) {
            saved = it->saved;
            mLent.erase(it);
            return true;
        }
    }
    return false;
}

void TWinSkinForm::SetupBareWindow(TSkinData* skinData) {
    mSkinData = skinData;
    mSetup = SetupKind::BareWindow;
    commonSetup();
    setFormColour();
}

void TWinSkinForm::commonSetup() {
    if (TSkinManage* manager = TSkinManage::instance())
        manager->markStarted();
    if (!mWindow || !mSkinData)
        return;
    mFrameSkinning = mSkinData->skinLoaded() && mWindow->isWindow() &&
                     mSkinData->SkinControls.contains(TSkinControlType::xcMainMenu);
    readWindowFacts();
    if (!mFrameSkinning) {
        FrameState = StateSkinned;
        return;
    }
    int menuHeight = 0;
    mMenuBar = nativeMenuBar(mWindow);
    if (mMenuBar) {
        mSaved.menuBarShown = !mMenuBar->isHidden();
        // The bar's place in the window as laid out; the band is as high.
        mSaved.nativeMenuHeight = mSaved.menuBarShown ? mMenuBar->height() : 0;
        menuHeight = mSaved.menuBarShown ? mMenuBar->height() : mMenuBar->sizeHint().height();
        mMenu = std::make_unique<TWinSkinMenu>(*this, mMenuBar, *mSkinData);
    }
    // A window on the screen already loses its decoration around the same centre.
    if (QWindow* handle = mWindow->windowHandle(); handle && handle->isVisible())
        mSaved.centre = mWindow->frameGeometry().center();
    if (mWindowState != WindowMinimized)
        stripDecoration();
    mFrame = FrameGeometry(*mSkinData, mBorderStyle, menuHeight);
    rebuildCaptionButtons();
    mKeyWatch = std::make_unique<KeyMenuWatch>(*this);
}

bool TWinSkinForm::KeyMenu(QChar key) {
    if (!frameShown() || (mMenu && mMenu->tracking()))
        return false;
    if (key == QLatin1Char(' ')) {
        ShowSystemMenu(mWindow->mapToGlobal(ClientRect(mWindow->size(), mFrame).topLeft()));
        return true;
    }
    return mMenu && mMenu->KeyMenu(key);
}

void TWinSkinForm::readWindowFacts() {
    const WindowFacts f = windowFacts(mWindow);
    mRightToLeft = f.rightToLeft;
    mSystemMenuBox = f.systemMenu;
    mMinimizeBox = f.minimizeBox;
    mMaximizeBox = f.maximizeBox;
    mContextHelp = f.contextHelp;
    mPopup = f.popup;
    mWindowState = f.minimized ? WindowMinimized : f.maximized ? WindowMaximized : WindowNormal;
    mSystemDialog = isSystemDialogClass(mClassName);
    if (!f.caption)
        mBorderStyle = BorderNone;
    else if ((f.exStyle & ws::ExDlgModalFrame) || mSystemDialog)
        mBorderStyle = BorderDialog;
    else
        mBorderStyle = f.thickFrame ? BorderSizeable : BorderSingle;
    mActive = mWindow->isActiveWindow();
}

void TWinSkinForm::rebuildCaptionButtons() {
    setHotObject(nullptr);
    mButtons.clear();
    if (!mSkinData || !mWindow)
        return;
    mIconBitmap = iconBitmap(mWindow);
    mButtons = MakeCaptionButtons(*this, *mSkinData, mIconBitmap);
    relayoutCaption();
}

FrameWindow TWinSkinForm::frameWindow() const {
    FrameWindow w;
    if (mWindow) {
        w.size = mWindow->size();
        w.title = mWindow->windowTitle();
    }
    w.active = mActive;
    w.borderStyle = mBorderStyle;
    w.windowState = mWindowState;
    w.maximizeBox = mMaximizeBox;
    w.minimizeBox = mMinimizeBox;
    w.contextHelp = mContextHelp;
    w.systemMenu = mSystemMenuBox;
    w.rightToLeft = mRightToLeft;
    w.popup = mPopup;
    w.systemDialog = mSystemDialog;
    w.menuBarHeight = mFrame.menuBar;
    return w;
}

void TWinSkinForm::relayoutCaption() {
    if (!mFrameSkinning || !mSkinData || !mWindow)
        return;
    const FrameWindow w = frameWindow();
    // Buttons with visibility codes of their own ask the window.
    const CaptionVisibleQuery query = [window = mWindow](int code, int action) {
        return window ? static_cast<int>(sendMessage(window, SM_CAPTIONVISIBLE, code, action)) : 0;
    };
    mLayout = LayoutCaption(*mSkinData, w, mFrame, mButtons, QFontMetrics(mSkinData->captionFont()),
                            query);
    if (mMenu)
        mMenu->Layout(MenuBandRect(w.size, mFrame));
}

// ---------------------------------------------------------------- decoration

void TWinSkinForm::stripDecoration() {
    if (mDecorationStripped)
        return;
    // setWindowFlags would hide a shown window: the flags are overridden on
    // the widget and handed to its native window directly.
    mSaved.flags = mWindow->windowFlags();
    const Qt::WindowFlags flags = mSaved.flags | Qt::FramelessWindowHint;
    mWindow->overrideWindowFlags(flags);
    if (QWindow* handle = mWindow->windowHandle())
        handle->setFlags(flags);
    mDecorationStripped = true;
}

void TWinSkinForm::restoreDecoration() {
    if (!mDecorationStripped || !mWindow)
        return;
    mWindow->overrideWindowFlags(mSaved.flags);
    if (QWindow* handle = mWindow->windowHandle())
        handle->setFlags(mSaved.flags);
    mDecorationStripped = false;
}

void TWinSkinForm::resizeForFrame() {
    if (mResized)
        return;
    // The client area is the window less its native menu bar; it keeps its
    // size inside the frame.
    const QSize client = mWindow->size() - QSize(0, mSaved.nativeMenuHeight);
    const QPoint centre = mSaved.centre.value_or(mWindow->frameGeometry().center());
    mSaved.margins = mWindow->contentsMargins();
    mSaved.fixedSize = mWindow->minimumSize() == mWindow->maximumSize();
    if (mMenuBar && mSaved.menuBarShown)
        mMenuBar->hide();
    mWindow->setContentsMargins(mSaved.margins + mFrame.margins());
    const QSize framed = FramedSize(client, mFrame);
    sizeWindow(framed);
    // The frame grows the window about its centre: a window placed in the
    // middle of the screen or of its owner stays there with its frame.
    QRect after(QPoint(), mWindow->frameGeometry().size());
    after.moveCenter(centre);
    if (mWindow->pos() != after.topLeft())
        mWindow->move(after.topLeft());
    mResized = true;
    relayoutCaption();
}

void TWinSkinForm::restoreFrameSize() {
    if (!mResized || !mWindow)
        return;
    const QSize client = mWindow->size().shrunkBy(mWindow->contentsMargins() - mSaved.margins);
    const QSize size = client + QSize(0, mSaved.nativeMenuHeight);
    mWindow->setContentsMargins(mSaved.margins);
    if (mMenuBar && mSaved.menuBarShown)
        mMenuBar->show();
    sizeWindow(size);
    mResized = false;
}

void TWinSkinForm::sizeWindow(QSize size) {
    if (mSaved.fixedSize)
        mWindow->setFixedSize(size);
    else
        mWindow->resize(size);
}

// ---------------------------------------------------------------- set-up end

void TWinSkinForm::finishSetup() {
    freeReleasedObjects();
    // The program's OnSkinControl may run a request that frees this form.
    QPointer<TWinSkinForm> self(this);
    if (mSetup == SetupKind::FrameworkForm)
        SkinFormControls(*this);
    else if (mSetup == SetupKind::BareWindow)
        SkinBareWindowControls(*this);
    if (!self)
        return;
    mSetupDone = true;
    if (mFrameSkinning && mWindow && FrameState == StateNew && mBorderStyle != BorderNone &&
        mWindowState != WindowMinimized) {
        FrameState = StateResizing;
        resizeForFrame();
        FrameState = StateSkinned;
        UpdateRegion();
    }
    if (FrameState == StateNew)
        FrameState = StateSkinned;
    if (!mWindow)
        return;
    if (mFrameSkinning) {
        mSaved.mouseTracking = mWindow->hasMouseTracking();
        mWindow->setMouseTracking(true);
        sendMessage(mWindow, SM_FORMSKINNED, 0, SKINFRAME_MAGIC);
        if (!self || !mWindow)
            return;
    }
    fireAfterSkinForm();
    if (!self || !mWindow || !mFrameSkinning)
        return;
    setActive(mWindow->isActiveWindow());
    mWindow->update();
}

void TWinSkinForm::fireAfterSkinForm() {
    if (mSkinData && mSkinData->OnAfterSkinForm)
        mSkinData->OnAfterSkinForm(mForm, mWindow, mClassName);
}

bool TWinSkinForm::frameShown() const {
    return mFrameSkinning && mSetupDone && mResized && mWindow &&
           (FrameState == StateSkinned || FrameState == StateReskinning);
}

// ---------------------------------------------------------------- giving back

void TWinSkinForm::releaseFrame() {
    endKeyboardSizing(true);
    mHoverTimer.stop();
    if (mSkinData)
        mSkinData->HideCaptionHint();
    if (mSystemMenu)
        mSystemMenu->deleteLater();
    setHotObject(nullptr);
    mMenu.reset();
    mKeyWatch.reset();
}

void TWinSkinForm::Release() {
    releaseFrame();
    for (const QPointer<TSkinControl>& object : mSkinObjects) {
        if (object)
            object->SkinState = 6;
    }
}

void TWinSkinForm::Unskin() {
    // The colours lent later go back first: a skin object that coloured a
    // grid's fixed cells before the form lent them keeps their own palette.
    for (const Lent& lent : mLent) {
        if (lent.widget)
            lent.saved.giveBack(lent.widget);
    }
    mLent.clear();
    for (const QPointer<TSkinControl>& object : QList<QPointer<TSkinControl>>(mSkinObjects)) {
        if (!object)
            continue;
        if (object->SkinState != 6)
            object->Unskin();
        object->deleteLater();
    }
    mSkinObjects.clear();
    mDecided.clear();
    releaseFrame();
    if (mWindow) {
        mWindow->removeEventFilter(this);
        if (mPaletteSet) {
            mSavedPalette.giveBack(mWindow);
            mPaletteSet = false;
        }
        if (mFrameSkinning) {
            restoreDecoration();
            restoreFrameSize();
            if (mSetupDone)
                mWindow->setMouseTracking(mSaved.mouseTracking);
            if (mCursorSet)
                mWindow->unsetCursor();
            mCursorSet = false;
            mWindow->clearMask();
            mRegion = QRegion();
            mWindow->update();
        }
    }
    mFrameSkinning = false;
}

void TWinSkinForm::RefreshSkinObjects() {
    ++captionButtonRebuilds;
    ++geometryReads;
    if (!mFrameSkinning || !mSkinData || !mWindow)
        return;
    rebuildCaptionButtons();
    const FrameSizes frame = FrameGeometry(*mSkinData, mBorderStyle, mFrame.menuBar);
    if (mResized && !(frame == mFrame)) {
        // The client area keeps its size in the new frame.
        const QSize client = mWindow->size().shrunkBy(mFrame.margins());
        mFrame = frame;
        mWindow->setContentsMargins(mSaved.margins + mFrame.margins());
        sizeWindow(FramedSize(client, mFrame));
    }
    mFrame = frame;
    mLastRegionSize = QSize();
    relayoutCaption();
    UpdateRegion();
}

void TWinSkinForm::RefreshForm() {
    if (!mForm || !mWindow || !mSkinData || !mSkinData->skinLoaded())
        return;
    QPointer<TWinSkinForm> self(this);
    const QColor face = SkinQColor(mSkinData->colour(colour::ButtonFace));
    setFormColour();
    QList<QWidget*> owned;
    collectOwnedWindows(mForm, owned);
    for (QWidget* window : owned)
        lendColour(window, face, false);
    for (QWidget* cells : gridFixedCells(mForm))
        lendColour(cells, face, true);
    for (const QPointer<TSkinControl>& object : QList<QPointer<TSkinControl>>(mSkinObjects)) {
        if (object && object->SkinState != 6)
            object->SkinChanged();
        if (!self || !mWindow)
            return;
    }
    FrameState = StateReskinning;
    if (mMenu)
        mMenu->Reapply();
    // Caption buttons and the frame around the same client area.
    RefreshSkinObjects();
    // One pixel higher and back, so that the form lays itself out again.
    if (mResized && mWindowState == WindowNormal) {
        const QSize size = mWindow->size();
        sizeWindow(size + QSize(0, 1));
        sizeWindow(size);
    }
    sendMessage(mWindow, SM_FORMSKINNED, 0, SKINFRAME_MAGIC);
    if (!self || !mWindow)
        return;
    fireAfterSkinForm();
    if (!self || !mWindow)
        return;
    FrameState = StateSkinned;
    mWindow->update();
}

namespace {

// A control of `window` whose accelerator is Alt with `key` takes it as it
// does when its own window is active: a button clicks, a label gives the
// focus to its buddy.
bool ControlAccelerator(QWidget* window, QChar key) {
    const QKeySequence wanted(QKeyCombination(Qt::AltModifier, Qt::Key(key.toUpper().unicode())));
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisible() || !widget->isEnabled())
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && button->shortcut() == wanted) {
            button->animateClick();
            return true;
        }
        if (auto* label = qobject_cast<QLabel*>(widget);
            label && label->buddy() && QKeySequence::mnemonic(label->text()) == wanted) {
            label->buddy()->setFocus(Qt::ShortcutFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace

bool TWinSkinForm::DialogChar(QChar key, bool passedOn) {
    if (!frameShown() || key.isNull())
        return false;
    // The window's own controls took the key already when it was active.
    if (passedOn && ControlAccelerator(mWindow, key))
        return true;
    if (mMenu && !mMenu->tracking() && MenuButtonForKey(mMenu->buttons(), key) >= 0)
        return mMenu->KeyMenu(key);
    TSkinManage* manager = TSkinManage::instance();
    QWidget* main = manager ? applicationMainForm(*manager) : nullptr;
    if (!main || main == mWindow || mWindow->isModal())
        return false;
    TWinSkinForm* mainFrame = manager->FindSkinForm(main);
    return mainFrame && mainFrame != this && mainFrame->DialogChar(key, true);
}

void TWinSkinForm::Repaint() {
    if (mWindow)
        mWindow->update();
}

// ---------------------------------------------------------------- state

void TWinSkinForm::setActive(bool active) {
    mActive = active;
    if (active && frameShown()) {
        mHoverTimer.start();
    } else {
        mHoverTimer.stop();
        hideCaptionHint();
    }
    // The outline is cut from the frame as painted, which differs by state.
    UpdateRegion();
    if (mWindow)
        mWindow->update();
}

void TWinSkinForm::followWindowState() {
    const Qt::WindowStates states = mWindow->windowState();
    mWindowState = states & Qt::WindowMinimized   ? WindowMinimized
                   : states & Qt::WindowMaximized ? WindowMaximized
                                                  : WindowNormal;
    // A window skinned while minimized gets its frame once it is shown.
    if (mSetupDone && !mResized && mWindowState != WindowMinimized && mBorderStyle != BorderNone &&
        FrameState == StateSkinned) {
        stripDecoration();
        FrameState = StateResizing;
        resizeForFrame();
        FrameState = StateSkinned;
        setActive(mWindow->isActiveWindow());
    }
    relayoutCaption();
    UpdateRegion();
    mWindow->update();
}

void TWinSkinForm::UpdateRegion() {
    if (!frameShown() || !mSkinData)
        return;
    const QSize size = mWindow->size();
    if (size.isEmpty())
        return;
    if (size == mLastRegionSize && mActive == mLastRegionActive && FrameState != StateReskinning)
        return;
    mRegion = WindowRegion(*mSkinData, frameWindow(), mFrame);
    mLastRegionSize = size;
    mLastRegionActive = mActive;
    if (mRegion == QRegion(mWindow->rect()))
        mWindow->clearMask();
    else
        mWindow->setMask(OutlineForScale(mRegion, mWindow->devicePixelRatio(), size));
}

// ---------------------------------------------------------------- painting

void TWinSkinForm::PaintFrame(QPainter& painter) {
    if (!mSkinData || !mWindow)
        return;
    relayoutCaption();
    const FrameWindow w = frameWindow();
    MenuBandPainter band;
    if (mMenu)
        band = [this, &w](QPainter& p, const QRect& rect) { mMenu->Paint(p, rect, w.active); };
    ::skin::PaintFrame(painter, *mSkinData, w, mFrame, mLayout, mButtons, mWindow->windowIcon(),
                       mSkinData->captionFont(), band);
}

bool TWinSkinForm::paintEvent(QEvent* event) {
    // The window paints its client area first, then the frame goes into the
    // margins around it.
    QPointer<TWinSkinForm> self(this);
    QPointer<QWidget> window = mWindow;
    static_cast<QObject*>(window.data())->event(event);
    if (!self || !window)
        return true;
    QPainter painter(window);
    painter.setClipRegion(QRegion(window->rect()) - ClientRect(window->size(), mFrame));
    PaintFrame(painter);
    if (!outlineCutsWindows() && !mRegion.isEmpty()) {
        // Where the outline does not cut the window, what lies outside it is
        // made see-through.
        painter.setClipRegion(QRegion(window->rect()) - mRegion);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillRect(window->rect(), Qt::transparent);
    }
    return true;
}

void TWinSkinForm::paintObject(TNCObject& object) {
    if (mWindow && frameShown())
        mWindow->update(object.rect.adjusted(-1, -1, 1, 1));
}

void TWinSkinForm::widenForCaption() {
    mWidenPending = false;
    if (!mWindow || !mSkinData || !frameShown())
        return;
    FrameWindow w = frameWindow();
    w.size.setWidth(mWindow->width() - mCaptionExtra);
    const int needed = CaptionFitWidth(*mSkinData->title(), w, mFrame, mLayout.reservedRight,
                                       QFontMetrics(mSkinData->captionFont()));
    const int extra = std::max(0, needed - w.size.width());
    if (extra == mCaptionExtra)
        return;
    // Wider side margins: the dialog's own layout fixes the wider size and
    // its contents move right by half the difference.
    mCaptionExtra = extra;
    mWindow->setContentsMargins(mSaved.margins + mFrame.margins() +
                                QMargins(extra / 2, 0, extra - extra / 2, 0));
    if (mWindow->minimumWidth() != mWindow->maximumWidth())
        mWindow->resize(std::max(mWindow->width(), needed), mWindow->height());
}

// ---------------------------------------------------------------- hit testing

int TWinSkinForm::HitTest(QPoint point) const {
    if (!mWindow)
        return ht::Nowhere;
    const int first = DefaultHitTest(point, mWindow->size(), mFrame, mBorderStyle, mWindowState);
    return FrameHitTest(first, point, mFrame);
}

TNCObject* TWinSkinForm::ObjectAt(QPoint point) const {
    if (TWinSysButton* button = CaptionButtonAt(mButtons, point))
        return button;
    if (mMenu)
        return mMenu->ButtonAt(point);
    return nullptr;
}

// ---------------------------------------------------------------- routing

bool TWinSkinForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mSystemMenu && mSystemMenu)
        return systemMenuEvent(mSystemMenu, event);
    if (watched != mWindow || FrameState == StateClosed)
        return false;
    if (Message* m = skinMessageOf(event)) {
        switch (m->msg) {
        case SM_ISSKINNED:
            answer(*m, 1);
            if (mFrameSkinning)
                sendMessage(mWindow, SM_FORMSKINNED, 0, SKINFRAME_MAGIC);
            return true;
        case SM_RESKIN:
            // Only the pointer's value is compared: the window may be gone.
            Reskin(reinterpret_cast<const QWidget*>(m->wParam));
            answer(*m, 0);
            return true;
        case SM_SKININIT: {
            QPointer<TWinSkinForm> self(this);
            finishSetup();
            if (self)
                answer(*m, 0);
            return true;
        }
        case SM_NCREPAINT:
            if (frameShown())
                mWindow->repaint();
            answer(*m, 0);
            return true;
        case SM_MENUCLICK:
            // Opens the bar button at the screen point in lParam.
            if (mMenu && frameShown()) {
                const QPoint at = mWindow->mapFromGlobal(
                    QPoint(loWordSigned(m->lParam), hiWordSigned(m->lParam)));
                if (TMenuBtn* button = mMenu->ButtonAt(at)) {
                    button->Press();
                    mMenu->OpenBarMenu(button->index);
                }
            }
            answer(*m, 0);
            return true;
        case SM_REFRESHFORM: {
            if (mSetup != SetupKind::FrameworkForm || !mFrameSkinning)
                return false;
            QPointer<TWinSkinForm> self(this);
            RefreshForm();
            if (self)
                answer(*m, 0);
            return true;
        }
        case SM_PAINTFRAME:
            // A framework form paints its frame into the painter in wParam.
            if (mSetup != SetupKind::FrameworkForm || !mFrameSkinning)
                return false;
            if (m->wParam != 0 && frameShown())
                PaintFrame(*reinterpret_cast<QPainter*>(m->wParam));
            answer(*m, SKINFRAME_MAGIC);
            return true;
        case SM_FRAMEQUERY:
            if (mSetup != SetupKind::FrameworkForm || !mFrameSkinning)
                return false;
            answer(*m, m->lParam == SKINFRAME_MAGIC ? SKINFRAME_MAGIC : 1);
            return true;
        default:
            return false;
        }
    }
    if (!mFrameSkinning)
        return false;
    return frameEvent(event);
}

bool TWinSkinForm::frameEvent(QEvent* event) {
    if (mKeySizing && keyboardSizingEvent(event))
        return true;
    switch (event->type()) {
    case QEvent::Paint:
        return frameShown() && paintEvent(event);
    case QEvent::MouseButtonPress:
        return frameShown() && mousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return frameShown() && mouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return frameShown() && mouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick:
        return frameShown() && mouseDoubleClick(static_cast<QMouseEvent*>(event));
    case QEvent::Leave:
        if (TNCObject* hot = hotObject(); hot && !(mMenu && mMenu->tracking()))
            hot->Leave();
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ActivationChange:
        if (mSetupDone && mWindow->isActiveWindow() != mActive)
            setActive(mWindow->isActiveWindow());
        return false;
    case QEvent::WindowStateChange:
        followWindowState();
        return false;
    case QEvent::Resize:
    case QEvent::LayoutRequest:
        if (mSystemDialog && frameShown() && !mWidenPending) {
            mWidenPending = true;
            QMetaObject::invokeMethod(this, &TWinSkinForm::widenForCaption, Qt::QueuedConnection);
        }
        if (event->type() == QEvent::Resize) {
            relayoutCaption();
            UpdateRegion();
        }
        return false;
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
        // The caption shows the new title at once.
        if (event->type() == QEvent::WindowIconChange)
            rebuildCaptionButtons();
        relayoutCaption();
        if (frameShown())
            mWindow->update(QRect(0, 0, mWindow->width(), mFrame.top));
        return false;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- mouse

bool TWinSkinForm::mousePress(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int hit = HitTest(at);
    if (hit == ht::Client)
        return false;
    if (event->button() == Qt::LeftButton) {
        hideCaptionHint();
        if (TNCObject* object = ObjectAt(at)) {
            if (!mActive)
                mWindow->activateWindow();
            object->Press();
            if (auto* button = dynamic_cast<TMenuBtn*>(object); button && mMenu)
                mMenu->OpenBarMenu(button->index);
            return true;
        }
        // A maximized window cannot be dragged by its caption.
        if ((hit == ht::Caption && mWindowState != WindowMaximized) || isSizingEdge(hit)) {
            mDrag = Drag{};
            mDrag.hit = hit;
            mDrag.pressGlobal = event->globalPosition().toPoint();
            mDrag.startGeometry = mWindow->geometry();
            mDrag.startPosition = mWindow->pos();
        }
        return true;
    }
    if (event->button() == Qt::RightButton && hit == ht::Caption)
        ShowSystemMenu(event->globalPosition().toPoint());
    return true;
}

bool TWinSkinForm::mouseMove(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (mDrag.hit != ht::Nowhere && (event->buttons() & Qt::LeftButton)) {
        if (!mDrag.started) {
            mDrag.started = true;
            // Where the program places its windows, the frame moves and sizes
            // the window itself, exactly under the pointer: a window manager
            // asked to take over counts from where the pointer is when it
            // has taken the pointer, and the moves before are lost. A
            // compositor that places windows itself is asked, here rather
            // than on the press, which would swallow a double click.
            bool bySystem = false;
            QWindow* handle = mWindow->windowHandle();
            if (handle && !programPlacesWindows()) {
                bySystem = mDrag.hit == ht::Caption ? handle->startSystemMove()
                                                    : handle->startSystemResize(edgesOf(mDrag.hit));
            }
            if (bySystem) {
                mDrag = Drag{};
                return true;
            }
            mDrag.byFrame = true;
        }
        moveOrResizeFromMouse(event->globalPosition().toPoint());
        return true;
    }
    const int hit = HitTest(at);
    const bool edge = isSizingEdge(hit) && event->buttons() == Qt::NoButton;
    if (edge) {
        mWindow->setCursor(cursorOf(hit));
        mCursorSet = true;
    } else if (mCursorSet) {
        mWindow->unsetCursor();
        mCursorSet = false;
    }
    if (mActive) {
        if (TNCObject* object = ObjectAt(at)) {
            object->Hover();
            return true;
        }
        if (TNCObject* hot = hotObject())
            hot->Leave();
    }
    return hit != ht::Client;
}

void TWinSkinForm::moveOrResizeFromMouse(QPoint globalPos) {
    const QPoint d = globalPos - mDrag.pressGlobal;
    if (mDrag.hit == ht::Caption) {
        mWindow->move(mDrag.startPosition + d);
        return;
    }
    mWindow->setGeometry(DraggedGeometry(mDrag.startGeometry, edgesOf(mDrag.hit), d,
                                         mWindow->minimumSize(), mWindow->maximumSize()));
}

bool TWinSkinForm::mouseRelease(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton)
        return HitTest(at) != ht::Client;
    const bool dragged = mDrag.hit != ht::Nowhere;
    mDrag = Drag{};
    hideCaptionHint();
    TNCObject* hot = hotObject();
    if (auto* button = dynamic_cast<TWinSysButton*>(hot)) {
        if (button->state == TNCObject::Pressed && button->rect.contains(at)) {
            button->Release();
            RunAction(*button, at);
        }
        return true;
    }
    if (hot)
        return true;
    return dragged || HitTest(at) != ht::Client;
}

bool TWinSkinForm::mouseDoubleClick(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int hit = HitTest(at);
    if (hit == ht::Client)
        return false;
    if (event->button() != Qt::LeftButton)
        return true;
    TWinSysButton* button = CaptionButtonAt(mButtons, at);
    if (!button && hit != ht::Caption)
        return true;
    const CaptionCommand command = DoubleClickCommand(button, frameWindow());
    if (command != CaptionCommand::None)
        runCommand(command, button, at);
    return true;
}

// ---------------------------------------------------------------- keyboard

void TWinSkinForm::startKeyboardSizing(bool size) {
    if (!mWindow || !frameShown() || mKeySizing)
        return;
    KeyboardSizing sizing;
    sizing.sizing = size;
    sizing.start = sizing.geometry = mWindow->geometry();
    mKeySizing = sizing;
    // The arrow keys reach the window whichever of its widgets has the focus.
    mWindow->grabKeyboard();
}

bool TWinSkinForm::keyboardSizingEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            endKeyboardSizing(key != Qt::Key_Escape);
        } else if (KeyboardSizingStep(*mKeySizing, key, mWindow->minimumSize(),
                                      mWindow->maximumSize())) {
            mWindow->setGeometry(mKeySizing->geometry);
        }
        return true;
    }
    case QEvent::KeyRelease:
        return true;
    case QEvent::MouseButtonPress:
        endKeyboardSizing(true);
        return true;
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
        endKeyboardSizing(true);
        return false;
    default:
        return false;
    }
}

void TWinSkinForm::endKeyboardSizing(bool keep) {
    if (!mKeySizing)
        return;
    const QRect start = mKeySizing->start;
    mKeySizing.reset();
    if (!mWindow)
        return;
    mWindow->releaseKeyboard();
    if (!keep)
        mWindow->setGeometry(start);
}

// ---------------------------------------------------------------- skin objects

void TWinSkinForm::addSkinObject(TSkinControl* object) {
    if (object && !mSkinObjects.contains(object))
        mSkinObjects.append(object);
}

void TWinSkinForm::removeSkinObject(TSkinControl* object) {
    for (qsizetype i = mSkinObjects.size() - 1; i >= 0; --i) {
        if (mSkinObjects[i] == object) {
            mSkinObjects.removeAt(i);
            return;
        }
    }
}

TSkinControl* TWinSkinForm::skinObjectFor(const QWidget* control) const {
    for (const QPointer<TSkinControl>& object : mSkinObjects) {
        if (object && object->Handle == control)
            return object;
    }
    return nullptr;
}

void TWinSkinForm::freeReleasedObjects() {
    for (const QPointer<TSkinControl>& object : QList<QPointer<TSkinControl>>(mSkinObjects)) {
        if (object && object->SkinState == 6) {
            removeSkinObject(object);
            object->deleteLater();
        }
    }
    mSkinObjects.removeAll(nullptr);
}

void TWinSkinForm::Reskin(const QWidget* handle) {
    if (!handle || !mSkinData)
        return;
    TSkinControl* old = nullptr;
    for (qsizetype i = mSkinObjects.size() - 1; i >= 0 && !old; --i) {
        if (mSkinObjects[i] && mSkinObjects[i]->Handle == handle)
            old = mSkinObjects[i];
    }
    // Nothing found: the control went with its window meanwhile.
    if (!old || !old->Control)
        return;
    QWidget* control = old->Control;
    ControlDecision decision;
    decision.kind = SkinKind::SkinScrollbar;
    decision.mode = old->Mode;
    decision.flag = old->AdoptColor;
    removeSkinObject(old);
    old->Unskin();
    old->deleteLater();
    if (TSkinControl* fresh = makeSkinObject(SkinKind::SkinScrollbar, control, decision))
        fresh->Attach(this, mSkinData, decision.flag, nullptr);
}

const TWinSkinForm::DecidedControl* TWinSkinForm::decisionFor(const QWidget* control) const {
    for (const DecidedControl& d : mDecided) {
        if (d.control == control)
            return &d;
    }
    return nullptr;
}

void TWinSkinForm::recordDecision(QWidget* control, const ControlDecision& decision, bool built) {
    mDecided.push_back({control, decision, built});
}

} // namespace skin
