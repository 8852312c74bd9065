#include "skin/data/skin_elements.h"

#include "skin/data/quick_ini.h"

namespace skin {

void TDataSkinObject::setMargins(const Margins& m) {
    LeftWidth = m.left;
    TopHeight = m.top;
    RightWidth = m.right;
    BottomHeight = m.bottom;
}

bool ParseSkinColour(const QString& text, SkinColor& colour) {
    const QString value = text.trimmed();
    if (value.isEmpty())
        return false;
    int channels[3] = {0, 0, 0};
    int taken = 0;
    qsizetype i = 0;
    const qsizetype n = value.size();
    while (i < n && taken < 3) {
        if (value[i] < u'0' || value[i] > u'9') {
            ++i;
            continue;
        }
        quint32 number = 0;
        for (; i < n && value[i] >= u'0' && value[i] <= u'9'; ++i)
            number = number * 10 + (value[i].unicode() - u'0');
        // Red and green must be followed by more text; blue may end the value.
        if (i < n || taken == 2)
            channels[taken++] = static_cast<int>(number & 0xFF);
    }
    colour = rgb(channels[0], channels[1], channels[2]);
    return true;
}

SkinColor ReadSkinColour(const TQuickIni& ini, const QString& section, const QString& key,
                         SkinColor defaultColour) {
    SkinColor colour = defaultColour;
    ParseSkinColour(ini.readString(section, key, QString()), colour);
    return colour;
}

void ReadStandardKeys(TDataSkinObject& element, const TQuickIni& ini, const QString& section,
                      bool readFrame, SkinColor buttonText) {
    element.Style = ini.readInteger(section, QStringLiteral("Style"), 0);
    element.LeftWidth = ini.readInteger(section, QStringLiteral("LeftWidth"), 0);
    element.RightWidth = ini.readInteger(section, QStringLiteral("RightWidth"), 0);
    element.TopHeight = ini.readInteger(section, QStringLiteral("TopHeight"), 0);
    element.BottomHeight = ini.readInteger(section, QStringLiteral("BottomHeight"), 0);
    if (readFrame)
        element.FrameCount = ini.readInteger(section, QStringLiteral("Frame"), 0);
    element.Trans = ini.readInteger(section, QStringLiteral("Trans"), 0);
    element.Tile = ini.readInteger(section, QStringLiteral("Tile"), 0);
    if (element.Tile > 1)
        element.Tile = 0;
    element.NormalColour = ini.readInteger(section, QStringLiteral("NormalColour"), -1);
    element.MouseOverColour = ini.readInteger(section, QStringLiteral("MouseOverColour"), -1);
    element.PressedColour = ini.readInteger(section, QStringLiteral("PressedColour"), -1);
    element.NormalColour2 =
        ReadSkinColour(ini, section, QStringLiteral("NormalColour2"), buttonText);
    element.MouseOverColour2 =
        ReadSkinColour(ini, section, QStringLiteral("MouseOverColour2"), buttonText);
    element.PressedColour2 =
        ReadSkinColour(ini, section, QStringLiteral("PressedColour2"), buttonText);
}

} // namespace skin
