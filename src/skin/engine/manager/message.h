#pragma once

#include <QEvent>
#include <QtGlobal>

class QObject;

// The skin engine's messages. The algorithms test window-message codes; Qt
// events are mapped onto those codes, and the engine's private messages are
// custom event types that carry the very numbers the engine has always used.
namespace skin {

// One message as a skin object sees it. `event` is the Qt event it came from
// (null for a message sent with sendMessage). `handled` tells an answer of 0
// apart from nobody answering.
struct Message {
    int msg = 0;
    qintptr wParam = 0;
    qintptr lParam = 0;
    qintptr result = 0;
    bool handled = false;
    QEvent* event = nullptr;
    bool originalCalled = false; // the receiver's own handler has run
};

// Window messages the algorithms test.
namespace wm {
constexpr int Null = 0x0000, Destroy = 0x0002, Move = 0x0003, Size = 0x0005, Activate = 0x0006,
              SetFocus = 0x0007, KillFocus = 0x0008, Enable = 0x000A, SetText = 0x000C,
              Paint = 0x000F, Close = 0x0010, EraseBkgnd = 0x0014, ShowWindow = 0x0018,
              NcDestroy = 0x0082, NcActivate = 0x0086, KeyDown = 0x0100, KeyUp = 0x0101,
              Char = 0x0102, SysKeyDown = 0x0104, SysKeyUp = 0x0105, MouseMove = 0x0200,
              LButtonDown = 0x0201, LButtonUp = 0x0202, LButtonDblClk = 0x0203,
              RButtonDown = 0x0204, RButtonUp = 0x0205, RButtonDblClk = 0x0206,
              MButtonDown = 0x0207, MButtonUp = 0x0208, MButtonDblClk = 0x0209, MouseWheel = 0x020A,
              MouseLeave = 0x02A3;
} // namespace wm

// The framework's notifications the algorithms test.
namespace cm {
constexpr int FontChanged = 0xB008, EnabledChanged = 0xB00C, TextChanged = 0xB012,
              MouseEnter = 0xB013, MouseLeave = 0xB014;
} // namespace cm

// Key flags of a mouse message's wParam.
namespace mk {
constexpr int LButton = 0x0001, RButton = 0x0002, Shift = 0x0004, Control = 0x0008,
              MButton = 0x0010;
} // namespace mk

// The engine's private messages.
constexpr int SM_REFRESHFORM = 0x3401;
constexpr int SM_NCREPAINT = 0x3502;
constexpr int SM_SKININIT = 0x3503;
constexpr int SM_SETACTIVE = 0x3506;
constexpr int SM_CLOSETAB = 0x3507;
constexpr int SM_CAPTIONBUTTON = 0x3514;
constexpr int SM_CAPTIONVISIBLE = 0x3515;
constexpr int SM_MDIREDRAW = 0x3516;
constexpr int SM_RESKIN = 0x3517;
constexpr int SM_MENUCLICK = 0x3518;
constexpr int SM_ISSKINNED = 0x3523;
constexpr int SM_PAINTFRAME = 0xBC4B;
constexpr int SM_FRAMEQUERY = 0xBC4D;
constexpr int SM_FORMSKINNED = 0xBC4E;
// The fixed lParam of SM_PAINTFRAME, SM_FRAMEQUERY and SM_FORMSKINNED.
constexpr int SKINFRAME_MAGIC = 0x41A2;

// Every private message, in numeric order.
const int* privateMessages(int* count);

// Reserves every private message number as a Qt event type; true when Qt gave
// each number back unchanged. Runs once; later calls answer the first result.
bool registerSkinMessages();

// The Qt event that carries a private message (and, for sendMessage, the
// answer back to the sender).
class SkinMessageEvent : public QEvent {
public:
    explicit SkinMessageEvent(Message& message);
    // A posted message owns its copy.
    explicit SkinMessageEvent(const Message& message, bool owned);
    ~SkinMessageEvent() override;
    Message& message() { return *mMessage; }

private:
    Message* mMessage;
    bool mOwned;
};

// True for the event types that carry a private message.
bool isSkinMessage(const QEvent* event);
// The message an event carries, or null for other events.
Message* skinMessageOf(QEvent* event);

// Delivers the message at once; answers whether anybody handled it. The
// answer (result) is left in the message.
bool sendMessage(QObject* target, Message& message);
// The result of a sent message, or `unanswered` when nobody answered.
qintptr sendMessage(QObject* target, int msg, qintptr wParam, qintptr lParam,
                    qintptr unanswered = 0);
// Queues the message; it is delivered by the event loop.
void postMessage(QObject* target, int msg, qintptr wParam, qintptr lParam);

// The window-message code of a Qt event (0 for events without one), with the
// wParam and lParam the algorithms read from it. A private message gives its
// own message. Input events carry positions in the lParam as signed 16-bit x
// and y, and the key flags in the wParam.
Message messageFromEvent(QEvent* event);

// Marks the message as answered with `result`.
inline void answer(Message& message, qintptr result) {
    message.result = result;
    message.handled = true;
}

// Signed 16-bit halves of an lParam.
constexpr int loWordSigned(qintptr value) {
    return static_cast<qint16>(value & 0xFFFF);
}
constexpr int hiWordSigned(qintptr value) {
    return static_cast<qint16>((value >> 16) & 0xFFFF);
}
constexpr qintptr makeLParam(int low, int high) {
    return static_cast<qintptr>(static_cast<quint32>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}

} // namespace skin
