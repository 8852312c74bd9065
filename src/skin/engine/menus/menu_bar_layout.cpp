#include "skin/engine/menus/menu_bar_layout.h"

#include "skin/data/skin_data.h"
#include "skin/data/skin_paint.h"
#include "skin/engine/frame/form_frame_paint.h"

#include <QFontMetrics>
#include <QPainter>

namespace skin {

namespace {

// The caption as it is shown: accelerator marks taken out.
QString shownCaption(const QString& caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

bool opensMenu(const TMenuBtn& button) {
    return button.visible && button.enabled && button.hasDropDown && !button.caption.isEmpty();
}

} // namespace

void TMenuBtn::Paint() {
    owner().paintObject(*this);
}

int MenuCaptionWidth(const QString& caption, const QFontMetrics& menuFont) {
    return menuFont.horizontalAdvance(shownCaption(caption));
}

void LayoutMenuBar(MenuButtons& buttons, const QRect& bar, const QFontMetrics& menuFont,
                   const TDataSkinObject* menuBarElement, bool rightToLeft) {
    int indent = 6;
    if (menuBarElement) {
        indent = rightToLeft ? menuBarElement->RightWidth + 8 : menuBarElement->LeftWidth + 4;
        if (bar.width() < indent)
            indent = 12;
    }
    int x = rightToLeft ? bar.x() + bar.width() - indent : bar.x() + indent;
    for (auto& button : buttons) {
        if (!button->visible) {
            button->rect = QRect();
            continue;
        }
        const int captionWidth = MenuCaptionWidth(button->caption, menuFont);
        const int width = captionWidth > 0 ? captionWidth + 10 : 0;
        if (rightToLeft)
            x -= width;
        button->rect = QRect(x, bar.y(), width, bar.height() - 1);
        if (!rightToLeft)
            x += width;
    }
}

TMenuBtn* MenuButtonAt(const MenuButtons& buttons, QPoint point) {
    for (const auto& button : buttons)
        if (button->visible && !button->caption.isEmpty() && button->rect.contains(point))
            return button.get();
    return nullptr;
}

QChar MenuAccelerator(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i; // "&&" is a plain '&'
    }
    return {};
}

int MenuButtonForKey(const MenuButtons& buttons, QChar key) {
    for (const auto& button : buttons) {
        if (!button->visible || button->caption.isEmpty())
            continue;
        if (key.isNull() || MenuAccelerator(button->caption).toUpper() == key.toUpper())
            return button->index;
    }
    return -1;
}

int MenuLoopStep(int key, bool rightToLeft, bool atTopLevel, bool selectedHasSubMenu) {
    if (rightToLeft && (key == Qt::Key_Left || key == Qt::Key_Right))
        key = key == Qt::Key_Left ? Qt::Key_Right : Qt::Key_Left;
    if (key == Qt::Key_Left && atTopLevel)
        return -1;
    if (key == Qt::Key_Right && !selectedHasSubMenu)
        return 1;
    return 0;
}

int NextMenuButton(const MenuButtons& buttons, int index, int step) {
    const int count = static_cast<int>(buttons.size());
    if (count == 0)
        return -1;
    for (int k = 1; k < count; ++k) {
        const int next = ((index + step * k) % count + count) % count;
        if (opensMenu(*buttons[next]))
            return next;
    }
    return index;
}

QImage MenuBarBackground(QSize size, const TSkinData& data, bool active) {
    QImage picture(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    const TDataSkinObject* element = data.element(SkinElement::MenuBar);
    if (!element || element->Image.isNull()) {
        picture.fill(SkinQColor(data.colour(colour::Menubar)));
        return picture;
    }
    QPainter painter(&picture);
    const int frame = active ? 1 : 2;
    if (element->Tile == 1)
        DrawFrame(painter, picture.rect(), element->Image, true, false, false, 2, frame,
                  element->margins());
    else
        DrawHorzBar(painter, picture.rect(), element->Image, true, false, 2, frame,
                    element->margins());
    return picture;
}

void PaintMenuButton(QPainter& painter, const TMenuBtn& button, const QImage& background,
                     const QRect& bar, const TSkinData& data, const QFont& menuFont) {
    const QRect rect = button.rect;
    if (!button.visible || rect.isEmpty())
        return;
    painter.drawImage(rect.topLeft(), background, rect.translated(-bar.topLeft()));
    if (button.state == TNCObject::Pressed || button.state == TNCObject::MouseOver) {
        const QColor outline = SkinQColor(data.colour(colour::ButtonHilight));
        painter.fillRect(QRect(rect.x(), rect.y(), rect.width(), 1), outline);
        painter.fillRect(QRect(rect.x(), rect.bottom(), rect.width(), 1), outline);
        painter.fillRect(QRect(rect.x(), rect.y(), 1, rect.height()), outline);
        painter.fillRect(QRect(rect.right(), rect.y(), 1, rect.height()), outline);
    }
    const SkinColor systemShadow = static_cast<SkinColor>(0x80000000u | syscolor::ButtonShadow);
    painter.setPen(SkinQColor(button.enabled ? data.colour(colour::MenuBarText) : systemShadow));
    painter.setFont(menuFont);
    painter.drawText(rect,
                     Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic |
                         Qt::TextIncludeTrailingSpaces,
                     button.caption);
}

void PaintMenuBar(QPainter& painter, const QRect& bar, const QImage& background,
                  const MenuButtons& buttons, const TSkinData& data, const QFont& menuFont) {
    painter.drawImage(bar.topLeft(), background);
    for (const auto& button : buttons)
        PaintMenuButton(painter, *button, background, bar, data, menuFont);
}

} // namespace skin
