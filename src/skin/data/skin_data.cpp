#include "skin/data/skin_data.h"

#include "skin/data/bitmap_utils.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_manager_link.h"
#include "skin/data/skin_paint.h"
#include "skin/data/skin_reader.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QtEndian>

namespace skin {

namespace {

const QString Personality = QStringLiteral("Personality");

SkinColor systemColour(int index) {
    return ColorToRGB(static_cast<SkinColor>(0x80000000u | static_cast<quint32>(index)));
}

QColor toQColor(SkinColor colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

// The kinds of element object a section makes.
enum class Kind { Object, Border, BoxLabel };

// How one element section is read. Progress and the menu bar have keys of
// their own; all others read the standard keys.
struct ElementKeys {
    SkinElement slot;
    const char* section;
    const char* imageKey;
    Kind kind;
    const char* frameKey;    // "Frame", "FrameCount" or none (fixed count)
    int frameDefault;        // default of the frame key
    int fixedFrames;         // the count after reading; 0 keeps what was read
    const char* secondImage; // key of the second picture, or none
};

constexpr int FiveUnlessGiven = -1; // Headerbar: the Frame key when not 0, else 5

// In reading order.
constexpr ElementKeys Elements[] = {
    {SkinElement::Progress, "Progress", "Bitmap", Kind::Border, nullptr, 0, 0, nullptr},
    {SkinElement::ProgressChunk, "Progress.Chunk", "Image", Kind::Object, "Frame", 0, 0, nullptr},
    {SkinElement::MenuBar, "Personality", "menuBar", Kind::Object, nullptr, 0, 2, nullptr},
    {SkinElement::GroupBoxEdge, "GroupBoxEdge", "Image", Kind::Object, "Frame", 0, 2, nullptr},
    {SkinElement::GroupBox, "GroupBox", "Image", Kind::BoxLabel, nullptr, 0, 1, nullptr},
    {SkinElement::Tabs, "Tabs", "Image", Kind::Border, nullptr, 0, 5, "Border"},
    {SkinElement::StatusBarEdges, "StatusBarEdges", "Image", Kind::Object, "Frame", 0, 3, nullptr},
    {SkinElement::TabPane, "Tab.Pane", "Image", Kind::Object, "Frame", 0, 1, nullptr},
    {SkinElement::ToolBars, "ToolBars", "Image", Kind::Object, "Frame", 0, 5, nullptr},
    {SkinElement::ComboButton, "ComboButton", "Image", Kind::Border, nullptr, 0, 4, nullptr},
    {SkinElement::SunkEdge, "SunkEdge", "Image", Kind::Object, "Frame", 0, 4, nullptr},
    {SkinElement::ExtraImages, "ExtraImages", "Image", Kind::Object, "Frame", 0, 5, nullptr},
    {SkinElement::Headerbar, "Headerbar", "Image", Kind::Object, "Frame", 0, FiveUnlessGiven,
     nullptr},
    {SkinElement::MenuItem, "MenuItem", "Image", Kind::Object, "Frame", 0, 5, nullptr},
    {SkinElement::MenuBackground, "MenuBackground", "Image", Kind::Object, "Frame", 0, 1, nullptr},
    {SkinElement::Scrollbar, "Scrollbar", "Image", Kind::Object, "Frame", 0, 23, nullptr},
    {SkinElement::HorzScroll, "HorzScroll", "Image", Kind::Object, "Frame", 0, 4, nullptr},
    {SkinElement::VertScroll, "VertScroll", "Image", Kind::Object, "Frame", 0, 4, nullptr},
    {SkinElement::HorzScrollThumb, "HorzScrollThumb", "Image", Kind::Object, "FrameCount", 3, 0,
     nullptr},
    {SkinElement::VertScrollThumb, "VertScrollThumb", "Image", Kind::Object, "FrameCount", 3, 0,
     nullptr},
    {SkinElement::TrackbarThumbHorz, "Trackbar.ThumbHorz", "Image", Kind::Object, "Frame", 0, 5,
     nullptr},
    {SkinElement::TrackbarThumbVert, "Trackbar.ThumbVert", "Image", Kind::Object, "Frame", 0, 5,
     nullptr},
    {SkinElement::TrackbarThumbLeft, "Trackbar.ThumbLeft", "Image", Kind::Object, "Frame", 0, 5,
     nullptr},
    {SkinElement::TrackbarThumbRight, "Trackbar.ThumbRight", "Image", Kind::Object, "Frame", 0, 5,
     nullptr},
    {SkinElement::TrackbarThumbUp, "Trackbar.ThumbUp", "Image", Kind::Object, "Frame", 0, 5,
     nullptr},
    {SkinElement::TrackbarThumbDown, "Trackbar.ThumbDown", "Image", Kind::Object, "Frame", 0, 5,
     nullptr},
    {SkinElement::UpDownHorz, "UpDown.Horz", "Image", Kind::Border, nullptr, 0, 8, "GlyphImage"},
    {SkinElement::UpDownVert, "UpDown.Vert", "Image", Kind::Border, nullptr, 0, 8, "GlyphImage"},
    {SkinElement::Track, "Track", "Image", Kind::Object, "Frame", 0, 0, nullptr},
    {SkinElement::TrackVert, "TRACKVERT", "Image", Kind::Object, "Frame", 0, 0, nullptr},
};

std::unique_ptr<TDataSkinObject> makeElement(Kind kind, const QString& name) {
    switch (kind) {
    case Kind::Border:
        return std::make_unique<TDataSkinBorder>(name);
    case Kind::BoxLabel:
        return std::make_unique<TDataSkinBoxLabel>(name);
    case Kind::Object:
        break;
    }
    return std::make_unique<TDataSkinObject>(name);
}

// The colour keys of [Colours] in reading order, with their defaults.
struct ColourKey {
    const char* key;
    int index;
    int systemIndex; // -1: the ButtonFace colour as read
};
constexpr ColourKey ColourKeys[] = {
    {"WindowText", colour::WindowText, syscolor::WindowText},
    {"ButtonFace", colour::ButtonFace, syscolor::ButtonFace},
    {"Scrollbar", colour::Scrollbar, syscolor::ScrollBar},
    {"HilightText", colour::HilightText, syscolor::HighlightText},
    {"Hilight", colour::Hilight, syscolor::Highlight},
    {"Menubar", colour::Menubar, -1},
    {"Menu", colour::Menu, syscolor::Menu},
    {"MenuText", colour::MenuText, syscolor::MenuText},
    {"ButtonText", colour::ButtonText, syscolor::ButtonText},
    {"ButtonHilight", colour::ButtonHilight, syscolor::ButtonHighlight},
    {"Buttonlight", colour::Buttonlight, syscolor::ButtonHighlight},
    {"ButtonShadow", colour::ButtonShadow, syscolor::ButtonShadow},
    {"ButtonDkShadow", colour::ButtonDkShadow, syscolor::DarkShadow3D},
    {"MenuBarText", colour::MenuBarText, syscolor::MenuText},
    {"TitleTextActive", colour::TitleTextActive, syscolor::CaptionText},
    {"TitleTextNoActive", colour::TitleTextNoActive, syscolor::InactiveCaptionText},
};

// Picture from rows of letters: S silver, D grey, H white.
QImage letterPicture(std::initializer_list<const char*> rows) {
    const int width = static_cast<int>(std::strlen(*rows.begin()));
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = row[x] == 'S'   ? qRgb(192, 192, 192)
                               : row[x] == 'D' ? qRgb(128, 128, 128)
                                               : qRgb(255, 255, 255);
            image.setPixel(x, y, pixel);
        }
        ++y;
    }
    return image;
}

constexpr int ComboButtonFrames = 4;

// A copy of a strip with every frame mirrored left to right in its place, so
// that frame n stays frame n for a control drawn the other way round.
QImage mirroredFrames(const QImage& strip, int frames) {
    QImage result = strip.convertToFormat(QImage::Format_RGB32);
    const int width = result.width() / std::max(frames, 1);
    if (width == 0)
        return result;
    QPainter painter(&result);
    for (int x = 0; x + width <= result.width(); x += width) {
        QImage frame = result.copy(x, 0, width, result.height());
        Mirror(frame);
        painter.drawImage(x, 0, frame);
    }
    return result;
}

} // namespace

