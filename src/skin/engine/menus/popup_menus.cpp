#include "skin/engine/menus/popup_menus.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/manager/message.h"

#include <QApplication>
#include <QHash>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace skin {

namespace {

QHash<const QWidget*, TWinSkinPopMenu*>& wrappers() {
    static QHash<const QWidget*, TWinSkinPopMenu*> table;
    return table;
}

SkinColor colourOf(const TSkinData& data, int index) {
    return ColorToRGB(data.colour(index));
}

SkinColor systemShadow() {
    return ColorToRGB(static_cast<SkinColor>(0xFF000000u | syscolor::ButtonShadow));
}

// The caption and the shortcut of an item's text.
struct ItemText {
    QString caption;
    QString shortcut;
};
ItemText splitText(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0)
        return {text, {}};
    return {text.left(tab), text.mid(tab + 1)};
}

// The room between a caption and its shortcut.
constexpr int ShortcutGap = 16;

QFont itemFont(const QStyleOptionMenuItem& item) {
    QFont font = item.font;
    if (item.menuItemType == QStyleOptionMenuItem::DefaultItem)
        font.setBold(true);
    return font;
}

// What the menu itself measures for an item: its text (caption, gap,
// shortcut) and a line of the menu font with room for a 16-pixel glyph; a
// separator half as high.
QSize measuredItem(const QStyleOptionMenuItem& item) {
    const QFontMetrics metrics(itemFont(item));
    const int height = std::max(metrics.height() + 6, 20);
    if (item.menuItemType == QStyleOptionMenuItem::Separator)
        return {0, height / 2};
    const ItemText text = splitText(item.text);
    int width = metrics.horizontalAdvance(QString(text.caption).remove(QLatin1Char('&')));
    const int shortcut =
        std::max(item.reservedShortcutWidth,
                 text.shortcut.isEmpty() ? 0 : metrics.horizontalAdvance(text.shortcut));
    if (shortcut > 0)
        width += ShortcutGap + shortcut;
    return {width, height};
}

// A separator: the pieces of MenuItem's frame 2 composed at the item's size
// (nearest pixels, no blending), then copied with magenta left out.
void drawSeparator(QPainter& dc, const QRect& rect, const TDataSkinObject& item) {
    const QRect frame = FrameRect(item.Image, false, 5, 2);
    const QImage source = item.Image.copy(frame).convertToFormat(QImage::Format_RGB32);
    QImage composed(rect.size(), QImage::Format_RGB32);
    composed.fill(QColor(255, 0, 255));
    QPainter c(&composed);
    for (const ImagePiece& piece :
         SeparatorPieces(QRect(QPoint(0, 0), frame.size()), item.margins(), rect.size()))
        c.drawImage(piece.target, source, piece.source);
    c.end();
    DrawMasked(dc, rect, composed);
}

// The check mark of an item without a picture, centred in the glyph column.
void drawCheckMark(QPainter& dc, const QRect& column, const QColor& colour) {
    const QPoint c = column.center();
    const QPolygon mark({c + QPoint(-3, 0), c + QPoint(-1, 2), c + QPoint(3, -2)});
    QPen pen(colour, 2);
    dc.save();
    dc.setPen(pen);
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.drawPolyline(mark);
    dc.restore();
}

// The arrow of an item that opens a submenu, in the room after the shortcut.
void drawSubmenuArrow(QPainter& dc, const QRect& item, bool rightToLeft, const QColor& colour) {
    const int y = item.center().y();
    const int x = rightToLeft ? item.left() + 5 : item.right() - 5;
    const int d = rightToLeft ? 3 : -3;
    dc.save();
    dc.setPen(Qt::NoPen);
    dc.setBrush(colour);
    dc.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + d, y - 3), QPoint(x + d, y + 3)}));
    dc.restore();
}

