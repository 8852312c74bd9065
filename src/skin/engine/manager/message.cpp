#include "skin/engine/manager/message.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <iterator>

namespace skin {

namespace {

constexpr int PrivateMessages[] = {
    SM_REFRESHFORM,   SM_NCREPAINT,      SM_SKININIT,   SM_SETACTIVE,   SM_CLOSETAB,
    SM_CAPTIONBUTTON, SM_CAPTIONVISIBLE, SM_MDIREDRAW,  SM_RESKIN,      SM_MENUCLICK,
    SM_ISSKINNED,     SM_PAINTFRAME,     SM_FRAMEQUERY, SM_FORMSKINNED,
};

qintptr keyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    qintptr flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= mk::LButton;
    if (buttons & Qt::RightButton)
        flags |= mk::RButton;
    if (buttons & Qt::MiddleButton)
        flags |= mk::MButton;
    if (modifiers & Qt::ShiftModifier)
        flags |= mk::Shift;
    if (modifiers & Qt::ControlModifier)
        flags |= mk::Control;
    return flags;
}

int buttonMessage(Qt::MouseButton button, int left, int right, int middle) {
    switch (button) {
    case Qt::LeftButton:
        return left;
    case Qt::RightButton:
        return right;
    case Qt::MiddleButton:
        return middle;
    default:
        return wm::Null;
    }
}

} // namespace

const int* privateMessages(int* count) {
    *count = static_cast<int>(std::size(PrivateMessages));
    return PrivateMessages;
}

bool registerSkinMessages() {
    static const bool allKept = [] {
        bool kept = true;
        for (int number : PrivateMessages)
            kept = QEvent::registerEventType(number) == number && kept;
        return kept;
    }();
    return allKept;
}

SkinMessageEvent::SkinMessageEvent(Message& message)
    : QEvent(static_cast<QEvent::Type>(message.msg)), mMessage(&message), mOwned(false) {}

SkinMessageEvent::SkinMessageEvent(const Message& message, bool owned)
    : QEvent(static_cast<QEvent::Type>(message.msg)), mMessage(new Message(message)),
      mOwned(owned) {}

SkinMessageEvent::~SkinMessageEvent() {
    if (mOwned)
        delete mMessage;
}

bool isSkinMessage(const QEvent* event) {
    const int type = event->type();
    return std::binary_search(std::begin(PrivateMessages), std::end(PrivateMessages), type) &&
           dynamic_cast<const SkinMessageEvent*>(event);
}

Message* skinMessageOf(QEvent* event) {
    if (!isSkinMessage(event))
        return nullptr;
    return &static_cast<SkinMessageEvent*>(event)->message();
}

bool sendMessage(QObject* target, Message& message) {
    message.handled = false;
    if (!target)
        return false;
    registerSkinMessages();
    SkinMessageEvent event(message);
    QCoreApplication::sendEvent(target, &event);
    return message.handled;
}

qintptr sendMessage(QObject* target, int msg, qintptr wParam, qintptr lParam, qintptr unanswered) {
    Message message{msg, wParam, lParam};
    return sendMessage(target, message) ? message.result : unanswered;
}

void postMessage(QObject* target, int msg, qintptr wParam, qintptr lParam) {
    if (!target)
        return;
    registerSkinMessages();
    QCoreApplication::postEvent(target, new SkinMessageEvent(Message{msg, wParam, lParam}, true));
}

Message messageFromEvent(QEvent* event) {
    if (Message* own = skinMessageOf(event))
        return *own;
    Message m;
    m.event = event;
    auto mouse = [&](int code) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->position().toPoint();
        m.msg = code;
        m.wParam = keyFlags(e->buttons() | e->button(), e->modifiers());
        m.lParam = makeLParam(at.x(), at.y());
    };
    switch (event->type()) {
    case QEvent::Paint:
        m.msg = wm::Paint;
        break;
    case QEvent::MouseMove:
        mouse(wm::MouseMove);
        break;
    case QEvent::MouseButtonPress:
        mouse(buttonMessage(static_cast<QMouseEvent*>(event)->button(), wm::LButtonDown,
                            wm::RButtonDown, wm::MButtonDown));
        break;
    case QEvent::MouseButtonRelease:
        mouse(buttonMessage(static_cast<QMouseEvent*>(event)->button(), wm::LButtonUp,
                            wm::RButtonUp, wm::MButtonUp));
        break;
    case QEvent::MouseButtonDblClick:
        mouse(buttonMessage(static_cast<QMouseEvent*>(event)->button(), wm::LButtonDblClk,
                            wm::RButtonDblClk, wm::MButtonDblClk));
        break;
    case QEvent::Leave:
        m.msg = wm::MouseLeave;
        break;
    case QEvent::Enter:
        m.msg = cm::MouseEnter;
        break;
    case QEvent::Wheel: {
        const auto* e = static_cast<QWheelEvent*>(event);
        const QPoint at = e->position().toPoint();
        m.msg = wm::MouseWheel;
        m.wParam = (static_cast<qintptr>(static_cast<quint16>(e->angleDelta().y())) << 16) |
                   keyFlags(e->buttons(), e->modifiers());
        m.lParam = makeLParam(at.x(), at.y());
        break;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* e = static_cast<QKeyEvent*>(event);
        const bool alt = e->modifiers() & Qt::AltModifier;
        if (event->type() == QEvent::KeyPress)
            m.msg = alt ? wm::SysKeyDown : wm::KeyDown;
        else
            m.msg = alt ? wm::SysKeyUp : wm::KeyUp;
        m.wParam = e->key();
        break;
    }
    case QEvent::FocusIn:
        m.msg = wm::SetFocus;
        break;
    case QEvent::FocusOut:
        m.msg = wm::KillFocus;
        break;
    case QEvent::Resize: {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        m.msg = wm::Size;
        m.lParam = makeLParam(size.width(), size.height());
        break;
    }
    case QEvent::Move:
        m.msg = wm::Move;
        break;
    case QEvent::Show:
        m.msg = wm::ShowWindow;
        m.wParam = 1;
        break;
    case QEvent::Hide:
        m.msg = wm::ShowWindow;
        m.wParam = 0;
        break;
    case QEvent::EnabledChange:
        m.msg = cm::EnabledChanged;
        break;
    case QEvent::WindowTitleChange:
        m.msg = wm::SetText;
        break;
    case QEvent::FontChange:
        m.msg = cm::FontChanged;
        break;
    case QEvent::WindowActivate:
        m.msg = wm::Activate;
        m.wParam = 1;
        break;
    case QEvent::WindowDeactivate:
        m.msg = wm::Activate;
        m.wParam = 0;
        break;
    case QEvent::Close:
        m.msg = wm::Close;
        break;
    default:
        break;
    }
    return m;
}

} // namespace skin
