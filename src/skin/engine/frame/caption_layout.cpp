#include "skin/engine/frame/caption_layout.h"

#include "skin/data/skin_data.h"

#include <QFontMetrics>

#include <algorithm>

namespace skin {

namespace {

// A rectangle from its edges, right and bottom not included.
QRect edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

int rightOf(const QRect& rect) {
    return rect.x() + rect.width();
}

} // namespace

QString CaptionString(const QString& title) {
    return QStringLiteral("  ") + title + QLatin1Char(' ');
}

CaptionText LayoutCaptionText(const TDataSkinTitle& title, const FrameWindow& window,
                              const QRect& captionRect, int reservedRight,
                              const QFontMetrics& font) {
    // TDataSkinTitle keeps the shifts in its margins.
    const int shift = title.LeftWidth, shiftVert = title.TopHeight, rightClip = title.RightWidth;
    const int bl = title.TXTBackleft, br = title.TXTBackRight;
    const QString text = CaptionString(window.title);
    const QSize size = font.size(Qt::TextIncludeTrailingSpaces | Qt::TextExpandTabs, text);
    const int w = size.width(), h = size.height();
    const int L = captionRect.x(), R = rightOf(captionRect);
    const int blockWidth = w + bl + br;

    int left = 0;
    if (!window.rightToLeft) {
        switch (title.TextAlignment) {
        case 1:
            left = L + (R - L - blockWidth) / 2;
            break;
        case 2:
            left = R - rightClip - blockWidth;
            break;
        default:
            left = L + shift;
        }
    } else {
        switch (title.TextAlignment) {
        case 1:
            left = L + (R - reservedRight - L - blockWidth) / 2;
            break;
        case 2:
            left = L + shift;
            break;
        default:
            left = R - reservedRight - blockWidth;
        }
    }
    int right = left + blockWidth;
    if (window.rightToLeft && left - L < 1)
        left = shift;

    const int top = captionRect.y() + (captionRect.height() - h) / 2 + shiftVert / 2;
    if (window.rightToLeft) {
        left += 10;
        right += 10;
    } else if (window.popup) {
        if (reservedRight > 5)
            right = std::min(right, R - reservedRight - 5);
    } else {
        right = std::min(right, R - rightClip);
    }
    if (window.borderStyle == BorderDialog && title.TextAlignment == 0)
        left -= 16; // a dialog shows no icon

    CaptionText result;
    result.block = edges(left, top, right, top + h);
    result.textRect = edges(left + bl, top, right - br, top + h);
    result.rightToLeft = window.rightToLeft;
    result.text = w <= result.textRect.width()
                      ? text
                      : font.elidedText(text, Qt::ElideRight, std::max(result.textRect.width(), 0));
    return result;
}

int CaptionFitWidth(const TDataSkinTitle& title, FrameWindow window, const FrameSizes& frame,
                    int reservedRight, const QFontMetrics& font) {
    const QString whole = CaptionString(window.title);
    const int own = window.size.width();
    // The text's room grows with the width at most pixel for pixel.
    const int limit = own + font.horizontalAdvance(whole) + 1024;
    for (int width = own; width < limit; ++width) {
        window.size.setWidth(width);
        const QRect caption = CaptionRect(window.size, frame, window.minimized());
        if (LayoutCaptionText(title, window, caption, reservedRight, font).text == whole)
            return width;
    }
    return own;
}

QRect IconRect(const QRect& textRect, int iconSize) {
    return QRect(8, textRect.y() + (textRect.height() - iconSize) / 2, iconSize, iconSize);
}

TWinSysButton::TWinSysButton(NCObjectHost& owner, const TDataSkinSysButton& button)
    : TNCObject(owner), image(button.Image), frameCount(std::max(button.FrameCount, 1)),
      mButton(button) {}

int TWinSysButton::action() const {
    return mButton.Action;
}

bool TWinSysButton::showsIcon() const {
    return mButton.Action == 3 || mButton.Action == 11;
}

QSize TWinSysButton::frameSize() const {
    if (image.isNull())
        return {};
    return QSize(image.width() / std::max(frameCount, 1), image.height());
}

int TWinSysButton::paintFrame(bool active) const {
    return frameCount < 4 || (active && enabled) ? 1 : 4;
}

int TWinSysButton::stateFrame() const {
    if (!enabled)
        return frameCount > 3 ? 4 : 1;
    if (mButton.Visibility == 100 && state == MouseOver)
        return 4;
    return state;
}

void TWinSysButton::Paint() {
    owner().paintObject(*this);
}

CaptionButtons MakeCaptionButtons(NCObjectHost& owner, const TSkinData& data,
                                  const QImage& iconBitmap) {
    CaptionButtons buttons;
    for (const auto& skinButton : data.captionButtons()) {
        auto button = std::make_unique<TWinSysButton>(owner, *skinButton);
        if (button->showsIcon()) {
            if (button->image.isNull())
                button->image = iconBitmap;
            button->frameCount = 1;
        }
        buttons.push_back(std::move(button));
    }
    return buttons;
}

bool VisibilityAllows(int code, bool first, int action, const FrameWindow& window,
                      const CaptionVisibleQuery& query) {
    const bool someBox = window.minimizeBox || window.maximizeBox;
    switch (code) {
    case 0:
        return true;
    case 1:
        return window.maximized();
    case 2:
        return !window.maximized();
    case 3:
        return window.active;
    case 4:
        return !window.active;
    case 6:
    case 8:
        return first ? someBox && window.systemMenu : someBox;
    case 7:
        return !window.maximizeBox;
    case 9:
        return !window.minimizeBox;
    case 10:
        return first ? window.contextHelp && !someBox : window.contextHelp;
    case 200:
        return first && window.borderStyle == BorderDialog && !window.systemDialog;
    default:
        break;
    }
    if (code > 200 && code < 1000)
        return first;
    if (code >= 1000 && code <= 2000)
        return first && query && query(code, action) > 0;
    return false; // -1, 100 (no child windows here) and unknown codes
}

CaptionButtonShow CaptionButtonShown(const TDataSkinSysButton& button, const FrameWindow& window,
                                     const CaptionVisibleQuery& query) {
    CaptionButtonShow show;
    show.visible = VisibilityAllows(button.Visibility, true, button.Action, window, query) &&
                   VisibilityAllows(button.Visibility1, false, button.Action, window, query);
    switch (button.Action) {
    case 0:
        show.visible = show.visible && window.systemMenu;
        break;
    case 1:
        show.enabled = window.maximizeBox && window.systemMenu;
        break;
    case 2:
        show.enabled = window.minimizeBox && window.systemMenu;
        break;
    case 3:
    case 11:
    case 12:
        show.visible = show.visible && window.borderStyle != BorderDialog;
        break;
    default:
        break;
    }
    return show;
}

int ReservedRightWidth(const CaptionButtons& buttons) {
    int reserved = 0;
    for (const auto& button : buttons)
        if (button->visible && button->button().Align == 1 && !button->image.isNull())
            reserved = std::max(reserved, button->button().Xcoord);
    return reserved;
}

QRect CaptionButtonRect(const TWinSysButton& button, int windowWidth, const QRect& textBlock) {
    const TDataSkinSysButton& b = button.button();
    const QSize size = button.frameSize();
    switch (b.Align) {
    case 0:
        return QRect(QPoint(b.Xcoord, b.Ycoord), size);
    case 1:
        return QRect(QPoint(windowWidth - b.Xcoord, b.Ycoord), size);
    case 2:
    case 8:
        return QRect(QPoint(textBlock.x() - size.width() - b.Xcoord, b.Ycoord), size);
    case 3:
    case 9:
        return QRect(QPoint(rightOf(textBlock) + b.Xcoord, b.Ycoord), size);
    default:
        return {};
    }
}

CaptionLayout LayoutCaption(const TSkinData& data, const FrameWindow& window,
                            const FrameSizes& frame, CaptionButtons& buttons,
                            const QFontMetrics& captionFont, const CaptionVisibleQuery& query) {
    for (auto& button : buttons) {
        const CaptionButtonShow show = CaptionButtonShown(button->button(), window, query);
        button->visible = show.visible;
        button->enabled = show.enabled;
    }
    CaptionLayout layout;
    layout.caption = CaptionRect(window.size, frame, window.minimized());
    layout.reservedRight = ReservedRightWidth(buttons);
    layout.text =
        LayoutCaptionText(*data.title(), window, layout.caption, layout.reservedRight, captionFont);
    layout.icon = IconRect(layout.text.textRect);
    for (auto& button : buttons) {
        button->rect = button->visible && !button->image.isNull()
                           ? CaptionButtonRect(*button, window.size.width(), layout.text.block)
                           : QRect();
    }
    return layout;
}

TWinSysButton* CaptionButtonAt(const CaptionButtons& buttons, QPoint point) {
    for (const auto& button : buttons)
        if (button->visible && button->action() >= 0 && button->rect.contains(point))
            return button.get();
    return nullptr;
}

CaptionCommand ActionCommand(int action, bool enabled, int windowState) {
    switch (action) {
    case 0:
        return CaptionCommand::Close;
    case 1:
    case 22:
        if (!enabled)
            return CaptionCommand::None;
        return windowState == WindowMaximized ? CaptionCommand::Restore : CaptionCommand::Maximize;
    case 2:
    case 23:
        if (!enabled)
            return CaptionCommand::None;
        return windowState == WindowMinimized ? CaptionCommand::Restore : CaptionCommand::Minimize;
    case 3:
    case 11:
    case 12:
        return CaptionCommand::SystemMenu;
    case 4:
        return CaptionCommand::ContextHelp;
    case 7:
    case 8:
    case 9:
    case 60:
    case 61:
    case 62:
        return CaptionCommand::None; // buttons of maximized child windows
    default:
        return CaptionCommand::CaptionButtonMessage;
    }
}

CaptionCommand DoubleClickCommand(const TWinSysButton* at, const FrameWindow& window) {
    if (at)
        return at->showsIcon() ? CaptionCommand::Close : CaptionCommand::None;
    if (window.windowState != WindowNormal)
        return CaptionCommand::Restore;
    return window.maximizeBox ? CaptionCommand::Maximize : CaptionCommand::None;
}

QString CaptionHintText(int action, int windowState) {
    switch (action) {
    case 0:
    case 9:
    case 62:
        return QStringLiteral("Close");
    case 1:
    case 22:
        return windowState == WindowMaximized ? QStringLiteral("Restore")
                                              : QStringLiteral("Maximize");
    case 2:
    case 23:
        return windowState == WindowMinimized ? QStringLiteral("Restore")
                                              : QStringLiteral("Minimize");
    case 7:
    case 60:
        return QStringLiteral("Minimize");
    case 8:
    case 61:
        return QStringLiteral("Restore");
    default:
        return {};
    }
}

HintCounter::Phase HintCounter::tick(int hintPause, int hintHidePause) {
    mCounter += Tick;
    if (mCounter < 2 * hintPause)
        return Waiting;
    return mCounter <= 2 * hintPause + hintHidePause ? Shown : Over;
}

QPoint HintPosition(const QRect& button, QPoint windowTopLeft, int cursorScreenY) {
    return QPoint(button.x() + windowTopLeft.x(), cursorScreenY + 24);
}

} // namespace skin
