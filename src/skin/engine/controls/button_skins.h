#pragma once

#include "skin/data/skin_elements.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/manager/control_traversal.h"

#include <QImage>
#include <QString>

// The skinned push buttons: a plain button and a picture button drawn from
// the skin's Buttons element. The skin object takes the left button's press
// itself, shows the pressed, mouse-over, focused and disabled frames, and
// clicks the button when it is released over it.
namespace skin {

class TSkinButton : public TSkinControl {
    Q_OBJECT
public:
    explicit TSkinButton(QObject* owner) : TSkinControl(owner) {}

    QImage Canvas;            // the picture is composed here, then copied in one piece
    bool Transparent = false; // the parent's picture instead of the skin colour behind

    void Attach(TWinSkinForm* form, TSkinData* skinData, bool adoptColor,
                QPaintDevice* formCanvas) override;
    void AttachHandle(QWidget* handle, TSkinData* skinData, TWinSkinForm* form,
                      QPaintDevice* formCanvas) override;
    bool BeforeMessage(Message& message) override;
    void AfterMessage(Message& message) override;
    void PaintSkin(QPainter& dc, const QRect& rect) override;

protected:
    // Steps shared by both kinds: the state read afresh, the frame chosen,
    // the canvas sized and given its background and the Buttons frame. Null
    // when the skin has no Buttons picture.
    const TDataSkinButton* paintFrame(const QRect& rect, int& frame);
    // The caption colour for the frame, over the font's own colour.
    QColor captionColour(const TDataSkinButton& element, int frame) const;
    bool showsFocusRect() const;

private:
    void click();
};

class TSkinBitButton : public TSkinButton {
    Q_OBJECT
public:
    explicit TSkinBitButton(QObject* owner) : TSkinButton(owner) {}

    // The property the picture comes from instead of the glyph ("PngImage"
    // for the picture-button kinds that name it).
    QString GraphicProperty;

    void PaintSkin(QPainter& dc, const QRect& rect) override;
};

// The engraved look of a disabled one-frame glyph: its dark pixels drawn in
// the highlight colour one pixel right and down, then in the shadow colour in
// place; everything else transparent.
QImage EmbossedGlyph(const QImage& glyph, const QColor& highlight, const QColor& shadow);

// The button kinds' factories.
SkinKindFactories buttonKinds();

} // namespace skin
