#pragma once

#include "skin/engine/controls/scroll_bar_skins.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/controls/skin_style.h"
#include "skin/engine/manager/control_traversal.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QAbstractSpinBox;
class QComboBox;
class QToolButton;

// The skinned entry boxes. They are frame-painted: the control paints its own
// text, list and caret, and the skin object draws the flat border, the
// drop-down button and the spin buttons over that after each paint.
namespace skin {

class TSkinUpDown;

class TSkinEdit : public TSkinControl {
    Q_OBJECT
public:
    explicit TSkinEdit(QObject* owner) : TSkinControl(owner) {}

    // The skin of the spin box's buttons, made at the first paint with xcSpin.
    QPointer<TSkinUpDown> UpDown;

    bool BeforeMessage(Message& message) override;
    void AfterMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;
};

// Spin buttons. On a window of their own they are client-painted; made by an
// edit (InEdit) they paint over the spin box's own buttons, which keep their
// clicks and their repeat.
class TSkinUpDown : public TSkinControl {
    Q_OBJECT
public:
    explicit TSkinUpDown(QObject* owner) : TSkinControl(owner) {}

    bool InEdit = false;
    bool Horizontal = false;

    // Takes over the buttons of a spin box for the edit that skins it.
    void AttachInEdit(QAbstractSpinBox* spin, TSkinData* skinData, TWinSkinForm* form);
    // The buttons' rectangle in the spin box.
    QRect AreaInEdit() const;
    // Paints the buttons over the spin box (InEdit).
    void PaintInEdit(QPainter& dc);
    // Follows the mouse over the spin box; true when the picture changes.
    bool TrackInEdit(const Message& message);

    // Takes over the scroll arrows of a tab strip (Qt's own buttons, which
    // keep their clicks and their repeat); the strip's kind hands their
    // paints to PaintArrow.
    void AttachArrows(const QList<QToolButton*>& arrows, TSkinData* skinData, TWinSkinForm* form);
    bool IsArrow(const QObject* object) const;
    // Paints one of the arrows over the whole button, in its own state.
    void PaintArrow(QToolButton* arrow);

    bool BeforeMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;

private:
    // The two buttons into `area` of the painter; the cursor is relative to it.
    void paintButtons(QPainter& dc, const QRect& area, QPoint cursor, bool enabled,
                      const QWidget* widget);
    // One button (the second: down or right) in a state, on the canvas.
    void paintButton(QPainter& canvas, const QRect& button, bool second, int state);
    QPointer<QAbstractSpinBox> mSpin;
    QList<QPointer<QToolButton>> mArrows;
};

class TSkinComBox : public TSkinControl, public SkinStyleHooks {
    Q_OBJECT
public:
    explicit TSkinComBox(QObject* owner) : TSkinControl(owner) {}

    quint32 Style = 0; // CBS_SIMPLE 1, CBS_DROPDOWN 2, CBS_DROPDOWNLIST 3
    quint32 ExStyle = 0;
    QRect ButtonRect; // the drop-down button as last painted
    QPointer<QWidget> EditWindow;
    QPointer<QWidget> ListWindow;
    QPointer<TSkinControl> ListCover;
    QPointer<TComboxScrollBar> ListBar; // the drop-down list's skinned bar
    bool DroppedDown = false;
    bool Extended = false;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                QPaintDevice* formCanvas) override;
    void AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                      QPaintDevice* formCanvas) override;
    void Unskin() override;
    void AfterMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;

    // The box's own drop-down button is where the skin's is drawn, so that
    // all of the picture opens the list.
    std::optional<QRect> subControlRect(const QStyle& base, QStyle::ComplexControl control,
                                        const QStyleOptionComplex* option, QStyle::SubControl sub,
                                        const QWidget* widget) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeParts();
    void readStyle();
    QPointer<QWidget> mPopup;
    bool mTracking = false; // the combo followed the mouse before the skin
};

class TSkinDateTime;

// The arrow button laid over a date picker's own drop-down button.
class TArrowButton : public QWidget {
    Q_OBJECT
public:
    TArrowButton(TSkinDateTime* skin, QWidget* picker);

    QPointer<TSkinDateTime> Skin;
    QPointer<QWidget> Picker;
    int ArrowWidth = 0;
    bool Hot = false;

    // Lays the button over the picker's button for its current size.
    void Place();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TSkinDateTime : public TSkinControl, public SkinStyleHooks {
    Q_OBJECT
public:
    explicit TSkinDateTime(QObject* owner) : TSkinControl(owner) {}
    ~TSkinDateTime() override;

    QPointer<TArrowButton> ArrowButton;

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                QPaintDevice* formCanvas) override;
    void Unskin() override;
    void AfterMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;

    // While the arrow is shown the picker's own button lies exactly under
    // it, and its text ends where the arrow starts.
    std::optional<QRect> subControlRect(const QStyle& base, QStyle::ComplexControl control,
                                        const QStyleOptionComplex* option, QStyle::SubControl sub,
                                        const QWidget* widget) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showArrow();
};

// The flat border over a sunken one, with `whiteFrames` white frames inside
// the shadow; nothing for a control without a border.
void DrawFlatBorder(const TSkinControl& object, QPainter& dc, const QWidget* control,
                    int whiteFrames);

// The edit, up-down, combo-box and date picker kinds' factories.
SkinKindFactories editKinds();

} // namespace skin
