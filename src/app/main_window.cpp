#include "app/main_window.h"

#include "app/launcher_pictures.h"
#include "app/own_skin.h"
#include "maintenance/clear_all.h"
#include "platform/app_dir.h"
#include "platform/clock.h"
#include "platform/jpeg_image.h"
#include "platform/message_box.h"
#include "platform/status_bar.h"
#include "skin/data/skin_data.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace {

struct Launcher {
    const char* name;
    const char* caption;
    LauncherPicture picture;
    const char* windowClass; // empty: the calculator
};

const Launcher Launchers[] = {
    {"XiaoShou", "销售管理", LauncherPicture::Sales, "TForm2"},
    {"JinHuo", "进货管理", LauncherPicture::Purchases, "TForm3"},
    {"BeiWang", "备忘管理", LauncherPicture::Memo, "TForm11"},
    {"RiJi", "日记管理", LauncherPicture::Diary, "TForm4"},
    {"HuiKuan", "汇款管理", LauncherPicture::Remittances, "TForm5"},
    {"QingJia", "员工请假", LauncherPicture::StaffLeave, "TForm6"},
    {"GongZi", "工资管理", LauncherPicture::Salary, "TForm7"},
    {"KeHu", "客户管理", LauncherPicture::Customers, "TForm8"},
    {"DianFei", "电费管理", LauncherPicture::Electricity, "TForm9"},
    {"WanNianLi", "万年历", LauncherPicture::Calendar, "TForm10"},
    {"JiSuanQi", "计算器", LauncherPicture::Calculator, ""},
};

const QStringList UpdateNotes = {
    QStringLiteral("1.加入了备忘录模块"),       QStringLiteral("2.优化了刷新代码"),
    QStringLiteral("3.优化了数据库备份"),       QStringLiteral("4.美化了程序皮肤"),
    QStringLiteral("5.进货管理加入了搜索功能"), QStringLiteral("6.加入了清空全部记录的选项"),
};

} // namespace

QString MainWindow::publisherText() {
    return QStringLiteral("Marvanto 店铺管家 · 用心记好每一笔账");
}

MainWindow::MainWindow(QWidget* parent, bool skinActive)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TForm1"));
    // The skin data component is read with the window: Active, then the stored
    // skin package, then Loaded.
    mSkinData = new skin::TSkinData(this);
    mSkinData->beginReading();
    mSkinData->SetActive(skinActive);
    mSkinData->setSkinStream(ownSkinPackage());
    mSkinData->Loaded();
    // The stored caption; the creation step appends the version.
    setWindowTitle(QStringLiteral("Marvanto Ver"));

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(6);

    mBanner = new QLabel;
    mBanner->setObjectName(QStringLiteral("Image1"));
    mBanner->setCursor(Qt::WhatsThisCursor);
    mBanner->setAlignment(Qt::AlignCenter);
    QFile bannerFile(platform::appPath(QStringLiteral("banner.jpg")));
    if (bannerFile.open(QIODevice::ReadOnly)) {
        try {
            mBanner->setPixmap(QPixmap::fromImage(platform::decodeJpeg(bannerFile.readAll())));
        } catch (const platform::JpegError&) {
            // A damaged banner leaves the strip empty; the program runs on.
        }
    }
    mBanner->setFixedHeight(96);
    mBanner->installEventFilter(this);
    layout->addWidget(mBanner);

    mPages = new QTabWidget;
    mPages->setObjectName(QStringLiteral("PageControl1"));
    mPages->addTab(buildLauncherPage(), QStringLiteral("综合管理"));
    mPages->addTab(buildMaintenancePage(), QStringLiteral("数据维护"));
    mPages->addTab(buildAboutPage(), QStringLiteral("关于我们"));
    mPages->setCurrentIndex(0);
    auto* pagesBox = new QHBoxLayout;
    pagesBox->setContentsMargins(8, 0, 8, 0);
    pagesBox->addWidget(mPages);
    layout->addLayout(pagesBox, 1);

    auto* exitRow = new QHBoxLayout;
    exitRow->setContentsMargins(8, 0, 8, 0);
    exitRow->addStretch(1);
    auto* exit = new QPushButton(QStringLiteral("退出"));
    exit->setObjectName(QStringLiteral("Button_Exit"));
    exit->setMinimumWidth(80);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    exitRow->addWidget(exit);
    layout->addLayout(exitRow);
    setCentralWidget(central);

    mStatus = new platform::PanelStatusBar({250, 0});
    mStatus->setObjectName(QStringLiteral("StatusBar1"));
    mStatus->setPanelText(0, publisherText());
    setStatusBar(mStatus);

    buildMenus();
    setFixedSize(560, 470);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    mClock = new QTimer(this);
    mClock->setObjectName(QStringLiteral("Timer2"));
    mClock->setInterval(1000);
    connect(mClock, &QTimer::timeout, this, &MainWindow::tick);
    mClock->start();
}

