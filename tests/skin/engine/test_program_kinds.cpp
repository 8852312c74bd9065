#include "app/main_window.h"
#include "app/program.h"
#include "platform/app_dir.h"
#include "platform/message_box.h"
#include "platform/web_browser.h"
#include "records/module_storage.h"
#include "records/record_window.h"
#include "skin/data/skin_data.h"
#include "skin/engine/controls/skin_control.h"
#include "skin/engine/frame/form_window.h"
#include "skin/engine/manager/control_traversal.h"
#include "skin/engine/manager/skin_manager.h"
#include "skin/engine/manager/window_info.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace skin;

namespace {

// The kinds each control of the program's windows is given, by object name
// (or caption, for the unnamed group boxes of the working lists), "TSkin"
// left off. Controls not listed get no kind.
const std::map<QString, QString> RecordWindowKinds = {
    {"PageControl1", "Tab"},     {"TabSheet1", "TabSheet"}, {"DBGrid1", "Scrollbar"},
    {"StatusBar1", "StatusBar"}, {"Add", "Button"},         {"SX", "Button"},
    {"Del", "Button"},
};

struct WindowKinds {
    const char* windowClass;
    std::map<QString, QString> kinds; // beyond the record window's own
    bool recordWindow = true;
};

std::vector<WindowKinds> programKinds() {
    std::map<QString, QString> trend;
    for (int month = 1; month <= 12; ++month)
        trend[QStringLiteral("MT%1").arg(month)] = QStringLiteral("Edit");
    std::map<QString, QString> sales = {
        {"TabSheet2", "TabSheet"},
        {"GroupBox1", "GroupBox"},
        {"YearE", "Edit"},
        {"Button5", "Button"},
        {"MonthE", "Edit"},
        {"Button4", "Button"},
        {"本年度营业额", "GroupBox"},
        {"allyear", "Scrollbar"},
        {"本月营业额", "GroupBox"},
        {"allmonth", "Scrollbar"},
        {"今日营业额", "GroupBox"},
        {"allDAY", "Scrollbar"},
        {"ID", "Edit"},
        {"ShangPin", "ComBox"},
        {"JinEr", "ComBox"},
        {"YGname", "ComBox"},
        {"Beizhu", "Edit"},
        {"Button10", "Button"},
        {"ButtonFrist", "Button"},
        {"Button7", "Button"},
        {"Button8", "Button"},
        {"Button9", "Button"},
        {"DateTimePicker1", "DateTime"},
        {"EditDate", "Edit"},
        {"Button1", "Button"},
        {"Button2", "Button"},
        {"Button3", "Button"},
        {"Buttontoday", "Button"},
    };
    sales.insert(trend.begin(), trend.end());
    return {
        {"TForm1",
         {{"PageControl1", "Tab"},
          {"TabSheet1", "TabSheet"},
          {"TabSheet2", "TabSheet"},
          {"TabSheet3", "TabSheet"},
          {"XiaoShou", "BitButton"},
          {"JinHuo", "BitButton"},
          {"BeiWang", "BitButton"},
          {"RiJi", "BitButton"},
          {"HuiKuan", "BitButton"},
          {"QingJia", "BitButton"},
          {"GongZi", "BitButton"},
          {"KeHu", "BitButton"},
          {"DianFei", "BitButton"},
          {"WanNianLi", "BitButton"},
          {"JiSuanQi", "BitButton"},
          {"BitBtn_BackUpData", "BitButton"},
          {"BitBtn_RestoreData", "BitButton"},
          {"Memo_BackUpData", "Scrollbar"},
          {"Edit_Ver", "Edit"},
          {"Memo1", "Scrollbar"},
          {"Button_Exit", "Button"},
          {"StatusBar1", "StatusBar"}},
         false},
        {"TForm2", sales},
        {"TForm3",
         {{"ID", "Edit"},
          {"ShangPin", "ComBox"},
          {"ShuLiang", "ComBox"},
          {"Jinjia", "ComBox"},
          {"Zongjia", "ComBox"},
          {"Beizhu", "Scrollbar"},
          {"Button1", "Button"},
          {"ComboBox_Search", "ComBox"},
          {"Button2", "Button"}}},
        {"TForm4",
         {{"ID", "Edit"}, {"BiaoTi", "Edit"}, {"Beizhu", "Scrollbar"}, {"Button1", "Button"}}},
        {"TForm5", {{"ID", "Edit"}, {"Jiner", "Edit"}, {"Beizhu", "Edit"}, {"Button1", "Button"}}},
        {"TForm6", {{"YGName", "ComBox"}, {"Beizhu", ""}}},
        {"TForm7",
         {{"ID", "Edit"},
          {"YGName", "ComBox"},
          {"Jiner", "Edit"},
          {"Beizhu", "Edit"},
          {"edit", "Button"}}},
        {"TForm8",
         {{"ID", "Edit"},
          {"XingMing", "Edit"},
          {"DianHua", "Edit"},
          {"DiZhi", "Edit"},
          {"Beizhu", "Edit"},
          {"Button2", "Button"},
          {"GroupBox1", "GroupBox"},
          {"GroupBox2", "GroupBox"},
          {"SearchKeywords", "ComBox"},
          {"SearchOptiong", "ComBox"},
          {"Button1", "Button"}}},
        {"TForm9",
         {{"ID", "Edit"},
          {"JinEr", "Edit"},
          {"DuShu", "Edit"},
          {"Beizhu", "Scrollbar"},
          {"Button1", "Button"}}},
        {"TForm10", {}, false},
        {"TForm11",
         {{"ID", "Edit"}, {"BiaoTi", "Edit"}, {"Beizhu", "Scrollbar"}, {"Button1", "Button"}}},
    };
}

QString keyOf(const QWidget* c) {
    return c->objectName().isEmpty() ? PropWideText(c, QStringLiteral("Caption")) : c->objectName();
}

// The base skin object as a kind of the test's own, known by its type.
class BaseKind : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
};

