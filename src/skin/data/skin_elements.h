#pragma once

#include "skin/data/bitmap_utils.h"

#include <QImage>
#include <QString>

class TQuickIni;

namespace skin {

// The four margins of a frame that are copied, never stretched.
struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const Margins&) const = default;
};

// The colour value that means "no colour" for the caption text.
constexpr SkinColor NoColour = 0x1FFFFFFF;

// One picture of the skin: a bitmap of equal frames (numbered from 1) side by
// side or stacked, the margins that keep their size, and how to paint it.
class TDataSkinObject {
public:
    explicit TDataSkinObject(QString name = {}) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    qint32 LeftWidth = 0;
    qint32 TopHeight = 0;
    qint32 RightWidth = 0;
    qint32 BottomHeight = 0;
    QImage Image; // 32-bit; null when the description names no bitmap
    qint32 Trans = 0;
    qint32 Tile = 0;
    QString Name;
    qint32 FrameCount = 0;
    qint32 Style = 0;
    SkinColor NormalColour = -1;
    SkinColor MouseOverColour = -1;
    SkinColor PressedColour = -1;
    SkinColor NormalColour2 = 0;
    SkinColor MouseOverColour2 = 0;
    SkinColor PressedColour2 = 0;

    Margins margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
    void setMargins(const Margins& m);
};

// An element with a second picture: the Tabs' border, the up-down glyphs, the
// combo button's mirrored image.
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    QImage Image2;
};

// The push-button element, with the check-box and radio-button pictures.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    QImage CheckImage;
    QImage RadioImage;
    qint32 RadioButtonFrame = 0;
    qint32 CheckButtonFrame = 0;
    bool NormalColour2Given = false;
    bool MouseOverColour2Given = false;
    bool PressedColour2Given = false;
};

// The group-box element with the placement of its label background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    qint32 BackgroundLeftShift = 0;
    qint32 BackgroundRightShift = 0;
    qint32 BackgroundAlignment = 0;
};

// How the caption text is placed. The margins of the base hold the text
// shifts and the right clip; Image is the text's back picture.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    qint32 TextAlignment = 0;
    qint32 Textbackground = 0;
    qint32 FontHeight = 14;
    qint32 TXTBackleft = 0;
    qint32 TXTBackRight = 0;
    SkinColor ActiveTextColour = NoColour;
    SkinColor InactiveTextColour = NoColour;

    qint32& TextShift() { return LeftWidth; }
    qint32& TextShiftVert() { return TopHeight; }
    qint32& TextRightClip() { return RightWidth; }
};

// One caption button.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    qint32 Action = 0;
    qint32 Align = 0;
    qint32 Xcoord = 0;
    qint32 Ycoord = 0;
    qint32 CombineOp = -1;
    qint32 Visibility = 0;
    qint32 Visibility1 = 0;
};

// Reads a colour written as decimal red, green and blue: every run of digits
// is a number; the first two runs that end before the end of the text are red
// and green, and the third run is blue. Missing numbers stay 0; each number
// gives its low 8 bits. False for an empty text (the caller's default).
bool ParseSkinColour(const QString& text, SkinColor& colour);

// A colour key of the description, or `defaultColour` when it is missing or empty.
SkinColor ReadSkinColour(const TQuickIni& ini, const QString& section, const QString& key,
                         SkinColor defaultColour);

// The standard keys of an element section. `readFrame` reads the frame count
// from Frame; `buttonText` is the default of the three colour-2 keys.
void ReadStandardKeys(TDataSkinObject& element, const TQuickIni& ini, const QString& section,
                      bool readFrame, SkinColor buttonText);

} // namespace skin
