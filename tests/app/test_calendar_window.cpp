#include "app/calendar_window.h"

#include "platform/web_browser.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <gtest/gtest.h>

namespace {

constexpr int kTimeoutMs = 20000;

// Copies the web browser module from the stage, and the calendar page and its
// folder from the sources, into `dir`.
bool copyProgram(const QString& dir) {
    const QString module = platform::webBrowserModuleName();
    if (!QFile::copy(QDir(QStringLiteral(MARVANTO_STAGE_DIR)).filePath(module),
                     QDir(dir).filePath(module)))
        return false;
    const QDir resources(QStringLiteral(MARVANTO_SOURCE_DIR "/resources"));
    if (!QFile::copy(resources.filePath("wannianli.htm"), QDir(dir).filePath("wannianli.htm")))
        return false;
    QDir(dir).mkpath("wannianli");
    const QDir scripts(resources.filePath("wannianli"));
    for (const QString& name : scripts.entryList(QDir::Files)) {
        if (!QFile::copy(scripts.filePath(name), QDir(dir).filePath("wannianli/" + name)))
            return false;
    }
    return true;
}

// The calendar's view, which is a web engine view.
QWebEngineView* webView(app::CalendarWindow& window) {
    return qobject_cast<QWebEngineView*>(window.view());
}

// Waits for the page's first load to end; returns its result.
bool waitForLoad(QSignalSpy& loaded) {
    if (loaded.isEmpty() && !loaded.wait(kTimeoutMs))
        return false;
    return !loaded.isEmpty() && loaded.first().value(0).toBool();
}

// Runs a script on the page and returns its (JSON text) result.
QString runScript(QWebEngineView* view, const QString& script) {
    QString result;
    bool done = false;
    QEventLoop loop;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value.toString();
        done = true;
        loop.quit();
    });
    QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return result;
}

class CalendarWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(copyProgram(mDir.path())); }

    QTemporaryDir mDir;
};

TEST_F(CalendarWindow, ShowsTodayWithItsLunarDate) {
    app::CalendarWindow window(mDir.path());
    QSignalSpy loaded(webView(window), &QWebEngineView::loadFinished);
    EXPECT_EQ(window.pagePath(), QDir(mDir.path()).filePath("wannianli.htm"));
    window.showCalendar();
    ASSERT_TRUE(waitForLoad(loaded));

    const QJsonObject page = QJsonDocument::fromJson(runScript(webView(window), R"(JSON.stringify({
            text: document.body.innerText,
            lunar: document.getElementById('today-lunar').textContent,
            marked: Array.from(document.querySelectorAll('.cell.today'), c => c.dataset.date)
        }))")
                                                         .toUtf8())
                                 .object();
    const QDate today = QDate::currentDate();
    EXPECT_TRUE(page["text"].toString().contains(today.toString("yyyy年M月d日")))
        << page["text"].toString().toStdString();
    const QRegularExpression lunarDate(QStringLiteral(
        "^农历闰?[正二三四五六七八九十冬腊]月(初[一二三四五六七八九十]|十[一二三四五六七八九]|"
        "二十|廿[一二三四五六七八九]|三十)$"));
    EXPECT_TRUE(lunarDate.match(page["lunar"].toString()).hasMatch())
        << page["lunar"].toString().toStdString();
    EXPECT_TRUE(page["text"].toString().contains(page["lunar"].toString()));
    EXPECT_EQ(page["marked"].toArray(), QJsonArray{today.toString(Qt::ISODate)});
}

TEST_F(CalendarWindow, ShowingAgainKeepsThePageAsLeft) {
    app::CalendarWindow window(mDir.path());
    QSignalSpy loaded(webView(window), &QWebEngineView::loadFinished);
    window.showCalendar();
    ASSERT_TRUE(waitForLoad(loaded));
    const QString script = QStringLiteral("document.getElementById('year-select').value");
    runScript(webView(window), "document.getElementById('prev-year').click(); ''");
    const QString year = runScript(webView(window), script);
    EXPECT_EQ(year.toStdString(), std::to_string(QDate::currentDate().year() - 1));

    QSignalSpy started(webView(window), &QWebEngineView::loadStarted);
    window.close();
    EXPECT_FALSE(window.isVisible());
    window.showCalendar();
    EXPECT_TRUE(window.isVisible());
    QTest::qWait(200);
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(runScript(webView(window), script).toStdString(), year.toStdString());
}

TEST_F(CalendarWindow, MissingPageStillOpens) {
    QFile::remove(QDir(mDir.path()).filePath("wannianli.htm"));
    app::CalendarWindow window(mDir.path());
    QSignalSpy loaded(webView(window), &QWebEngineView::loadFinished);
    window.showCalendar();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(waitForLoad(loaded));
    EXPECT_TRUE(window.isVisible());
}

