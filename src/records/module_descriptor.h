#pragma once

// Everything in which the record windows differ. One record-window class
// builds any of them from its descriptor.

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace records {

enum class BoxKind {
    Line,     // single-line box
    Memo,     // multi-line with horizontal and vertical scroll bars
    MemoVert, // multi-line with a vertical scroll bar
    Combo,    // editable drop-down box
};

struct BoxSpec {
    QString name;  // object name, e.g. BiaoTi
    QString label; // e.g. "标题:"
    BoxKind kind = BoxKind::Line;
};

struct ColumnBox {
    QString column; // column of data
    QString box;    // box whose text goes there
};

struct WordListLoad {
    QString box;  // the drop-down box to fill
    QString file; // word list file beside the executable
};

enum class Creation {
    Unguarded, // errors of creation are shown in the standard error box
    Guarded,   // word lists, connection and first refresh in one silent block
};

enum class WheelNavigation {
    None,
    AfterCreation, // installed after the first refresh, only when creation got that far
    Always,        // installed after the creation block, also when it failed
};

enum class ButtonLayout { Stacked, Row };

struct ModuleDescriptor {
    QString windowClass; // TForm11
    QString caption;
    QString pageCaption;
    QSize size;

    QString databaseFile;
    QString listQuery;
    std::vector<int> columnWidths;
    QString countPrefix = QStringLiteral("共");
    QString countSuffix = QStringLiteral("个记录");

    std::vector<BoxSpec> boxes; // in screen order
    bool hasIdBox = true;
    std::vector<WordListLoad> wordLists; // in loading order

    QStringList refreshClears;

    QStringList addRequired; // tested in order; the add stops at the first empty one
    QString addMessage;
    std::vector<ColumnBox> addColumns;
    QStringList addClears;

    QString editButton;       // object name; empty when the window has no edit
    QStringList editRequired; // at least one must be non-empty
    QString editMessage;
    std::vector<ColumnBox> editColumns;
    QStringList editClears;

    std::vector<std::pair<int, QString>> rowLoad; // field position -> box; empty: none

    Creation creation = Creation::Unguarded;
    WheelNavigation wheel = WheelNavigation::None;

    // Object names of the buttons in screen order (Add, the edit button, SX, Del).
    QStringList buttonOrder;
    ButtonLayout buttonLayout = ButtonLayout::Stacked;
    bool gridOnPage = false;       // the grid sits on the list page instead of below the pages
    bool entryGroupBox = false;    // boxes and buttons in a group box of their own
    QList<int> statusPanels = {0}; // widths of the status bar's panels; 0: the rest
};

// The descriptors of the record modules, by window class.
const ModuleDescriptor& memoDescriptor();        // TForm11
const ModuleDescriptor& notepadDescriptor();     // TForm4
const ModuleDescriptor& remittanceDescriptor();  // TForm5
const ModuleDescriptor& staffLeaveDescriptor();  // TForm6
const ModuleDescriptor& salaryDescriptor();      // TForm7
const ModuleDescriptor& electricityDescriptor(); // TForm9
const ModuleDescriptor& salesDescriptor();       // TForm2
const ModuleDescriptor& purchaseDescriptor();    // TForm3
const ModuleDescriptor& addressBookDescriptor(); // TForm8

} // namespace records