// The engine's style of skinned menus: set on a menu only while it is wrapped.
class SkinMenuStyle : public QProxyStyle {
public:
    SkinMenuStyle() { setParent(qApp); }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (TWinSkinPopMenu::of(widget)) {
            switch (metric) {
            case PM_MenuPanelWidth:
                return MenuBorderWidth;
            case PM_MenuHMargin:
            case PM_MenuVMargin:
                return 0;
            default:
                break;
            }
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        TWinSkinPopMenu* wrapper = TWinSkinPopMenu::of(widget);
        if (type != CT_MenuItem || !item || !wrapper || !wrapper->skinData())
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        const TDataSkinObject* element = wrapper->skinData()->element(SkinElement::MenuItem);
        MenuMeasureInput in;
        in.owner = wrapper->owner();
        in.separator = item->menuItemType == QStyleOptionMenuItem::Separator;
        in.measured = measuredItem(*item);
        in.hasImageList = item->maxIconWidth > 0;
        in.menuItemLeftWidth = element ? element->LeftWidth : 0;
        return MenuItemSize(in);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        TWinSkinPopMenu* wrapper = TWinSkinPopMenu::of(widget);
        if ((element == PE_PanelMenu || element == PE_FrameMenu) && wrapper && widget) {
            if (element == PE_PanelMenu)
                paintBackground(*wrapper, *painter, widget->rect(), widget->size());
            else if (wrapper->backgroundFor(widget->size()).isNull())
                QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        TWinSkinPopMenu* wrapper = TWinSkinPopMenu::of(widget);
        if (wrapper && wrapper->skinData() && widget && item) {
            if (element == CE_MenuEmptyArea) {
                paintBackground(*wrapper, *painter, option->rect, widget->size());
                return;
            }
            if (element == CE_MenuItem) {
                drawItem(*wrapper, *item, *painter, widget->size());
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    static void paintBackground(TWinSkinPopMenu& wrapper, QPainter& dc, const QRect& rect,
                                QSize menuSize) {
        const QImage& background = wrapper.backgroundFor(menuSize);
        if (background.isNull()) {
            dc.fillRect(rect, SkinQColor(colourOf(*wrapper.skinData(), colour::Menu)));
            return;
        }
        dc.drawImage(rect, background, rect);
    }

    static void drawItem(TWinSkinPopMenu& wrapper, const QStyleOptionMenuItem& item, QPainter& dc,
                         QSize menuSize) {
        const TSkinData& data = *wrapper.skinData();
        const TDataSkinObject* element = data.element(SkinElement::MenuItem);
        if (element && element->Image.isNull())
            element = nullptr;
        const QRect r = item.rect;
        const bool separator = item.menuItemType == QStyleOptionMenuItem::Separator;
        const bool selected = (item.state & State_Selected) && !separator;
        const bool enabled = item.state & State_Enabled;
        const bool rightToLeft = item.direction == Qt::RightToLeft;

        dc.save();
        dc.setClipRect(r);
        if (element) {
            paintBackground(wrapper, dc, r, menuSize);
            if (separator) {
                drawSeparator(dc, r, *element);
                dc.restore();
                return;
            }
            DrawElementFrame(dc, r, 5, MenuItemFrame(false, selected), *element);
        } else {
            dc.fillRect(r, SkinQColor(colourOf(data, selected ? colour::Hilight : colour::Menu)));
            if (separator) {
                const int y = r.top() + 4;
                dc.setPen(SkinQColor(colourOf(data, colour::ButtonShadow)));
                dc.drawLine(r.left() + 1, y, r.right() - 1, y);
                dc.setPen(SkinQColor(colourOf(data, colour::ButtonHilight)));
                dc.drawLine(r.left() + 1, y + 1, r.right() - 1, y + 1);
                dc.restore();
                return;
            }
        }

        MenuContentInput in;
        in.item = r.size();
        in.imageWidth = item.maxIconWidth;
        in.checked = item.checked;
        in.menuItemLeftWidth = element ? element->LeftWidth : 0;
        in.rightToLeft = rightToLeft;
        const MenuItemContent content = MenuItemContentGeometry(in);
        const QRect column = content.glyphColumn.translated(r.topLeft());

        if (!item.icon.isNull()) {
            const int side = std::min({column.width(), column.height(), 16});
            const QRect place(column.x() + (column.width() - side) / 2,
                              column.y() + (column.height() - side) / 2, side, side);
            if (item.checked) {
                // A checked picture sits on a checkered face in a sunken edge.
                QBrush checkered(SkinQColor(colourOf(data, colour::ButtonHilight)),
                                 Qt::Dense4Pattern);
                dc.fillRect(place.adjusted(-1, -1, 1, 1),
                            SkinQColor(colourOf(data, colour::ButtonFace)));
                dc.fillRect(place.adjusted(-1, -1, 1, 1), checkered);
                dc.setPen(SkinQColor(colourOf(data, colour::ButtonShadow)));
                dc.drawLine(place.topLeft() + QPoint(-2, -2), place.topRight() + QPoint(2, -2));
                dc.drawLine(place.topLeft() + QPoint(-2, -2), place.bottomLeft() + QPoint(-2, 2));
                dc.setPen(SkinQColor(colourOf(data, colour::ButtonHilight)));
                dc.drawLine(place.bottomLeft() + QPoint(-2, 2), place.bottomRight() + QPoint(2, 2));
                dc.drawLine(place.topRight() + QPoint(2, -2), place.bottomRight() + QPoint(2, 2));
            }
            const QIcon::Mode mode = enabled ? QIcon::Normal : QIcon::Disabled;
            item.icon.paint(&dc, place, Qt::AlignCenter, mode);
        } else if (item.checked) {
            drawCheckMark(dc, column, SkinQColor(colourOf(data, colour::ButtonText)));
        }

        MenuColours colours;
        colours.menuText = colourOf(data, colour::MenuText);
        colours.hilightText = colourOf(data, colour::HilightText);
        colours.buttonShadow = colourOf(data, colour::ButtonShadow);
        colours.systemButtonShadow = systemShadow();
        const QColor text = SkinQColor(MenuItemTextColour(selected, enabled, colours));
        dc.setPen(text);
        dc.setFont(itemFont(item));
        const ItemText texts = splitText(item.text);
        const int flags =
            Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextShowMnemonic | Qt::AlignVCenter;
        auto align = [](TextAlignment a) {
            return a == TextAlignment::Right ? Qt::AlignRight : Qt::AlignLeft;
        };
        dc.drawText(content.caption.translated(r.topLeft()),
                    flags | align(content.captionAlignment), texts.caption);
        if (!texts.shortcut.isEmpty())
            dc.drawText(content.shortcut.translated(r.topLeft()),
                        flags | align(content.shortcutAlignment), texts.shortcut);
        if (item.menuItemType == QStyleOptionMenuItem::SubMenu)
            drawSubmenuArrow(dc, r, rightToLeft, text);
        dc.restore();
    }
};

SkinMenuStyle* menuStyle() {
    static QPointer<SkinMenuStyle> style;
    if (!style)
        style = new SkinMenuStyle;
    return style;
}

// The menu and the menus it opened from: a DisableTag on any of them keeps
// the items plain.
bool taggedOff(const QMenu* menu, const TSkinData* data) {
    for (const QWidget* w = menu; w; w = w->parentWidget()) {
        if (!qobject_cast<const QMenu*>(w))
            break;
        if (PropInt(w, QStringLiteral("Tag")) == data->DisableTag)
            return true;
    }
    return false;
}

} // namespace

TWinSkinPopMenu::TWinSkinPopMenu(QMenu* menu, TSkinData* skinData, MenuItemOwner owner)
    : mMenu(menu), mSkinData(skinData), mOwner(owner) {
    registerSkinMessages();
    if (!menu)
        return;
    menu->installEventFilter(this);
    mKey = menu;
    wrappers().insert(menu, this);
    if (skinData && !taggedOff(menu, skinData)) {
        mStyled = true;
        menu->setStyle(menuStyle());
    }
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
    Unwrap();
}

void TWinSkinPopMenu::Unwrap() {
    if (mMenu) {
        mMenu->removeEventFilter(this);
        if (mStyled && mMenu->style() == menuStyle())
            mMenu->setStyle(nullptr);
    }
    Forget();
}

void TWinSkinPopMenu::Forget() {
    if (wrappers().value(mKey) == this)
        wrappers().remove(mKey);
    mStyled = false;
    mMenu = nullptr;
}

TWinSkinPopMenu* TWinSkinPopMenu::of(const QWidget* menu) {
    TWinSkinPopMenu* wrapper = wrappers().value(menu);
    return wrapper && wrapper->mStyled ? wrapper : nullptr;
}

const QImage& TWinSkinPopMenu::backgroundFor(QSize size) {
    if (mBackground.size() == size || !mSkinData)
        return mBackground;
    const TDataSkinObject* element = mSkinData->element(SkinElement::MenuBackground);
    if (!element || element->Image.isNull()) {
        mBackground = QImage();
        return mBackground;
    }
    mBackground =
        StretchFrame(size, element->Image, element->margins(), false, element->Tile != 0, 1, 1);
    return mBackground;
}

bool TWinSkinPopMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != mMenu)
        return false;
    Message* m = skinMessageOf(event);
    if (m && m->msg == SM_ISSKINNED) {
        answer(*m, 1);
        return true;
    }
    return false;
}

} // namespace skin