// The program started on a folder of its own with empty databases (and three
// remittances), every window shown.
class ProgramKindsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        // The desktop shortcut goes to a desktop of the test's own.
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"}) {
            mEnvironment.emplace_back(name, qgetenv(name));
            qputenv(name, mDir.path().toUtf8());
        }
        QDir(mDir.path()).mkpath(QStringLiteral("database"));
        QDir(mDir.path()).mkpath(QStringLiteral("Desktop"));
        // The calendar's web view comes from the module beside the executable.
        const QString module = platform::webBrowserModuleName();
        ASSERT_TRUE(QFile::copy(QDir(QStringLiteral(MARVANTO_STAGE_DIR)).filePath(module),
                                QDir(mDir.path()).filePath(module)));
        platform::setAppDir(mDir.path());
        for (const records::ModuleTable& table : records::moduleTables()) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db),
                      SQLITE_OK);
            std::string sql = records::createTableStatement(table);
            if (table.fileName == QStringLiteral("汇款记录.mdb"))
                sql += ";insert into data (金额,备注) values ('1','一'),('2','二'),('3','三')";
            ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        }
        platform::setMessageBoxAnswerer([this](const QString& text, const QString&, unsigned) {
            mBoxes << text;
            return platform::IdOk;
        });
    }

    void TearDown() override {
        mProgram.reset();
        for (int kind = int(SkinKind::SkinComBox); kind <= int(SkinKind::SkinSizer); ++kind)
            registerSkinKind(SkinKind(kind), {});
        platform::setMessageBoxAnswerer({});
        setSkinManagerFactory([] { return std::make_unique<TRecordingSkinManager>(); });
        for (const auto& [name, value] : mEnvironment) {
            if (value.isEmpty())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

    // Starts the program; `beforeShowing` runs before the windows are shown
    // and their controls decided.
    void start(const std::function<void()>& beforeShowing = {}) {
        mProgram = std::make_unique<app::Program>();
        mProgram->start();
        mProgram->finishStart();
        if (beforeShowing)
            beforeShowing();
        for (QWidget* w : mProgram->windows())
            w->show();
        QCoreApplication::sendPostedEvents();
        ASSERT_TRUE(mBoxes.isEmpty()) << mBoxes.join('|').toStdString();
    }

    TWinSkinForm* skinned(const char* windowClass) {
        return TSkinManage::instance()->FindSkinForm(
            mProgram->window(QString::fromLatin1(windowClass)));
    }

    QTemporaryDir mDir;
    std::vector<std::pair<const char*, QByteArray>> mEnvironment;
    QStringList mBoxes;
    std::unique_ptr<app::Program> mProgram;
};

} // namespace

