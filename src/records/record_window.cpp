#include "records/record_window.h"

#include "platform/data_dir.h"
#include "platform/message_box.h"
#include "platform/status_bar.h"
#include "platform/stored_text.h"
#include "platform/word_list.h"
#include "records/entry_boxes.h"
#include "records/module_storage.h"
#include "records/result_model.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace records {

namespace {

const QString IdBox = QStringLiteral("ID");

// Set once a window has named an unreachable server while the program
// starts: the windows created after it do not wait for the server again (a
// server computer that is off answers nothing for seconds), and each
// connects at its first action instead.
bool serverUnreachableAtStart = false;

// A creation that did not try the server, for the reason above.
struct ServerNotTried {};

QString captionOf(const QString& buttonName, const ModuleDescriptor& d) {
    if (buttonName == QLatin1String("Add"))
        return QStringLiteral("添加");
    if (buttonName == QLatin1String("SX"))
        return QStringLiteral("刷新");
    if (buttonName == QLatin1String("Del"))
        return QStringLiteral("删除");
    if (buttonName == d.editButton)
        return QStringLiteral("编辑");
    return buttonName;
}

QString textOf(const QWidget* box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    if (const auto* memo = qobject_cast<const MemoBox*>(box))
        return memo->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->currentText();
    return {};
}

void setTextOf(QWidget* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else if (auto* memo = qobject_cast<MemoBox*>(box))
        memo->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(box))
        combo->setEditText(text);
}

} // namespace