// Without a loadable web browser module the window still opens and says
// which file it lacks.
TEST_F(CalendarWindow, MissingOrDamagedModuleIsNamedInTheWindow) {
    const QString module = QDir(mDir.path()).filePath(platform::webBrowserModuleName());
    ASSERT_TRUE(QFile::remove(module));
    {
        app::CalendarWindow window(mDir.path());
        window.showCalendar();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.view(), nullptr);
        ASSERT_NE(window.failure(), nullptr);
        EXPECT_TRUE(window.failure()->isVisible());
        EXPECT_EQ(window.failure()->text().toStdString(),
                  ("万年历无法显示：找不到网页浏览组件 " + module + "，请重新安装本程序。")
                      .toStdString());
    }
    QFile damaged(module);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a library");
    damaged.close();
    app::CalendarWindow window(mDir.path());
    window.showCalendar();
    EXPECT_EQ(window.view(), nullptr);
    ASSERT_NE(window.failure(), nullptr);
    EXPECT_TRUE(window.failure()->text().startsWith("万年历无法显示：网页浏览组件 " + module +
                                                    " 无法载入。"))
        << window.failure()->text().toStdString();
}

// The page's calendar arithmetic, checked on dates known from published
// almanacs.
TEST_F(CalendarWindow, LunarDatesSolarTermsAndFestivals) {
    app::CalendarWindow window(mDir.path());
    QSignalSpy loaded(webView(window), &QWebEngineView::loadFinished);
    ASSERT_TRUE(waitForLoad(loaded));

    struct Case {
        const char* date;
        const char* expected; // lunar date, year, solar term, festivals
    };
    const Case cases[] = {
        {"1900-01-31", "正月初一 庚子 | 春节"},   {"1900-01-01", "腊月初一 己亥 | 元旦"},
        {"1949-10-01", "八月初十 己丑 | 国庆节"}, {"2023-03-21", "二月三十 癸卯 春分 | "},
        {"2023-03-22", "闰二月初一 癸卯 | "},     {"2023-04-20", "三月初一 癸卯 谷雨 | "},
        {"2024-02-09", "腊月三十 癸卯 | 除夕"},   {"2024-02-10", "正月初一 甲辰 | 春节"},
        {"2025-02-03", "正月初六 乙巳 立春 | "},  {"2025-06-25", "六月初一 乙巳 | "},
        {"2025-07-25", "闰六月初一 乙巳 | "},     {"2025-08-23", "七月初一 乙巳 处暑 | "},
        {"2026-02-16", "腊月廿九 乙巳 | 除夕"},   {"2026-02-17", "正月初一 丙午 | 春节"},
        {"2026-03-03", "正月十五 丙午 | 元宵节"}, {"2026-04-05", "二月十八 丙午 清明 | 清明节"},
        {"2026-06-19", "五月初五 丙午 | 端午节"}, {"2026-09-25", "八月十五 丙午 | 中秋节"},
        {"2026-10-01", "八月廿一 丙午 | 国庆节"}, {"2026-12-21", "冬月十三 丙午 | "},
        {"2026-12-22", "冬月十四 丙午 冬至 | "},  {"2100-12-31", "腊月初一 庚申 | "},
    };
    QStringList dates;
    for (const Case& c : cases)
        dates << QStringLiteral("'%1'").arg(QLatin1String(c.date));
    const QString script = QStringLiteral(R"(JSON.stringify([%1].map(function (iso) {
        var p = iso.split('-').map(Number), d = Lunar.describe(p[0], p[1], p[2]);
        return d.lunar.monthName + d.lunar.dayName + ' ' + d.lunar.yearGanZhi +
            (d.term ? ' ' + d.term : '') + ' | ' + d.festivals.join(' ');
    })))")
                               .arg(dates.join(u','));
    const QJsonArray results =
        QJsonDocument::fromJson(runScript(webView(window), script).toUtf8()).array();
    ASSERT_EQ(results.size(), static_cast<qsizetype>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(results[i].toString().toStdString(), cases[i].expected) << cases[i].date;

    // Leap months, the way back from lunar dates, and the ends of the table.
    const QString more = runScript(webView(window), R"(JSON.stringify([
        Lunar.leapMonth(2023), Lunar.leapMonth(2025), Lunar.leapMonth(2033), Lunar.leapMonth(2026),
        Lunar.lunarToSolar(2025, 6, 1, true), Lunar.lunarToSolar(2026, 1, 1, false),
        Lunar.lunarToSolar(2026, 2, 30, false), Lunar.solarToLunar(2101, 1, 29),
        Lunar.solarFestival(1948, 10, 1), Lunar.solarFestival(1949, 10, 1),
        Lunar.dayGanZhi(1949, 10, 1)]))");
    EXPECT_EQ(
        more.toStdString(),
        R"([2,6,11,0,{"year":2025,"month":7,"day":25},{"year":2026,"month":2,"day":17},null,null,"","国庆节","甲子"])");
}

// Every month of the lunar table, 1899 to 2100, against new moons and solar
// terms computed from the sky (data/lunar_check.js).
TEST_F(CalendarWindow, LunarTableAgreesWithTheSky) {
    QFile check(QStringLiteral(MARVANTO_TEST_DATA_DIR "/lunar_check.js"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(check.readAll());
    app::CalendarWindow window(mDir.path());
    QSignalSpy loaded(webView(window), &QWebEngineView::loadFinished);
    ASSERT_TRUE(waitForLoad(loaded));
    // The years whose months differ.
    EXPECT_EQ(runScript(webView(window), script + "\nJSON.stringify(lunarTableDisagreements())")
                  .toStdString(),
              "[]");
}

} // namespace