TEST_F(ProgramKindsTest, EachControlOfTheElevenWindowsGetsItsKind) {
    start([this] {
        // Only the decisions are looked at here: no kind is built.
        for (int kind = int(SkinKind::SkinComBox); kind <= int(SkinKind::SkinSizer); ++kind)
            registerSkinKind(SkinKind(kind), {});
        // Kept plain by its tag.
        setTag(mProgram->recordWindow(QStringLiteral("TForm6"))->box(QStringLiteral("Beizhu")),
               mProgram->mainWindow()->findChild<TSkinData*>()->DisableTag);
    });
    for (const WindowKinds& window : programKinds()) {
        SCOPED_TRACE(window.windowClass);
        TWinSkinForm* form = skinned(window.windowClass);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->FrameState, TWinSkinForm::StateSkinned);
        std::map<QString, QString> expected = window.kinds;
        if (window.recordWindow)
            for (const auto& [name, kind] : RecordWindowKinds)
                expected.emplace(name, kind);
        std::map<QString, QString> given;
        QList<const QWidget*> seen;
        for (const TWinSkinForm::DecidedControl& d : form->decided()) {
            ASSERT_TRUE(d.control);
            EXPECT_FALSE(seen.contains(d.control))
                << "decided twice: " << keyOf(d.control).toStdString();
            seen << d.control;
            EXPECT_FALSE(d.built) << keyOf(d.control).toStdString();
            // Nothing inside a compound widget or the web view.
            for (QWidget* p = d.control->parentWidget(); p != form->window(); p = p->parentWidget())
                EXPECT_FALSE(isCompoundWidget(p)) << keyOf(d.control).toStdString();
            if (d.decision.kind != SkinKind::None)
                given[keyOf(d.control)] = skinKindName(d.decision.kind).mid(5);
            else if (expected.count(keyOf(d.control)) && expected[keyOf(d.control)].isEmpty())
                given[keyOf(d.control)] = QString();
        }
        EXPECT_EQ(given, expected);
    }
    // The web view is taken as a whole: no kind, nothing of it descended into.
    TWinSkinForm* calendar = skinned("TForm10");
    ASSERT_EQ(calendar->decided().size(), 1u);
    EXPECT_EQ(calendar->decided().front().control->objectName(), QStringLiteral("WebBrowser1"));
    // The tagged box stayed plain by rule 1.
    const QWidget* tagged =
        mProgram->recordWindow(QStringLiteral("TForm6"))->box(QStringLiteral("Beizhu"));
    ASSERT_NE(skinned("TForm6")->decisionFor(tagged), nullptr);
    EXPECT_EQ(skinned("TForm6")->decisionFor(tagged)->decision.source, RuleSource::DisableTag);
}

// The program registers no kind of its own: the manager it makes brings
// every built kind, and each decided control wears its kind's object.
TEST_F(ProgramKindsTest, EveryDecidedControlIsBuiltAsItsKind) {
    start();
    for (const WindowKinds& window : programKinds()) {
        SCOPED_TRACE(window.windowClass);
        TWinSkinForm* form = skinned(window.windowClass);
        ASSERT_NE(form, nullptr);
        for (const TWinSkinForm::DecidedControl& d : form->decided()) {
            if (d.decision.kind == SkinKind::None)
                continue;
            const std::string key = keyOf(d.control).toStdString();
            EXPECT_TRUE(d.built) << key;
            const TSkinControl* object = form->skinObjectFor(d.control);
            ASSERT_NE(object, nullptr) << key;
            EXPECT_EQ(QString::fromLatin1(object->metaObject()->className()),
                      QStringLiteral("skin::") + skinKindName(d.decision.kind))
                << key;
        }
    }
}

// The program's own filters on skinned controls (the quantity box, the date
// text, the grids' wheel) are played by the drive scripts on skinned windows.
TEST_F(ProgramKindsTest, KindsRegisteredBeforeTheStartAreKept) {
    int made = 0;
    for (int kind = int(SkinKind::SkinComBox); kind <= int(SkinKind::SkinSizer); ++kind)
        registerSkinKind(SkinKind(kind), [&](QWidget*, QObject* owner, const ControlDecision&) {
            ++made;
            return new BaseKind(owner);
        });
    start();
    ASSERT_GT(made, 100);
    const auto* mainForm = skinned("TForm1");
    const QWidget* memo = mProgram->mainWindow()->findChild<QWidget*>(QStringLiteral("Memo1"));
    ASSERT_NE(memo, nullptr);
    EXPECT_NE(dynamic_cast<const BaseKind*>(mainForm->skinObjectFor(memo)), nullptr);
}

// At start only the main window is made and shown; the other ten follow in
// the event loop once it is up, in their fixed order. One asked for before
// its turn is made at once, with all the others in their order.
TEST_F(ProgramKindsTest, TheOtherWindowsFollowTheMainWindowInTheirOrder) {
    const auto names = [this] {
        QStringList list;
        for (QWidget* window : mProgram->windows())
            list << window->objectName();
        return list;
    };
    QStringList all;
    for (int form = 1; form <= 11; ++form)
        all << QStringLiteral("TForm%1").arg(form);

    mProgram = std::make_unique<app::Program>();
    mProgram->start();
    EXPECT_EQ(names(), QStringList{QStringLiteral("TForm1")});
    QElapsedTimer waited;
    waited.start();
    while (mProgram->windows().size() < 11 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(names(), all);

    mProgram = std::make_unique<app::Program>();
    mProgram->start();
    ASSERT_EQ(mProgram->windows().size(), 1);
    EXPECT_NE(mProgram->window(QStringLiteral("TForm4")), nullptr);
    EXPECT_EQ(names(), all);
    EXPECT_TRUE(mBoxes.isEmpty()) << mBoxes.join('|').toStdString();
}