RecordWindow::RecordWindow(const ModuleDescriptor& descriptor, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      mDescriptor(descriptor), mQuery(mConnection), mStatement(mConnection),
      mModel(std::make_unique<ResultModel>(mQuery)) {
    setObjectName(descriptor.windowClass);
    setWindowTitle(descriptor.caption);
    setAttribute(Qt::WA_QuitOnClose, false);
    buildWidgets();
    setFixedSize(descriptor.size);
    mQuery.setListener([this](platform::AdoQuery::Change change) { queryChanged(change); });
}

RecordWindow::~RecordWindow() {
    mQuery.setListener({});
}

QWidget* RecordWindow::makeBox(const BoxSpec& spec) {
    switch (spec.kind) {
    case BoxKind::Line:
        return makeLineBox(spec.name);
    case BoxKind::Memo:
    case BoxKind::MemoVert: {
        auto* memo = new MemoBox;
        memo->setObjectName(spec.name);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        if (spec.kind == BoxKind::Memo) {
            memo->setLineWrapMode(QPlainTextEdit::NoWrap);
            memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        }
        return memo;
    }
    case BoxKind::Combo:
        return makeDropDownBox(spec.name);
    }
    return nullptr;
}

void RecordWindow::buildWidgets() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(6);

    mPages = new QTabWidget;
    mPages->setObjectName(QStringLiteral("PageControl1"));
    mListPage = new QWidget;
    mListPage->setObjectName(QStringLiteral("TabSheet1"));
    mPages->addTab(mListPage, mDescriptor.pageCaption);
    mListPageLayout = new QVBoxLayout(mListPage);

    // Boxes with their labels on the left; the buttons stacked at the right
    // or in a row below them.
    auto* entry = new QHBoxLayout;
    auto* fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    int row = 0;
    bool hasMemo = false;
    for (const BoxSpec& spec : mDescriptor.boxes) {
        QWidget* box = makeBox(spec);
        auto* label = new QLabel(spec.label);
        label->setBuddy(box);
        const bool memo = spec.kind == BoxKind::Memo || spec.kind == BoxKind::MemoVert;
        hasMemo = hasMemo || memo;
        fields->addWidget(label, row, 0, memo ? Qt::AlignTop | Qt::AlignRight : Qt::AlignRight);
        fields->addWidget(box, row, 1);
        if (memo)
            fields->setRowStretch(row, 1);
        mBoxes.insert(spec.name, box);
        ++row;
    }
    if (mDescriptor.hasIdBox) {
        QLineEdit* id = makeLineBox(IdBox);
        id->setParent(mListPage);
        id->setVisible(false);
        mBoxes.insert(IdBox, id);
    }
    entry->addLayout(fields, 1);

    QBoxLayout* buttons = mDescriptor.buttonLayout == ButtonLayout::Stacked
                              ? static_cast<QBoxLayout*>(new QVBoxLayout)
                              : static_cast<QBoxLayout*>(new QHBoxLayout);
    for (const QString& name : mDescriptor.buttonOrder) {
        auto* button = new QPushButton(captionOf(name, mDescriptor));
        button->setObjectName(name);
        button->setMinimumWidth(75);
        buttons->addWidget(button);
        mButtons.insert(name, button);
    }
    // The boxes and buttons go straight onto the page, or into a group box
    // of their own at the start of a row that a window may extend.
    QBoxLayout* holder = mListPageLayout;
    if (mDescriptor.entryGroupBox) {
        mEntryRow = new QHBoxLayout;
        mListPageLayout->addLayout(mEntryRow, hasMemo ? 1 : 0);
        auto* group = new QGroupBox;
        group->setObjectName(QStringLiteral("GroupBox1"));
        mEntryRow->addWidget(group, 1);
        holder = new QVBoxLayout(group);
    }
    buttons->addStretch(1);
    if (mDescriptor.buttonLayout == ButtonLayout::Stacked) {
        entry->addLayout(buttons);
        holder->addLayout(entry, hasMemo ? 1 : 0);
    } else {
        holder->addLayout(entry, hasMemo ? 1 : 0);
        holder->addLayout(buttons);
    }

    mGrid = new QTableView;
    mGrid->setObjectName(QStringLiteral("DBGrid1"));
    mGrid->setModel(mModel.get());
    mGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->setWordWrap(false);
    mGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mGrid->verticalHeader()->setDefaultSectionSize(22);
    mGrid->verticalHeader()->setFixedWidth(14);
    mGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    mGrid->horizontalHeader()->setHighlightSections(false);
    connect(mGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChanged(current.row()); });
    connect(mGrid, &QTableView::clicked, this,
            [this] { platform::runGuardedByErrorBox([this] { loadRow(); }); });

    if (mDescriptor.gridOnPage) {
        mListPageLayout->addWidget(mGrid, 3);
        layout->addWidget(mPages, 1);
    } else {
        layout->addWidget(mPages, hasMemo ? 2 : 0);
        layout->addWidget(mGrid, 3);
    }

    mStatus = new platform::PanelStatusBar(mDescriptor.statusPanels);
    mStatus->setObjectName(QStringLiteral("StatusBar1"));
    layout->addWidget(mStatus);

    if (auto* add = button(QStringLiteral("Add")))
        connect(add, &QPushButton::clicked, this,
                [this] { platform::runGuardedByErrorBox([this] { this->add(); }); });
    if (auto* refreshButton = button(QStringLiteral("SX")))
        connect(refreshButton, &QPushButton::clicked, this,
                [this] { platform::runGuardedByErrorBox([this] { refresh(); }); });
    if (auto* del = button(QStringLiteral("Del")))
        connect(del, &QPushButton::clicked, this, [this] { deleteCurrent(); });
    if (!mDescriptor.editButton.isEmpty()) {
        if (auto* editButton = button(mDescriptor.editButton))
            connect(editButton, &QPushButton::clicked, this,
                    [this] { platform::runGuardedByErrorBox([this] { edit(); }); });
    }
}

QPushButton* RecordWindow::button(const QString& name) const {
    return mButtons.value(name);
}

QString RecordWindow::statusText() const {
    return mStatus->panelText(0);
}

void RecordWindow::setStatusText(const QString& text) {
    mStatus->setPanelText(0, text);
}

QWidget* RecordWindow::box(const QString& name) const {
    if (QWidget* known = mBoxes.value(name))
        return known;
    return findChild<QWidget*>(name);
}

QString RecordWindow::boxText(const QString& name) const {
    return textOf(box(name));
}

void RecordWindow::setBoxText(const QString& name, const QString& text) {
    if (QWidget* target = box(name))
        setTextOf(target, text);
}

void RecordWindow::clearBoxes(const QStringList& names) {
    for (const QString& name : names)
        setBoxText(name, QString());
}

bool RecordWindow::allEmpty(const QStringList& names) const {
    for (const QString& name : names) {
        if (!boxText(name).isEmpty())
            return false;
    }
    return true;
}

