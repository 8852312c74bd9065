#pragma once

#include "skin/engine/controls/control_geometry.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/manager/control_traversal.h"

#include <vector>

class QStackedWidget;
class QTabBar;
class QTabWidget;

// The skin kinds of page controls: the tab strip from the Tabs element and
// the body frame around the pages, and the pages in the skin colour.
namespace skin {

class TSkinUpDown;

// A page control (QTabWidget) or a bare tab bar drawn from the skin. The tab
// widget's own tab bar belongs to it: its painting is replaced by the strip,
// and its mouse shows the hot tab and hits the close boxes.
class TSkinTab : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    // ---- fields
    std::vector<QRect> CloseBoxes; // where each tab's close box was drawn (strip coordinates)
    skin::TabPosition TabPosition = skin::TabPosition::Top;
    QImage TabImage;  // the Tabs picture, prepared for the tab position
    QImage BodyImage; // the body picture, prepared for the tab position
    QImage Strip;     // the strip's off-screen canvas
    // The skin of the strip's scroll arrows (the tab bar's own buttons, over
    // the strip), made when the bar has them.
    QPointer<TSkinUpDown> UpDown;
    bool WithCloseBoxes = false; // a page control with Tag 7777 and top tabs

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                QPaintDevice* formCanvas) override;
    void AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                      QPaintDevice* formCanvas) override;
    bool BeforeMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;
    void SkinChanged() override;

    // The tab under the mouse, or -1.
    int hotTab() const { return mHot; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabBar* tabBar() const;
    QTabWidget* pageControl() const;
    void takeTabBar();
    void takeArrows(QTabBar* bar);
    void prepareImages();
    // A press at `point` (control coordinates) on a close box closes that
    // one page; true when a close box was hit.
    bool pressCloseBox(QPoint point);
    bool tabBarMessage(QEvent* event);

    int mHot = -1;
    QPointer<QTabBar> mTabBar;
};

// A page of a page control, filled with the skin colour.
class TSkinTabSheet : public TSkinControl {
    Q_OBJECT
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;
};

// The two kinds' factories.
SkinKindFactories tabKinds();

} // namespace skin