QWidget* MainWindow::buildLauncherPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(page);
    grid->setSpacing(10);
    int index = 0;
    for (const Launcher& launcher : Launchers) {
        auto* button = new QToolButton;
        button->setObjectName(QString::fromLatin1(launcher.name));
        button->setText(QString::fromUtf8(launcher.caption));
        button->setIcon(QIcon(QPixmap::fromImage(drawLauncherPicture(launcher.picture))));
        button->setIconSize(QSize(32, 32));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setMinimumSize(100, 64);
        const QString windowClass = QString::fromLatin1(launcher.windowClass);
        button->setProperty("windowClass", windowClass);
        if (windowClass.isEmpty())
            connect(button, &QToolButton::clicked, this, &MainWindow::calculatorRequested);
        else
            connect(button, &QToolButton::clicked, this,
                    [this, windowClass] { emit showWindowRequested(windowClass); });
        grid->addWidget(button, index / 4, index % 4);
        ++index;
    }
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* MainWindow::buildMaintenancePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* row = new QHBoxLayout(page);
    auto* backup = new QPushButton(QStringLiteral("备份数据库"));
    backup->setObjectName(QStringLiteral("BitBtn_BackUpData"));
    // A bitmap button (without a glyph): the skin draws it as one.
    backup->setProperty("skinClass", QStringLiteral("TBitBtn"));
    backup->setMinimumSize(110, 36);
    connect(backup, &QPushButton::clicked, this, &MainWindow::backupRequested);
    auto* restore = new QPushButton(QStringLiteral("恢复数据库"));
    restore->setObjectName(QStringLiteral("BitBtn_RestoreData"));
    restore->setProperty("skinClass", QStringLiteral("TBitBtn"));
    restore->setMinimumSize(110, 36);
    connect(restore, &QPushButton::clicked, this, &MainWindow::restoreRequested);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(backup);
    buttonColumn->addWidget(restore);
    buttonColumn->addStretch(1);
    row->addLayout(buttonColumn);
    mBackupNote = new QPlainTextEdit(QStringLiteral("备份说明"));
    mBackupNote->setObjectName(QStringLiteral("Memo_BackUpData"));
    mBackupNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    row->addWidget(mBackupNote, 1);
    return page;
}

QWidget* MainWindow::buildAboutPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* column = new QVBoxLayout(page);
    auto* versionRow = new QHBoxLayout;
    versionRow->setSpacing(0);
    auto* name = new QLabel(QStringLiteral("Marvanto Ver "));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 3);
    big.setBold(true);
    name->setFont(big);
    mVersion = new QLineEdit(QStringLiteral("1.2.0"));
    mVersion->setObjectName(QStringLiteral("Edit_Ver"));
    mVersion->setFrame(false);
    mVersion->setFont(big);
    mVersion->setStyleSheet(QStringLiteral("background: transparent;"));
    versionRow->addWidget(name);
    versionRow->addWidget(mVersion, 1);
    column->addLayout(versionRow);
    column->addWidget(new QLabel(QStringLiteral("本软件由 Marvanto 工作室出品，供小店免费使用。")));
    auto* divider = new QFrame;
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    column->addWidget(divider);
    column->addWidget(new QLabel(QStringLiteral("更新说明:")));
    auto* notes = new QPlainTextEdit(UpdateNotes.join(QLatin1Char('\n')));
    notes->setObjectName(QStringLiteral("Memo1"));
    notes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    column->addWidget(notes, 1);
    return page;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("菜 单"));
    file->setObjectName(QStringLiteral("N1"));
    file->addAction(QStringLiteral("退出"), this, &QWidget::close);

    QMenu* tools = bar->addMenu(QStringLiteral("工 具"));
    tools->addAction(QStringLiteral("计算器"), this, &MainWindow::calculatorRequested);
    tools->addAction(QStringLiteral("万年历"), this,
                     [this] { emit showWindowRequested(QStringLiteral("TForm10")); });
    QMenu* special = tools->addMenu(QStringLiteral("特殊操作"));
    const auto& items = maintenance::clearAllItems();
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        special->addAction(items[i].caption, this, [this, i] { emit clearAllRequested(i); });

    QMenu* about = bar->addMenu(QStringLiteral(" 关 于 "));
    about->addAction(QStringLiteral("官方网站"), this, &MainWindow::publisherPageRequested);
    about->addAction(QStringLiteral("联系方式"), this, &MainWindow::contactRequested);
}

void MainWindow::create() {
    setWindowTitle(QStringLiteral("Marvanto Ver") + versionText());
}

QString MainWindow::versionText() const {
    return mVersion->text();
}

QString MainWindow::clockText() const {
    return mStatus->panelText(1);
}

void MainWindow::tick() {
    const QDateTime now = platform::Clock::nowLocal();
    const QString time = platform::regional::longTime(now.time());
    const QString date = platform::regional::shortDate(now.date());
    mStatus->setPanelText(1, date + QLatin1Char(' ') + time);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mBanner && event->type() == QEvent::MouseButtonRelease) {
        emit publisherPageRequested();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace app