ColumnValues RecordWindow::valuesOf(const std::vector<ColumnBox>& columns) const {
    ColumnValues values;
    for (const ColumnBox& c : columns)
        values.emplace_back(c.column, boxText(c.box));
    return values;
}

// ---------------------------------------------------------------- creation

void RecordWindow::loadWordList(const QString& boxName, const QString& file) {
    auto* combo = qobject_cast<QComboBox*>(box(boxName));
    if (!combo)
        throw std::runtime_error("no drop-down box " + boxName.toStdString());
    const QStringList entries = platform::loadWordList(platform::dataPath(file));
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

void RecordWindow::connectModule() {
    // A data folder that cannot be made says so, naming it, before the
    // connection would only find its database missing.
    platform::prepareDataDir();
    configureConnection(mConnection, mDescriptor.databaseFile);
    mConnection.open();
}

void RecordWindow::loadWordLists() {
    for (const WordListLoad& load : mDescriptor.wordLists) {
        try {
            loadWordList(load.box, load.file);
        } catch (...) {
            // The box stays empty and still takes typed text; the module works.
        }
    }
}

void RecordWindow::runCreationBlock() {
    connectModule();
    refresh();
    afterFirstRefresh();
}

void RecordWindow::create() {
    beforeCreation();
    loadWordLists();
    const auto creationBlock = [this] {
        if (serverUnreachableAtStart)
            throw ServerNotTried();
        runCreationBlock();
    };
    if (mDescriptor.creation == Creation::Guarded) {
        try {
            creationBlock();
        } catch (...) {
            // The guarded windows stay silent, unconnected and empty.
        }
    } else {
        try {
            creationBlock();
            if (mDescriptor.wheel == WheelNavigation::AfterCreation)
                installWheelNavigation();
            // The list shows what still reads; the box says why nothing can change.
            if (mConnection.damaged())
                platform::showErrorBox(QString::fromStdString(mConnection.damageMessage()));
        } catch (const platform::DataDirError&) {
            // The program names a data folder it cannot make once at start;
            // the window stays unconnected and tries again at its next action.
        } catch (const ServerNotTried&) {
            // Named by an earlier window; this one tries at its next action.
        } catch (const platform::AdoError& error) {
            platform::showErrorBox(error);
            if (error.fault() == platform::DatabaseFault::Unreachable)
                serverUnreachableAtStart = true;
        } catch (const std::exception& error) {
            platform::showErrorBox(error);
        }
    }
    if (mDescriptor.wheel == WheelNavigation::Always)
        installWheelNavigation();
}

// ---------------------------------------------------------------- operations

void RecordWindow::setColumnWidths(const std::vector<int>& widths) {
    const int columns = mModel->columnCount();
    for (int i = 0; i < columns && i < static_cast<int>(widths.size()); ++i)
        mGrid->setColumnWidth(i, widths[i]);
}

void RecordWindow::connectIfNeeded() {
    // A window whose database (or data folder) could not be opened so far
    // tries again, through the data folder's own checks.
    if (!mConnection.connected())
        connectModule();
}

void RecordWindow::refresh() {
    connectIfNeeded();
    mQuery.close();
    mQuery.setSql(mDescriptor.listQuery.toStdString());
    mQuery.open();
    setColumnWidths(mDescriptor.columnWidths);
    setStatusText(
        countText(mDescriptor.countPrefix, mQuery.recordCount(), mDescriptor.countSuffix));
    clearBoxes(mDescriptor.refreshClears);
}

bool RecordWindow::refuseChanges() {
    if (!mConnection.damaged())
        return false;
    platform::showErrorBox(QString::fromStdString(mConnection.damageMessage()));
    return true;
}

void RecordWindow::refreshKeepingEntries() {
    QList<std::pair<QString, QString>> typed;
    for (const BoxSpec& spec : mDescriptor.boxes)
        typed.append({spec.name, boxText(spec.name)});
    refresh();
    for (const auto& [name, text] : typed)
        setBoxText(name, text);
    setBoxText(IdBox, QString());
}

bool RecordWindow::refusedByWindow() {
    const std::optional<QString> message = refusedEntries();
    if (message)
        platform::showMessage(*message);
    return message.has_value();
}

void RecordWindow::add() {
    if (refuseChanges())
        return;
    for (const QString& name : mDescriptor.addRequired) {
        if (boxText(name).isEmpty()) {
            platform::showMessage(mDescriptor.addMessage);
            return;
        }
    }
    if (refusedByWindow())
        return;
    connectIfNeeded();
    // The statement runs on a query of its own: when it fails, the list and
    // its count stay as they were.
    mStatement.setSql(insertStatement(valuesOf(mDescriptor.addColumns)));
    mStatement.execSql();
    setStatusText(QStringLiteral("添加成功!"));
    clearBoxes(mDescriptor.addClears);
    refresh();
}

void RecordWindow::edit() {
    if (refuseChanges())
        return;
    if (allEmpty(mDescriptor.editRequired)) {
        platform::showMessage(mDescriptor.editMessage);
        return;
    }
    // ID only ever holds a key loaded from the grid; anything else edits nothing.
    const QString key = boxText(IdBox);
    if (!isRecordKey(key)) {
        platform::showMessage(QStringLiteral("不可编辑"));
        return;
    }
    if (refusedByWindow())
        return;
    connectIfNeeded();
    mStatement.setSql(updateStatement(valuesOf(mDescriptor.editColumns), key));
    if (mStatement.execSql() == 0) {
        // The row is gone (deleted or cleared meanwhile): nothing was edited.
        platform::showMessage(QStringLiteral("不可编辑"));
        return;
    }
    clearBoxes(mDescriptor.editClears);
    setStatusText(QStringLiteral("编辑成功!"));
    refresh();
}

void RecordWindow::deleteCurrent() {
    if (refuseChanges() || !platform::confirm(QStringLiteral("您真的要删除该记录吗?")))
        return;
    try {
        // A window whose database was busy or missing so far shows no row to
        // delete: it connects and lists its rows instead. A row that another
        // connection deleted meanwhile is gone all the same; the refresh
        // shows the table as it is.
        if (mConnection.connected())
            mQuery.deleteCurrent();
        refresh();
    } catch (...) {
        // Delete is guarded: a failure changes nothing and says nothing.
    }
}

void RecordWindow::loadRow() {
    if (mDescriptor.rowLoad.empty() || !mQuery.active() || mQuery.recordCount() == 0)
        return;
    for (const auto& [field, boxName] : mDescriptor.rowLoad) {
        const std::string_view text = mQuery.field(field);
        setBoxText(boxName, platform::storedText(text));
    }
}

// ---------------------------------------------------------------- grid and cursor

void RecordWindow::queryChanged(platform::AdoQuery::Change change) {
    if (change == platform::AdoQuery::Change::Result)
        mModel->reload();
    showCursor();
}

void RecordWindow::showCursor() {
    if (!mQuery.active() || mQuery.recordCount() == 0)
        return;
    const int column = std::max(0, mGrid->currentIndex().column());
    const QModelIndex target = mModel->index(mQuery.recNo(), column);
    if (mGrid->currentIndex() == target)
        return;
    mFollowingCursor = true;
    mGrid->setCurrentIndex(target);
    mFollowingCursor = false;
}

void RecordWindow::gridRowChanged(int row) {
    if (mFollowingCursor || row < 0 || !mQuery.active() || row >= mQuery.recordCount())
        return;
    mQuery.moveTo(row);
}

void RecordWindow::installWheelNavigation() {
    if (mWheelInstalled)
        return;
    mGrid->installEventFilter(this);
    mGrid->viewport()->installEventFilter(this);
    mWheelInstalled = true;
}

bool RecordWindow::eventFilter(QObject* watched, QEvent* event) {
    if (mWheelInstalled && event->type() == QEvent::Wheel &&
        (watched == mGrid || watched == mGrid->viewport()) && mGrid->hasFocus()) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        // Towards the user (negative delta) is the next row, else the previous.
        try {
            if (wheel->angleDelta().y() < 0)
                mQuery.next();
            else
                mQuery.prior();
        } catch (...) {
            // No open result: nothing to move.
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void RecordWindow::showEvent(QShowEvent* event) {
    if (!mCentred) {
        if (QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
        mCentred = true;
    }
    QWidget::showEvent(event);
}

} // namespace records
