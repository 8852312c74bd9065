#pragma once

#include <QString>
#include <QtGlobal>

class QObject;
class QWidget;

// What the skin engine's decisions read from a window: the style bits the
// algorithms test, made from the widget's flags and state, and the window
// class name N of the decision tables, from one fixed table of Qt classes.
namespace skin {

// Style bits, with the values the algorithms test.
namespace ws {
constexpr quint32 Popup = 0x80000000, Child = 0x40000000, Minimize = 0x20000000,
                  Visible = 0x10000000, Disabled = 0x08000000, Maximize = 0x01000000,
                  Caption = 0x00C00000, VScroll = 0x00200000, HScroll = 0x00100000,
                  SysMenu = 0x00080000, ThickFrame = 0x00040000, MinimizeBox = 0x00020000,
                  MaximizeBox = 0x00010000;
// Extended style bits.
constexpr quint32 ExDlgModalFrame = 0x00000001, ExMdiChild = 0x00000040, ExToolWindow = 0x00000080,
                  ExContextHelp = 0x00000400, ExLayoutRtl = 0x00400000,
                  ExLeftScrollBar = 0x00004000, ExAppWindow = 0x00040000;
} // namespace ws

// The window facts of one widget.
struct WindowFacts {
    bool caption = false;
    bool systemMenu = false;
    bool minimizeBox = false;
    bool maximizeBox = false;
    bool contextHelp = false;
    bool thickFrame = false;
    bool popup = false;
    bool dialog = false;
    bool child = false;
    bool rightToLeft = false;
    bool visible = false;
    bool disabled = false;
    bool minimized = false;
    bool maximized = false;
    bool hScroll = false;
    bool vScroll = false;

    // The facts as style and extended style bits. The dynamic property
    // `skinStyle` (an integer) adds style bits that Qt has no flag for.
    quint32 style = 0;
    quint32 exStyle = 0;
};

WindowFacts windowFacts(const QWidget* widget);

// The class name N of the widget: the dynamic property `skinClass` when it is
// set, else the fixed table (QPushButton TButton, QLineEdit TEdit, QMessageBox
// "#32770", the program's windows their own class, ...). Unknown classes keep
// their Qt class name.
QString windowClassName(const QObject* object);

// True for the program's own windows (class TForm1, TForm2, ...).
bool isProgramForm(const QWidget* widget);

// True for widgets whose inner widgets belong to them (combo box, spin box,
// date picker, scroll areas, tab bar, menu bar, status bar, web view): the
// control traversal takes the widget and never its insides.
bool isCompoundWidget(const QWidget* widget);

// What the window system lets the program do with its top-level windows. On
// X11 the program places them and their outline (the window mask) cuts them;
// a Wayland compositor places windows itself, ignores a client's moves and
// takes the mask for input only.
bool programPlacesWindows();
bool outlineCutsWindows();

// The integer dynamic property `Tag` (0 when the widget has none).
int tagOf(const QObject* object);
void setTag(QObject* object, int tag);

} // namespace skin
