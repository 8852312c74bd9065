#pragma once

#include "platform/ado.h"
#include "records/module_descriptor.h"
#include "records/statements.h"

#include <QHash>
#include <QWidget>

#include <memory>

class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QTabWidget;
class QTableView;
class QVBoxLayout;

namespace platform {
class PanelStatusBar;
}

namespace records {

class ResultModel;

// A record window: entry boxes on a page, the buttons 添加, 编辑, 刷新 and
// 删除, the grid DBGrid1 showing the query's current result, a status bar and
// the hidden key box ID. Everything in which the windows differ comes from the
// module descriptor. The operations throw on database errors; the buttons run
// them under the standard error box.
class RecordWindow : public QWidget {
    Q_OBJECT
public:
    explicit RecordWindow(const ModuleDescriptor& descriptor, QWidget* parent = nullptr);
    ~RecordWindow() override;

    // The creation step at program start: connect and fill the list, guarded
    // or not as the descriptor says.
    void create();

    const ModuleDescriptor& descriptor() const { return mDescriptor; }
    platform::AdoConnection& connection() { return mConnection; }
    platform::AdoQuery& query() { return mQuery; }
    QTableView* grid() const { return mGrid; }
    QTabWidget* pages() const { return mPages; }
    QPushButton* button(const QString& name) const;
    platform::PanelStatusBar* statusPanels() const { return mStatus; }

    QString statusText() const;
    void setStatusText(const QString& text);

    // Entry boxes (and ID) by object name.
    QWidget* box(const QString& name) const;
    QString boxText(const QString& name) const;
    void setBoxText(const QString& name, const QString& text);
    void clearBoxes(const QStringList& names);

    // When the database was found damaged (and opened for reading only),
    // shows that in the standard error box and answers true: every change is
    // refused before it starts.
    bool refuseChanges();

    // The operations. Refresh, add and edit connect first when the window is
    // not connected yet.
    void connectModule();
    void connectIfNeeded();
    void refresh();
    // A refresh after the databases changed underneath (a restore): the
    // typed entry boxes keep their texts; ID is emptied, since its row may be
    // another one now. Connects first when the window is not connected.
    void refreshKeepingEntries();
    void add();
    void edit();
    void deleteCurrent(); // asks first; silent on failure
    void loadRow();
    void setColumnWidths(const std::vector<int>& widths);

    // Moves the grid's current row to the query's cursor.
    void showCursor();

protected:
    // Steps around the creation block, for windows that do more at creation.
    virtual void beforeCreation() {}
    virtual void afterFirstRefresh() {}

    // The list page and its layout, for windows that add controls to it.
    QWidget* listPage() const { return mListPage; }
    QVBoxLayout* listPageLayout() const { return mListPageLayout; }
    // The row that holds the entry group box, when the descriptor asks for one.
    QHBoxLayout* entryRow() const { return mEntryRow; }

    void loadWordList(const QString& boxName, const QString& file);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildWidgets();
    // Each word list on its own: a missing one leaves its box empty.
    void loadWordLists();
    // Connection and first refresh: the block a guarded creation runs
    // silently.
    void runCreationBlock();
    QWidget* makeBox(const BoxSpec& spec);
    void installWheelNavigation();
    void queryChanged(platform::AdoQuery::Change change);
    void gridRowChanged(int row);
    bool allEmpty(const QStringList& names) const;
    ColumnValues valuesOf(const std::vector<ColumnBox>& columns) const;

    const ModuleDescriptor& mDescriptor;
    platform::AdoConnection mConnection;
    platform::AdoQuery mQuery;     // the list the grid shows
    platform::AdoQuery mStatement; // add and edit statements
    std::unique_ptr<ResultModel> mModel;

    QTabWidget* mPages = nullptr;
    QWidget* mListPage = nullptr;
    QVBoxLayout* mListPageLayout = nullptr;
    QHBoxLayout* mEntryRow = nullptr;
    QTableView* mGrid = nullptr;
    platform::PanelStatusBar* mStatus = nullptr;
    QHash<QString, QWidget*> mBoxes;
    QHash<QString, QPushButton*> mButtons;
    bool mFollowingCursor = false;
    bool mWheelInstalled = false;
    bool mCentred = false;
};

} // namespace records