QImage LoadSkinBitmap(const TSkinReader& reader, const QString& name) {
    const QString fileName =
        name.mid(std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/')) + 1);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (fileName.isEmpty() || dot < 0 || fileName.mid(dot) != QLatin1String(".bmp"))
        return {};
    const QByteArray bytes = reader.extractByName(fileName);
    if (bytes.isEmpty())
        return {};
    QImage image = QImage::fromData(bytes, "BMP");
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage TrackBitmap() {
    return letterPicture(
        {"SSDDDDDDDDDDDDHH", "SSHHHHHHHHHHHHHH", "DSHHHHHHHHHHHHHH", "SSHHHHHHHHHHHHHH"});
}

QImage TrackVertBitmap() {
    return letterPicture({"SSDS", "SSSS", "DHHH", "DHHH", "DHHH", "DHHH", "DHHH", "DHHH", "DHHH",
                          "DHHH", "DHHH", "DHHH", "DHHH", "DHHH", "HHHH", "HHHH"});
}

namespace optional {
// Qt gives every scroll bar's geometry, delivers mouse-leave events, knows a
// combo box's parts and never ghosts windows: all four are always there.
bool hasGetScrollBarInfo() {
    return true;
}
bool hasTrackMouseEvent() {
    return true;
}
bool hasGetComboBoxInfo() {
    return true;
}
bool hasDisableProcessWindowsGhosting() {
    return true;
}

bool GetScrollBarInfo(QWidget* window, int objectId, ScrollBarInfo& info) {
    QScrollBar* bar = nullptr;
    if (objectId == ObjIdClient) {
        bar = qobject_cast<QScrollBar*>(window);
    } else if (auto* area = qobject_cast<QAbstractScrollArea*>(window)) {
        if (objectId == ObjIdHScroll)
            bar = area->horizontalScrollBar();
        else if (objectId == ObjIdVScroll)
            bar = area->verticalScrollBar();
    }
    if (!bar)
        return false;
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (option.orientation == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    const QStyle* style = bar->style();
    const QRect thumb =
        style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QRect arrow =
        style->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubLine, bar);
    const bool vertical = option.orientation == Qt::Vertical;
    info.bar = QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size());
    info.lineButton = vertical ? arrow.height() : arrow.width();
    info.thumbTop = vertical ? thumb.top() : thumb.left();
    info.thumbBottom = vertical ? thumb.bottom() + 1 : thumb.right() + 1;
    info.visible = bar->isVisible();
    info.enabled = bar->isEnabled();
    return true;
}
} // namespace optional

QStringList TSkinData::defaultSkin3rd() {
    static const char* const lines[] = {
        "TCategoryButtons=scrollbar",
        "TPngSpeedbutton=pngspeedbutton",
        "TPngBitBtn=pngbitbtn",
        "TVirtualStringTree=scrollbar",
        "TVirtualDrawTree=scrollbar",
        "TTBXDockablePanel=Panel",
        "TAdvPanelGroup=scrollbar",
        "TComboboxex=combobox",
        "TRxSpeedButton=speedbutton",
        "THTMLViewer=scrollbar",
        "TDBCtrlGrid=scrollbar",
        "TfrSpeedButton=speedbutton",
        "TfrTBButton=speedbutton",
        "TControlBar=Panel",
        "TTBDock=Panel",
        "TTBToolbar=Panel",
        "TImageEnMView=scrollbar",
        "TImageEnView=scrollbar",
        "TAdvMemo=scrollbar",
        "TDBAdvMemo=scrollbar",
        "TcxDBLookupComboBox=combobox",
        "TcxDBComboBox=combobox",
        "TcxDBDateEdit=combobox",
        "TcxDBImageComboBox=combobox",
        "TcxDBCalcEdit=combobox",
        "TcxDBBlobEdit=combobox",
        "TcxDBPopupEdit=combobox",
        "TcxDBFontNameComboBox=combobox",
        "TcxDBShellComboBox=combobox",
        "TRxLookupEdit=combobox",
        "TRxDBLookupCombo=combobox",
        "TRzGroup=panel",
        "TRzButton=button",
        "TRzBitbtn=bitbtn",
        "TRzMenuButton=menubtn",
        "TRzCheckGroup=CheckGroup",
        "TRzRadioGroup=Radiogroup",
        "TRzButtonEdit=Edit",
        "TRzDBRadioGroup=Radiogroup",
        "TRzDBRadioButton=Radiobutton",
        "TRzDateTimeEdit=combobox",
        "TRzColorEdit=combobox",
        "TRzDateTimePicker=combobox",
        "TRzDBDateTimeEdit=combobox",
        "TRzDbColorEdit=combobox",
        "TRzDBDateTimePicker=combobox",
        "TLMDButton=bitbtn",
        "TLMDGroupBox=Groupbox",
        "TDBCheckboxEh=Checkbox",
        "TDBCheckboxEh=Checkbox",
        "TLMDCHECKBOX=Checkbox",
        "TLMDDBCHECKBOX=Checkbox",
        "TLMDRadiobutton=Radiobutton",
        "TLMDCalculator=panel",
        "TLMDGROUPBOX=Panel",
        "TLMDSIMPLEPANEL=Panel",
        "TLMDDBCalendar=Panel",
        "TLMDButtonPanel=Panel",
        "TLMDLMDCalculator=Panel",
        "TLMDHeaderPanel=Panel",
        "TLMDTechnicalLine=Panel",
        "TLMDLMDClock=Panel",
        "TLMDTrackbar=panel",
        "TLMDListCombobox=combobox",
        "TLMDCheckListCombobox=combobox",
        "TLMDHeaderListCombobox=combobox",
        "TLMDImageCombobox=combobox",
        "TLMDColorCombobox=combobox",
        "TLMDFontCombobox=combobox",
        "TLMDFontSizeCombobox=combobox",
        "TLMDFontSizeCombobox=combobox",
        "TLMDPrinterCombobox=combobox",
        "TLMDDriveCombobox=combobox",
        "TLMDCalculatorComboBox=combobox",
        "TLMDTrackBarComboBox=combobox",
        "TLMDCalendarComboBox=combobox",
        "TLMDTreeComboBox=combobox",
        "TLMDRADIOGROUP=radiogroup",
        "TLMDCheckGroup=CheckGroup",
        "TLMDDBRADIOGROUP=radiogroup",
        "TLMDDBCheckGroup=CheckGroup",
        "TLMDCalculatorEdit=edit",
        "TLMDEDIT=Edit",
        "TLMDMASKEDIT=Edit",
        "TLMDBROWSEEDIT=Edit",
        "TLMDEXTSPINEDIT=Edit",
        "TLMDCALENDAREDIT=Edit",
        "TLMDFILEOPENEDIT=Edit",
        "TLMDFILESAVEEDIT=Edit",
        "TLMDCOLOREDIT=Edit",
        "TLMDDBEDIT=Edit",
        "TLMDDBMASKEDIT=Edit",
        "TLMDDBEXTSPINEDIT=Edit",
        "TLMDDBSPINEDIT=Edit",
        "TLMDDBEDITDBLookup=Edit",
        "TLMDEDITDBLookup=Edit",
        "TDBLookupCombobox=Combobox",
        "TWWDBCombobox=Combobox",
        "TWWDBLookupCombo=Combobox",
        "TWWDBCombobox=Combobox",
        "TWWKeyCombo=Combobox",
        "TWWTempKeyCombo=combobox",
        "TWWDBDateTimePicker=Combobox",
        "TWWRADIOGROUP=radiogroup",
        "TWWDBEDIT=Edit",
        "TcxButton=bitbtn",
        "TcxDBRadioGroup=radiogroup",
        "TcxRadioGroup=radiogroup",
        "TcxGroupbox=groupbox",
        "TOVCPICTUREFIELD=Edit",
        "TOVCDBPICTUREFIELD=Edit",
        "TOVCSLIDEREDIT=Edit",
        "TOVCDBSLIDEREDIT=Edit",
        "TOVCSIMPLEFIELD=Edit",
        "TOVCDBSIMPLEFIELD=Edit",
        "TO32DBFLEXEDIT=Edit",
        "TOVCNUMERICFIELD=Edit",
        "TOVCDBNUMERICFIELD=Edit",
    };
    QStringList list;
    list.reserve(std::size(lines));
    for (const char* line : lines)
        list.append(QString::fromLatin1(line));
    return list;
}

TSkinData::TSkinData(QObject* owner, TSkinFormType formType)
    : QObject(owner), SkinFormtype(formType), mMenuGlyphs(drawMenuGlyphs()) {
    for (int member = 0; member <= static_cast<int>(TSkinControlType::xcFastReport); ++member)
        SkinControls.include(static_cast<TSkinControlType>(member));
    SkinControls.exclude(TSkinControlType::xcMenuItem);
    SkinControls.exclude(TSkinControlType::xcFastReport);
    Skin3rd = defaultSkin3rd();
    mButtons = std::make_unique<TDataSkinButton>(QStringLiteral("Buttons"));
    const char* const sides[] = {"Left", "Right", "Top", "Bottom"};
    for (int side = 0; side < 4; ++side)
        mBorders[side] = std::make_unique<TDataSkinBorder>(QString::fromLatin1(sides[side]));
    mTitle = std::make_unique<TDataSkinTitle>(QStringLiteral("Title"));
    mApplicationIcon = QImage(0, 0, QImage::Format_RGB32);
}

TSkinData::~TSkinData() {
    if (TSkinManagerLink* manager = skinManager())
        manager->unregisterSkinData(this);
    delete mHint;
}

void TSkinData::SetActive(bool value) {
    if (value == mActive)
        return;
    mActive = value;
    if (mDesigning || mReading)
        return;
    const bool loaded = !mNotLoaded;
    switch (SkinFormtype) {
    case TSkinFormType::sfMainform: {
        TSkinManagerLink* manager = ensureSkinManager();
        if (value && loaded) {
            manager->setCurrentSkinData(this);
            manager->sendRequest(TSkinManagerLink::Start, TSkinManagerLink::RequestDelay);
            manager->markStarted();
        } else if (!value) {
            manager->setCurrentSkinData(this);
            manager->sendRequest(TSkinManagerLink::Stop, TSkinManagerLink::RequestDelay);
        }
        break;
    }
    case TSkinFormType::sfOnlyThisForm: {
        TSkinManagerLink* manager = ensureSkinManager();
        manager->setCurrentSkinData(this);
        if (value && loaded)
            manager->sendRequest(TSkinManagerLink::Start, TSkinManagerLink::RequestDelay);
        else if (!value)
            manager->sendRequest(TSkinManagerLink::Stop, TSkinManagerLink::RequestDelay);
        break;
    }
    case TSkinFormType::sfDialog:
    case TSkinFormType::sfDLL:
        break;
    }
}

void TSkinData::SetSkinFile(const QString& name) {
    mNotLoaded = true;
    mSkinFile = name;
    if (mDesigning) {
        if (!name.isEmpty())
            mPacked.clear();
        return;
    }
    QFile file(name);
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    mPacked = file.readAll();
    LoadPackage();
    if (mReading)
        return;
    if (!skinManager())
        Loaded();
    TSkinManagerLink* manager = ensureSkinManager();
    manager->setCurrentSkinData(this);
    manager->refreshForms(this);
    if (manager->started())
        manager->sendRequest(TSkinManagerLink::Reskin, TSkinManagerLink::RequestDelay);
}

QString TSkinData::SkinStore() const {
    return mDesigning && !mPacked.isEmpty() ? QStringLiteral("(Good)") : QStringLiteral("(none)");
}

void TSkinData::Loaded() {
    mReading = false;
    if (mDesigning)
        return;
    if (!optional::hasGetScrollBarInfo())
        SkinControls.exclude(TSkinControlType::xcScrollbar);
    TSkinManagerLink* manager = ensureSkinManager();
    manager->registerSkinData(this);
    makeCaptionFont();
    if (SkinFormtype == TSkinFormType::sfMainform) {
        manager->installHook();
        if (mActive) {
            if (mNotLoaded)
                mActive = false;
            else
                manager->sendRequest(TSkinManagerLink::Start, TSkinManagerLink::RequestDelay);
        }
        if (SkinControls.contains(TSkinControlType::xcMainMenu))
            SkinControls.exclude(TSkinControlType::xcMenuItem);
        else
            SkinControls.exclude(TSkinControlType::xcSystemMenu);
        makeApplicationIcon();
    } else {
        manager->startForForm();
        auto* form = qobject_cast<QWidget*>(parent());
        if (form && form->isWindow() && mActive)
            manager->skinForm(form);
    }
}

void TSkinData::readSkinStream(QIODevice& stream) {
    char length[4];
    if (stream.read(length, 4) != 4)
        return;
    const qint32 size = qFromLittleEndian<qint32>(length);
    if (size <= 0) {
        mPacked.clear();
        return;
    }
    setSkinStream(stream.read(size));
}

void TSkinData::setSkinStream(const QByteArray& packed) {
    mPacked = packed;
    if (!mDesigning)
        LoadPackage();
}

void TSkinData::writeSkinStream(QIODevice& stream) const {
    char length[4];
    qToLittleEndian(static_cast<qint32>(mPacked.size()), length);
    stream.write(length, 4);
    stream.write(mPacked);
}

bool TSkinData::LoadPackage() {
    if (mDesigning)
        return false;
    mNotLoaded = true;
    TSkinReader reader;
    QBuffer packed(&mPacked);
    packed.open(QIODevice::ReadOnly);
    if (!reader.load(packed))
        return false;
    QString descriptionName;
    QByteArray description = reader.extractByFragment(QStringLiteral(".ini"), descriptionName);
    QBuffer descriptionStream(&description);
    descriptionStream.open(QIODevice::ReadOnly);
    TQuickIni ini;
    ini.load(&descriptionStream);
    readElements(reader, ini);
    return true;
}

void TSkinData::readElements(const TSkinReader& reader, const TQuickIni& ini) {
    QStringList sections;
    ini.sectionNames(&sections);
    mSkinName = ini.readString(QStringLiteral("TitlebarSkin"), QStringLiteral("SkinName"), {});

    for (int side = Left; side <= Bottom; ++side) {
        TDataSkinBorder* border = mBorders[side].get();
        const QString& name = border->Name;
        auto key = [&](const char* suffix) { return name + QLatin1String(suffix); };
        border->Image = LoadSkinBitmap(reader, ini.readString(Personality, name, {}));
        // The sides keep their ends at the top and bottom, the others at the left and right.
        const int first = ini.readInteger(Personality, key("TopHeight"), 0);
        const int second = ini.readInteger(Personality, key("BotHeight"), 0);
        if (side == Left || side == Right)
            border->setMargins({0, first, 0, second});
        else
            border->setMargins({first, 0, second, 0});
        border->FrameCount = ini.readInteger(Personality, key("Frame"), 1);
        border->Tile = std::min(ini.readInteger(Personality, key("Stretch"), 1), 1);
        border->Trans = ini.readInteger(Personality, key("Trans"), 1);
    }
    readColours(ini, sections);
    readCaptionButtons(reader, ini, sections);
    readButtons(reader, ini);
    readTitle(reader, ini);

    const SkinColor buttonText = mColours[colour::ButtonText];
    for (const ElementKeys& keys : Elements) {
        auto& slot = mElements[static_cast<int>(keys.slot)];
        slot.reset();
        const QString section = QString::fromLatin1(keys.section);
        const QString imageName = ini.readString(section, QString::fromLatin1(keys.imageKey), {});
        if (imageName.isEmpty())
            continue;
        slot = makeElement(keys.kind, section);
        TDataSkinObject& element = *slot;
        element.NormalColour2 = element.MouseOverColour2 = element.PressedColour2 = buttonText;
        element.Image = LoadSkinBitmap(reader, imageName);
        if (keys.slot == SkinElement::Progress) {
            element.Style = ini.readInteger(section, QStringLiteral("Style"), 0);
            element.setMargins({ini.readInteger(section, QStringLiteral("LeftWidth"), 0),
                                ini.readInteger(section, QStringLiteral("TopHeight"), 0),
                                ini.readInteger(section, QStringLiteral("RightWidth"), 0),
                                ini.readInteger(section, QStringLiteral("BottomHeight"), 0)});
            element.Trans = ini.readInteger(section, QStringLiteral("Trans"), 0);
            element.Tile = std::min(ini.readInteger(section, QStringLiteral("Tile"), 0), 1);
            continue;
        }
        if (keys.slot == SkinElement::MenuBar) {
            element.Tile = std::min(ini.readInteger(section, QStringLiteral("TileMenu"), 1), 1);
            element.LeftWidth = ini.readInteger(section, QStringLiteral("TileLeftMenu"), 1);
            element.RightWidth = ini.readInteger(section, QStringLiteral("TileRightMenu"), 1);
            continue;
        }
        const bool frameKey = keys.frameKey && keys.frameDefault == 0;
        ReadStandardKeys(element, ini, section, frameKey, buttonText);
        if (keys.frameKey && keys.frameDefault != 0)
            element.FrameCount =
                ini.readInteger(section, QString::fromLatin1(keys.frameKey), keys.frameDefault);
        if (keys.secondImage) {
            static_cast<TDataSkinBorder&>(element).Image2 = LoadSkinBitmap(
                reader, ini.readString(section, QString::fromLatin1(keys.secondImage), {}));
        }
        if (keys.slot == SkinElement::GroupBox) {
            auto& box = static_cast<TDataSkinBoxLabel&>(element);
            box.BackgroundAlignment =
                ini.readInteger(section, QStringLiteral("BackgroundAlignment"), 0);
            box.BackgroundLeftShift =
                ini.readInteger(section, QStringLiteral("BackgroundLeftShift"), 0);
            box.BackgroundRightShift =
                ini.readInteger(section, QStringLiteral("BackgroundRightShift"), 0);
        }
        if (keys.slot == SkinElement::TabPane) {
            element.setMargins({std::min(element.LeftWidth, 4), std::min(element.TopHeight, 4),
                                std::min(element.RightWidth, 4),
                                std::min(element.BottomHeight, 4)});
        }
        if (keys.slot == SkinElement::SunkEdge) {
            if (TDataSkinBorder* combo = borderElement(SkinElement::ComboButton);
                combo && !combo->Image.isNull()) {
                combo->Image2 = mirroredFrames(combo->Image, ComboButtonFrames);
            }
        }
    }

    // Without a track of its own the skin takes the program's pictures.
    const std::pair<SkinElement, QImage (*)()> fallbacks[] = {
        {SkinElement::Track, TrackBitmap}, {SkinElement::TrackVert, TrackVertBitmap}};
    for (const auto& [slot, picture] : fallbacks) {
        auto& element = mElements[static_cast<int>(slot)];
        if (element)
            continue;
        element = std::make_unique<TDataSkinObject>(
            slot == SkinElement::Track ? QStringLiteral("Track") : QStringLiteral("TRACKVERT"));
        element->Image = picture();
        element->setMargins({3, 3, 3, 3});
        element->NormalColour2 = element->MouseOverColour2 = element->PressedColour2 = buttonText;
        element->FrameCount = 1;
    }

    // The fixed frame counts.
    mButtons->FrameCount = 5;
    auto checkFrames = [](qint32& frames, const QImage& image) {
        if (frames == 0)
            frames = std::max(image.width() / (image.height() < 16 ? 13 : 16), 4);
    };
    checkFrames(mButtons->RadioButtonFrame, mButtons->RadioImage);
    checkFrames(mButtons->CheckButtonFrame, mButtons->CheckImage);
    mTitle->FrameCount = 2;
    for (const ElementKeys& keys : Elements) {
        TDataSkinObject* element = this->element(keys.slot);
        if (!element)
            continue;
        if (keys.slot == SkinElement::Progress)
            element->FrameCount = element->Style != 0 ? 1 : 2;
        else if (keys.fixedFrames == FiveUnlessGiven && element->FrameCount == 0)
            element->FrameCount = 5;
        else if (keys.fixedFrames > 0)
            element->FrameCount = keys.fixedFrames;
    }

    makeCombo();
    makeComboxArrow();
    makeToolbar();
    mColours[colour::Frame] = frameColour();
    mButtonFaceBrush = QBrush(toQColor(mColours[colour::ButtonFace]));
    mNotLoaded = false;
}

void TSkinData::readColours(const TQuickIni& ini, const QStringList& sections) {
    const QString section = QStringLiteral("Colours");
    mColourGiven.fill(false);
    for (const ColourKey& key : ColourKeys) {
        const SkinColor fallback =
            key.systemIndex < 0 ? mColours[colour::ButtonFace] : systemColour(key.systemIndex);
        SkinColor value = fallback;
        mColourGiven[key.index] =
            ParseSkinColour(ini.readString(section, QString::fromLatin1(key.key), {}), value);
        mColours[key.index] = value;
    }
    mExtraColours.clear();
    for (const QString& name : sections) {
        const QString upper = name.toUpper();
        if (upper.startsWith(QLatin1String("COLOUR")) && upper != QLatin1String("COLOURS")) {
            mExtraColours.push_back(ReadSkinColour(ini, name, QStringLiteral("color"),
                                                   systemColour(syscolor::WindowText)));
        }
    }
    for (int i = 0; i < 10; ++i) {
        mCustomColours[i] = ReadSkinColour(ini, QStringLiteral("Customcolors"),
                                           QStringLiteral("Color%1").arg(i), rgb(255, 255, 255));
    }
}

void TSkinData::readCaptionButtons(const TSkinReader& reader, const TQuickIni& ini,
                                   const QStringList& sections) {
    mCaptionButtons.clear();
    const QStringList excluded = {QStringLiteral("BUTTON"), QStringLiteral("BUTTONS"),
                                  QStringLiteral("BUTTON.RADIO"),
                                  QStringLiteral("BUTTON.CHECKBOX")};
    bool remembered = false;
    int rememberedX = 0, rememberedY = 0;
    for (const QString& section : sections) {
        const QString upper = section.toUpper();
        if (!upper.startsWith(QLatin1String("BUTTON")) || excluded.contains(upper))
            continue;
        const int action = ini.readInteger(section, QStringLiteral("Action"), 0);
        if (action == -1 && ini.readInteger(section, QStringLiteral("Visibility"), -1) != 0)
            continue;

        auto button = std::make_unique<TDataSkinSysButton>(upper);
        button->Action = action;
        button->Align = ini.readInteger(section, QStringLiteral("Align"), 0);
        button->Xcoord = ini.readInteger(section, QStringLiteral("Xcoord"), 0);
        button->Ycoord = ini.readInteger(section, QStringLiteral("Ycoord"), 0);
        button->Visibility = ini.readInteger(section, QStringLiteral("Visibility"), 0);
        button->Visibility1 =
            ini.readInteger(section, QStringLiteral("Visibility1"), action == -1 ? -1 : 0);
        button->CombineOp = ini.readInteger(section, QStringLiteral("CombineOp"), -1);
        button->FrameCount = ini.readInteger(section, QStringLiteral("frame"), 0);
        button->Image =
            LoadSkinBitmap(reader, ini.readString(section, QStringLiteral("ButtonImage"), {}));
        button->NormalColour2 = button->MouseOverColour2 = button->PressedColour2 =
            mColours[colour::ButtonText];

        if (button->Action == 1 && button->Visibility == 2) {
            remembered = true;
            rememberedX = button->Xcoord;
            rememberedY = button->Ycoord;
        } else if (button->Action == 4) {
            button->Xcoord = remembered ? rememberedX : 0;
            button->Ycoord = remembered ? rememberedY : 0;
        }
        if (button->FrameCount == 0) {
            button->FrameCount = 6;
            if (!button->Image.isNull()) {
                const double ratio = double(button->Image.width()) / button->Image.height();
                button->FrameCount = ratio <= 3.8 ? 3 : 6;
            }
            if (button->Action < 0)
                button->FrameCount = 6;
            if (button->Action == 3 || button->Action == 11)
                button->Image = QImage();
        }
        mCaptionButtons.push_back(std::move(button));
    }

    // The three buttons of a maximized child window.
    const QImage controls = LoadSkinBitmap(
        reader, ini.readString(QStringLiteral("MDICONTROLS"), QStringLiteral("Image"), {}));
    for (int k = 0; k < 3; ++k) {
        auto button =
            std::make_unique<TDataSkinSysButton>(QStringLiteral("MDIBUTTON%1").arg(7 + k));
        button->Action = 7 + k;
        button->Align = button->Visibility = button->Visibility1 = 100;
        button->FrameCount = 4;
        button->NormalColour2 = button->MouseOverColour2 = button->PressedColour2 =
            mColours[colour::ButtonText];
        if (!controls.isNull()) {
            const int a = controls.width() / 12;
            button->Image = controls.copy(4 * a * k, 0, 4 * a, controls.height());
            button->Xcoord = (a + 4) * (3 - k);
        }
        mCaptionButtons.push_back(std::move(button));
    }
}

void TSkinData::readButtons(const TSkinReader& reader, const TQuickIni& ini) {
    const QString section = QStringLiteral("Buttons");
    TDataSkinButton& b = *mButtons;
    b.setMargins({ini.readInteger(section, QStringLiteral("LeftWidth"), 0),
                  ini.readInteger(section, QStringLiteral("TopHeight"), 0),
                  ini.readInteger(section, QStringLiteral("RightWidth"), 0),
                  ini.readInteger(section, QStringLiteral("BottomHeight"), 0)});
    b.Trans = ini.readInteger(section, QStringLiteral("Trans"), 0);
    b.Tile = ini.readInteger(section, QStringLiteral("Tile"), 0);
    if (b.Tile > 1)
        b.Tile = 0;
    b.Image = LoadSkinBitmap(reader, ini.readString(section, QStringLiteral("Bitmap"), {}));
    b.CheckImage =
        LoadSkinBitmap(reader, ini.readString(section, QStringLiteral("CheckButton"), {}));
    b.RadioImage =
        LoadSkinBitmap(reader, ini.readString(section, QStringLiteral("RadioButton"), {}));
    b.NormalColour = ini.readInteger(section, QStringLiteral("NormalColour"), -1);
    b.MouseOverColour = ini.readInteger(section, QStringLiteral("MouseOverColour"), -1);
    b.PressedColour = ini.readInteger(section, QStringLiteral("PressedColour"), -1);
    b.RadioButtonFrame = ini.readInteger(section, QStringLiteral("RadioButtonFrame"), 0);
    b.CheckButtonFrame = ini.readInteger(section, QStringLiteral("CheckButtonFrame"), 0);
    const SkinColor buttonText = mColours[colour::ButtonText];
    b.NormalColour2 = b.MouseOverColour2 = b.PressedColour2 = buttonText;
    b.NormalColour2Given = ParseSkinColour(
        ini.readString(section, QStringLiteral("NormalColour2"), {}), b.NormalColour2);
    b.MouseOverColour2Given = ParseSkinColour(
        ini.readString(section, QStringLiteral("MouseOverColour2"), {}), b.MouseOverColour2);
    b.PressedColour2Given = ParseSkinColour(
        ini.readString(section, QStringLiteral("PressedColour2"), {}), b.PressedColour2);
}

void TSkinData::readTitle(const TSkinReader& reader, const TQuickIni& ini) {
    TDataSkinTitle& t = *mTitle;
    t.Image = LoadSkinBitmap(reader, ini.readString(Personality, QStringLiteral("TextBack"), {}));
    auto number = [&](const char* key) {
        return ini.readInteger(Personality, QString::fromLatin1(key), 0);
    };
    t.TextShift() = number("TextShift");
    t.TextShiftVert() = number("TextShiftVert");
    t.TextRightClip() = number("TextRightClip");
    t.TextAlignment = number("TextAlignment");
    t.Textbackground = number("Textbackground");
    t.TXTBackleft = number("TXTBackleft");
    t.TXTBackRight = number("TXTBackRight");
    t.FontHeight = ini.readInteger(QStringLiteral("Fonts"), QStringLiteral("FontHeight"), 14);
    auto textColour = [&](const char* prefix) {
        int channels[3];
        const char* suffixes[] = {"R", "G", "B"};
        for (int i = 0; i < 3; ++i) {
            channels[i] = ini.readInteger(Personality,
                                          QLatin1String(prefix) + QLatin1String(suffixes[i]), -1);
            if (channels[i] < 0)
                return NoColour;
        }
        return rgb(channels[0] & 0xFF, channels[1] & 0xFF, channels[2] & 0xFF);
    };
    t.ActiveTextColour = textColour("ActiveText");
    t.InactiveTextColour = textColour("InActiveText");
}

int TSkinData::scrollArrowWidth() {
    return 17;
}

void TSkinData::makeCombo() {
    TDataSkinObject* sunk = element(SkinElement::SunkEdge);
    TDataSkinBorder* combo = borderElement(SkinElement::ComboButton);
    if (!sunk || !combo)
        return;
    const int w = scrollArrowWidth() + 2;
    const int cells = std::max(sunk->FrameCount, 1);
    QImage strip(50 * cells, 21, QImage::Format_RGB32);
    strip.fill(toQColor(Magenta));
    {
        QPainter painter(&strip);
        const TDataSkinObject* extra = element(SkinElement::ExtraImages);
        for (int n = 1; n <= cells; ++n) {
            const QRect cell(50 * (n - 1), 0, 50, 21);
            DrawFrame(painter, cell, sunk->Image, false, false, sunk->Trans != 0, sunk->FrameCount,
                      n, sunk->margins());
            const QRect button(cell.right() + 1 - w, 0, w, 21);
            DrawFrame(painter, button, combo->Image, false, false, true, combo->FrameCount, n,
                      combo->margins());
            if (extra)
                DrawFrameCentered(painter, button, extra->Image, true, extra->FrameCount, n);
            painter.fillRect(QRect(cell.x() + 2, 2, 47 - w, 16), toQColor(Magenta));
        }
    }
    combo->Style = 2;
    combo->setMargins({2, sunk->TopHeight, w + 2, sunk->BottomHeight});
    combo->Image = strip;
    sunk->Image = mirroredFrames(strip, cells);
    sunk->LeftWidth = w + 2;
    sunk->RightWidth = 2;
}

void TSkinData::makeComboxArrow() {
    if (!mComboxArrow)
        mComboxArrow = std::make_unique<TDataSkinObject>(QStringLiteral("ComboxArrow"));
    const TDataSkinObject* sunk = element(SkinElement::SunkEdge);
    const TDataSkinObject* combo = element(SkinElement::ComboButton);
    if (!combo)
        return;
    if (!sunk) {
        mComboxArrow->Image = combo->Image;
        ReplaceTransparentColor(mComboxArrow->Image, mColours[colour::ButtonFace]);
        mComboxArrow->Image = mComboxArrow->Image.convertToFormat(QImage::Format_RGB32);
        mComboxArrow->FrameCount = combo->FrameCount;
    } else if (combo->Style == 2) {
        const int cells = std::max(sunk->FrameCount, 1);
        const int fw = combo->Image.width() / cells;
        QImage arrows(17 * cells, 17, QImage::Format_RGB32);
        arrows.fill(toQColor(Magenta));
        QPainter painter(&arrows);
        for (int i = 0; i < cells; ++i)
            painter.drawImage(QPoint(17 * i, 0), combo->Image,
                              QRect(fw * (i + 1) - 19, 2, 17, 17) & combo->Image.rect());
        mComboxArrow->Image = arrows;
        mComboxArrow->FrameCount = sunk->FrameCount;
    }
}

void TSkinData::makeToolbar() {
    if (!mToolbar) {
        mToolbar = std::make_unique<TDataSkinObject>(QStringLiteral("Toolbar"));
        mToolbar->FrameCount = 1;
    }
    const SkinColor white = rgb(255, 255, 255);
    const SkinColor frame = frameColour();
    SkinColor bottom = Blend(rgb(128, 128, 128), frame, 150);
    if (const int level = SaturationLevel(frame); level > 110)
        bottom = Blend(frame, white, (5625 - 25 * level) / 140 + 50);
    QImage image(10, 40, QImage::Format_RGB32);
    QPainter painter(&image);
    GradientFill(painter, image.rect(), Blend(mColours[colour::ButtonFace], white, 150), true,
                 bottom);
    painter.end();
    mToolbar->Image = image;
}

SkinColor TSkinData::frameColour() const {
    const TDataSkinBorder& top = *mBorders[Top];
    if (top.Image.isNull())
        return mColours[colour::ButtonFace];
    const int frameHeight = top.Image.height() / std::max(top.FrameCount, 1);
    const QRgb pixel = top.Image.pixel(top.Image.width() / 3, frameHeight / 3);
    return rgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

void TSkinData::makeCaptionFont() {
    mCaptionFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
}

void TSkinData::makeApplicationIcon() {
    int size = 16;
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        size = application->style()->pixelMetric(QStyle::PM_SmallIconSize);
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    QGuiApplication::windowIcon().paint(&painter, icon.rect());
    painter.end();
    mApplicationIcon = KeyAlphaToMagenta(icon);
}

QImage TSkinData::drawMenuGlyphs() {
    QImage glyphs(64, 16, QImage::Format_RGB32);
    glyphs.fill(Qt::white);
    QPainter p(&glyphs);
    const QColor black(Qt::black);
    // A window outline: one-pixel sides and bottom, a top edge `top` pixels thick.
    auto window = [&](int x, int y, int w, int h, int top) {
        p.fillRect(x, y, w, h, black);
        p.fillRect(x + 1, y + top, w - 2, h - top - 1, Qt::white);
    };
    // 0 restore: a window behind another.
    window(5, 2, 9, 8, 2);
    p.fillRect(2, 5, 9, 8, Qt::white);
    window(2, 5, 9, 8, 2);
    // 1 maximize.
    window(16 + 3, 3, 10, 10, 2);
    // 2 minimize.
    p.fillRect(32 + 4, 7, 7, 2, black);
    // 3 close: two diagonals, two pixels thick.
    for (int i = 0; i < 8; ++i) {
        p.fillRect(48 + 4 + i, 4 + i, 2, 1, black);
        p.fillRect(48 + 10 - i, 4 + i, 2, 1, black);
    }
    p.end();
    return glyphs;
}

TDataSkinBorder* TSkinData::borderElement(SkinElement which) const {
    return dynamic_cast<TDataSkinBorder*>(element(which));
}

TDataSkinBoxLabel* TSkinData::groupBox() const {
    return dynamic_cast<TDataSkinBoxLabel*>(element(SkinElement::GroupBox));
}

void TSkinData::FormSkin(QWidget* window, const QString& className, bool& doSkin) {
    mLastVetoWindow = window;
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == QLatin1String("SysMonthCal32"))
        doSkin = false;
    else if (SkinControls.contains(TSkinControlType::xcFastReport) &&
             className.startsWith(QLatin1String("Tfr")))
        doSkin = false;
}

void TSkinData::SkinChanged() {
    if (OnSkinChanged)
        OnSkinChanged(this);
}

QWidget* TSkinData::captionHintWindow() const {
    return mHint;
}

void TSkinData::ShowCaptionHint(const QRect& rect, const QString& text) {
    if (!Options.contains(TSkinOption::xoCaptionButtonHint) || mHintShown)
        return;
    if (!mHint) {
        mHint = new QLabel(nullptr, Qt::ToolTip);
        mHint->setObjectName(QStringLiteral("CaptionButtonHint"));
        mHint->setWordWrap(true);
        mHint->setMargin(2);
    }
    mHint->setText(text);
    const QFontMetrics metrics(mHint->font());
    const QRect bounds = metrics.boundingRect(QRect(0, 0, 500, 10000), Qt::TextWordWrap, text);
    mHint->resize(bounds.size() + QSize(8, 6));
    mHint->move(rect.topLeft());
    mHint->show();
    mHintShown = true;
}

void TSkinData::HideCaptionHint() {
    if (mHint && mHintShown)
        mHint->hide();
    mHintShown = false;
}

} // namespace skin
