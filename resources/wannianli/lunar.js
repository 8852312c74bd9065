// Chinese calendar arithmetic for the perpetual calendar: lunar dates from a
// table of the lunar years 1899-2100, the 24 solar terms computed from the
// sun's apparent longitude, the sexagenary cycle and the festivals.
// Plain script with no outside dependencies; it defines the global `Lunar`.
(function (root) {
    'use strict';

    // One entry per lunar year from 1899 (so that January 1900 has its lunar
    // dates too). Bits 0-3: the leap month (0 when
    // none); bits 4-15: months 12..1, a set bit means 30 days, else 29 (month 1
    // is 0x8000); bit 16: the leap month has 30 days.
    var LUNAR_INFO = [
        0x0ab50, // 1899
        0x04bd8, 0x04ae0, 0x0a570, 0x054d5, 0x0d260, 0x0d950, 0x16554, 0x056a0, 0x09ad0, 0x055d2, // 1900
        0x04ae0, 0x0a5b6, 0x0a4d0, 0x0d250, 0x1d255, 0x0b540, 0x0d6a0, 0x0ada2, 0x095b0, 0x14977, // 1910
        0x04970, 0x0a4b0, 0x0b4b5, 0x06a50, 0x06d40, 0x1ab54, 0x02b60, 0x09570, 0x052f2, 0x04970, // 1920
        0x06566, 0x0d4a0, 0x0ea50, 0x16a95, 0x05ad0, 0x02b60, 0x186e3, 0x092e0, 0x1c8d7, 0x0c950, // 1930
        0x0d4a0, 0x1d8a6, 0x0b550, 0x056a0, 0x1a5b4, 0x025d0, 0x092d0, 0x0d2b2, 0x0a950, 0x0b557, // 1940
        0x06ca0, 0x0b550, 0x15355, 0x04da0, 0x0a5b0, 0x14573, 0x052b0, 0x0a9a8, 0x0e950, 0x06aa0, // 1950
        0x0aea6, 0x0ab50, 0x04b60, 0x0aae4, 0x0a570, 0x05260, 0x0f263, 0x0d950, 0x05b57, 0x056a0, // 1960
        0x096d0, 0x04dd5, 0x04ad0, 0x0a4d0, 0x0d4d4, 0x0d250, 0x0d558, 0x0b540, 0x0b6a0, 0x195a6, // 1970
        0x095b0, 0x049b0, 0x0a974, 0x0a4b0, 0x0b27a, 0x06a50, 0x06d40, 0x0af46, 0x0ab60, 0x09570, // 1980
        0x04af5, 0x04970, 0x064b0, 0x074a3, 0x0ea50, 0x06b58, 0x05ac0, 0x0ab60, 0x096d5, 0x092e0, // 1990
        0x0c960, 0x0d954, 0x0d4a0, 0x0da50, 0x07552, 0x056a0, 0x0abb7, 0x025d0, 0x092d0, 0x0cab5, // 2000
        0x0a950, 0x0b4a0, 0x0baa4, 0x0ad50, 0x055d9, 0x04ba0, 0x0a5b0, 0x15176, 0x052b0, 0x0a930, // 2010
        0x07954, 0x06aa0, 0x0ad50, 0x05b52, 0x04b60, 0x0a6e6, 0x0a4e0, 0x0d260, 0x0ea65, 0x0d530, // 2020
        0x05aa0, 0x076a3, 0x096d0, 0x04afb, 0x04ad0, 0x0a4d0, 0x1d0b6, 0x0d250, 0x0d520, 0x0dd45, // 2030
        0x0b5a0, 0x056d0, 0x055b2, 0x049b0, 0x0a577, 0x0a4b0, 0x0aa50, 0x1b255, 0x06d20, 0x0ada0, // 2040
        0x14b63, 0x09370, 0x049f8, 0x04970, 0x064b0, 0x168a6, 0x0ea50, 0x06b20, 0x1a6c4, 0x0aae0, // 2050
        0x092e0, 0x0d2e3, 0x0c960, 0x0d557, 0x0d4a0, 0x0da50, 0x05d55, 0x056a0, 0x0a6d0, 0x055d4, // 2060
        0x052d0, 0x0a9b8, 0x0a950, 0x0b4a0, 0x0b6a6, 0x0ad50, 0x055a0, 0x0aba4, 0x0a5b0, 0x052b0, // 2070
        0x0b273, 0x06930, 0x07337, 0x06aa0, 0x0ad50, 0x14b55, 0x04b60, 0x0a570, 0x054e4, 0x0d160, // 2080
        0x0e968, 0x0d520, 0x0daa0, 0x16aa6, 0x056d0, 0x04ae0, 0x0a9d4, 0x0a2d0, 0x0d150, 0x0f252, // 2090
        0x0d520 // 2100
    ];
    var FIRST_YEAR = 1899;
    var LAST_YEAR = FIRST_YEAR + LUNAR_INFO.length - 1;

    var STEMS = '甲乙丙丁戊己庚辛壬癸';
    var BRANCHES = '子丑寅卯辰巳午未申酉戌亥';
    var ZODIAC = '鼠牛虎兔龙蛇马羊猴鸡狗猪';
    var MONTH_NAMES = ['正', '二', '三', '四', '五', '六', '七', '八', '九', '十', '冬', '腊'];
    var DAY_NAMES = [
        '初一', '初二', '初三', '初四', '初五', '初六', '初七', '初八', '初九', '初十',
        '十一', '十二', '十三', '十四', '十五', '十六', '十七', '十八', '十九', '二十',
        '廿一', '廿二', '廿三', '廿四', '廿五', '廿六', '廿七', '廿八', '廿九', '三十'
    ];
    var DIGITS = '〇一二三四五六七八九';
    // The terms in the order of a Gregorian year, from 小寒 (285°) on.
    var TERM_NAMES = [
        '小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满', '芒种', '夏至',
        '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪', '大雪', '冬至'
    ];
    var WEEKDAYS = '日一二三四五六';

    // Festivals by Gregorian date ('MMDD'); `since` is the first year kept.
    var SOLAR_FESTIVALS = {
        '0101': { name: '元旦' },
        '0214': { name: '情人节' },
        '0308': { name: '妇女节' },
        '0312': { name: '植树节', since: 1979 },
        '0501': { name: '劳动节' },
        '0504': { name: '青年节' },
        '0601': { name: '儿童节' },
        '0701': { name: '建党节', since: 1941 },
        '0801': { name: '建军节', since: 1933 },
        '0910': { name: '教师节', since: 1985 },
        '1001': { name: '国庆节', since: 1949 },
        '1224': { name: '平安夜' },
        '1225': { name: '圣诞节' }
    };
    // Festivals by lunar date ('MMDD' of a month that is not a leap month).
    var LUNAR_FESTIVALS = {
        '0101': '春节',
        '0115': '元宵节',
        '0202': '龙抬头',
        '0505': '端午节',
        '0707': '七夕',
        '0715': '中元节',
        '0815': '中秋节',
        '0909': '重阳节',
        '1208': '腊八节',
        '1223': '小年'
    };

    // ---- days ------------------------------------------------------------

    var MS_PER_DAY = 86400000;

    // Days since 1970-01-01 of a Gregorian date (month 1-12).
    function dayNumber(year, month, day) {
        var date = new Date(Date.UTC(2000, month - 1, day));
        date.setUTCFullYear(year);
        return Math.round(date.getTime() / MS_PER_DAY);
    }

    function dateOfDayNumber(n) {
        var date = new Date(n * MS_PER_DAY);
        return { year: date.getUTCFullYear(), month: date.getUTCMonth() + 1, day: date.getUTCDate() };
    }

    function daysInMonth(year, month) {
        return dayNumber(month === 12 ? year + 1 : year, month === 12 ? 1 : month + 1, 1) -
            dayNumber(year, month, 1);
    }

    function weekday(year, month, day) {
        return ((dayNumber(year, month, day) % 7) + 11) % 7; // 1970-01-01 was a Thursday
    }

    // ---- the lunar year table --------------------------------------------

    var FIRST_NEW_YEAR = dayNumber(1899, 2, 10); // 正月初一 of 1899

    function leapMonth(year) {
        return LUNAR_INFO[year - FIRST_YEAR] & 0xf;
    }

    function leapMonthDays(year) {
        if (!leapMonth(year))
            return 0;
        return LUNAR_INFO[year - FIRST_YEAR] & 0x10000 ? 30 : 29;
    }

    function monthDays(year, month) {
        return LUNAR_INFO[year - FIRST_YEAR] & (0x10000 >> month) ? 30 : 29;
    }

    function yearDays(year) {
        var days = leapMonthDays(year);
        for (var month = 1; month <= 12; ++month)
            days += monthDays(year, month);
        return days;
    }

    // The months of a lunar year in order: { month, leap, days }.
    function monthsOfYear(year) {
        var months = [];
        var leap = leapMonth(year);
        for (var month = 1; month <= 12; ++month) {
            months.push({ month: month, leap: false, days: monthDays(year, month) });
            if (month === leap)
                months.push({ month: month, leap: true, days: leapMonthDays(year) });
        }
        return months;
    }

    var newYearCache = [FIRST_NEW_YEAR];

    function newYearDay(year) {
        for (var y = FIRST_YEAR + newYearCache.length; y <= year; ++y)
            newYearCache.push(newYearCache[y - 1 - FIRST_YEAR] + yearDays(y - 1));
        return newYearCache[year - FIRST_YEAR];
    }

    function chineseNumber(n) {
        return String(n).split('').map(function (c) { return DIGITS[+c]; }).join('');
    }

    function ganZhi(index) {
        index = ((index % 60) + 60) % 60;
        return STEMS[index % 10] + BRANCHES[index % 12];
    }

    function monthName(month, leap) {
        return (leap ? '闰' : '') + MONTH_NAMES[month - 1] + '月';
    }

    // ---- solar terms -------------------------------------------------------
    // The sun's apparent longitude from the main terms of the VSOP87 theory of
    // the earth, corrected for nutation and aberration; good to about a second
    // of arc, that is well under a minute of time.

    var L0 = [
        [175347046, 0, 0], [3341656, 4.6692568, 6283.07585], [34894, 4.6261, 12566.1517],
        [3497, 2.7441, 5753.3849], [3418, 2.8289, 3.5231], [3136, 3.6277, 77713.7715],
        [2676, 4.4181, 7860.4194], [2343, 6.1352, 3930.2097], [1324, 0.7425, 11506.7698],
        [1273, 2.0371, 529.691], [1199, 1.1096, 1577.3435], [990, 5.233, 5884.927],
        [902, 2.045, 26.298], [857, 3.508, 398.149], [780, 1.179, 5223.694],
        [753, 2.533, 5507.553], [505, 4.583, 18849.228], [492, 4.205, 775.523],
        [357, 2.92, 0.067], [317, 5.849, 11790.629], [284, 1.899, 796.298],
        [271, 0.315, 10977.079], [243, 0.345, 5486.778], [206, 4.806, 2544.314],
        [205, 1.869, 5573.143], [202, 2.458, 6069.777], [156, 0.833, 213.299],
        [132, 3.411, 2942.463], [126, 1.083, 20.775], [115, 0.645, 0.98],
        [103, 0.636, 4694.003], [102, 0.976, 15720.839], [102, 4.267, 7.114],
        [99, 6.21, 2146.17], [98, 0.68, 155.42], [86, 5.98, 161000.69],
        [85, 1.3, 6275.96], [85, 3.67, 71430.7], [80, 1.81, 17260.15],
        [79, 3.04, 12036.46], [75, 1.76, 5088.63], [74, 3.5, 3154.69],
        [74, 4.68, 801.82], [70, 0.83, 9437.76], [62, 3.98, 8827.39],
        [61, 1.82, 7084.9], [57, 2.78, 6286.6], [56, 4.39, 14143.5],
        [56, 3.47, 6279.55], [52, 0.19, 12139.55], [52, 1.33, 1748.02],
        [51, 0.28, 5856.48], [49, 0.49, 1194.45], [41, 5.37, 8429.24],
        [41, 2.4, 19651.05], [39, 6.17, 10447.39], [37, 6.04, 10213.29],
        [37, 2.57, 1059.38], [36, 1.71, 2352.87], [36, 1.78, 6812.77],
        [33, 0.59, 17789.85], [30, 0.44, 83996.85], [30, 2.74, 1349.87],
        [25, 3.16, 4690.48]
    ];
    var L1 = [
        [628331966747, 0, 0], [206059, 2.678235, 6283.07585], [4303, 2.6351, 12566.1517],
        [425, 1.59, 3.523], [119, 5.796, 26.298], [109, 2.966, 1577.344],
        [93, 2.59, 18849.23], [72, 1.14, 529.69], [68, 1.87, 398.15],
        [67, 4.41, 5507.55], [59, 2.89, 5223.69], [56, 2.17, 155.42],
        [45, 0.4, 796.3], [36, 0.47, 775.52], [29, 2.65, 7.11],
        [21, 5.34, 0.98], [19, 1.85, 5486.78], [19, 4.97, 213.3],
        [17, 2.99, 6275.96], [16, 0.03, 2544.31], [16, 1.43, 2146.17],
        [15, 1.21, 10977.08], [12, 2.83, 1748.02], [12, 3.26, 5088.63],
        [12, 5.27, 1194.45], [12, 2.08, 4694.0], [11, 0.77, 553.57],
        [10, 1.3, 6286.6], [10, 4.24, 1349.87], [9, 2.7, 242.73],
        [9, 5.64, 951.72], [8, 5.3, 2352.87], [6, 2.65, 9437.76],
        [6, 4.67, 4690.48]
    ];
    var L2 = [
        [52919, 0, 0], [8720, 1.0721, 6283.0758], [309, 0.867, 12566.152],
        [27, 0.05, 3.52], [16, 5.19, 26.3], [16, 3.68, 155.42],
        [10, 0.76, 18849.23], [9, 2.06, 77713.77], [7, 0.83, 775.52],
        [5, 4.66, 1577.34], [4, 1.03, 7.11], [4, 3.44, 5573.14],
        [3, 5.14, 796.3], [3, 6.05, 5507.55], [3, 1.19, 242.73],
        [3, 6.12, 529.69], [3, 0.31, 398.15], [3, 2.28, 553.57],
        [2, 4.38, 5223.69], [2, 3.75, 0.98]
    ];
    var L3 = [
        [289, 5.844, 6283.076], [35, 0, 0], [17, 5.49, 12566.15],
        [3, 5.2, 155.42], [1, 4.72, 3.52], [1, 5.3, 18849.23], [1, 5.97, 242.73]
    ];
    var L4 = [[114, 3.142, 0], [8, 4.13, 6283.08], [1, 3.84, 12566.15]];
    var L5 = [[1, 3.14, 0]];
    var SERIES = [L0, L1, L2, L3, L4, L5];

    var RAD = Math.PI / 180;

    function sumSeries(terms, tau) {
        var sum = 0;
        for (var i = 0; i < terms.length; ++i)
            sum += terms[i][0] * Math.cos(terms[i][1] + terms[i][2] * tau);
        return sum;
    }

    function normalizeDegrees(x) {
        x %= 360;
        return x < 0 ? x + 360 : x;
    }

    // Apparent geocentric longitude of the sun in degrees at a Julian
    // Ephemeris Day.
    function sunLongitude(jde) {
        var tau = (jde - 2451545) / 365250; // Julian millennia from J2000
        var l = 0;
        for (var k = SERIES.length - 1; k >= 0; --k)
            l = l * tau + sumSeries(SERIES[k], tau);
        l = l / 1e8 / RAD + 180; // heliocentric earth to geocentric sun
        var t = tau * 10;
        var longitude = l - 0.09033 / 3600; // to the FK5 frame
        var omega = (125.04452 - 1934.136261 * t) * RAD;
        var sunMean = (280.4665 + 36000.7698 * t) * RAD;
        var moonMean = (218.3165 + 481267.8813 * t) * RAD;
        var nutation = -17.2 * Math.sin(omega) - 1.32 * Math.sin(2 * sunMean) -
            0.23 * Math.sin(2 * moonMean) + 0.21 * Math.sin(2 * omega);
        var aberration = -20.4898;
        return normalizeDegrees(longitude + (nutation + aberration) / 3600);
    }

    // Terrestrial minus universal time in seconds (polynomial fits of the
    // observed values, and the usual extrapolation after 2050).
    function deltaT(year) {
        var t;
        if (year < 1920) {
            t = year - 1900;
            return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
                0.000197 * t * t * t * t;
        }
        if (year < 1941) {
            t = year - 1920;
            return 21.2 + 0.84493 * t - 0.0761 * t * t + 0.0020936 * t * t * t;
        }
        if (year < 1961) {
            t = year - 1950;
            return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
        }
        if (year < 1986) {
            t = year - 1975;
            return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
        }
        if (year < 2005) {
            t = year - 2000;
            return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
                0.000651814 * Math.pow(t, 4) + 0.00002373599 * Math.pow(t, 5);
        }
        if (year < 2050) {
            t = year - 2000;
            return 62.92 + 0.32217 * t + 0.005589 * t * t;
        }
        var u = (year - 1820) / 100;
        return -20 + 32 * u * u - 0.5628 * (2150 - year);
    }

    var JD_UNIX_EPOCH = 2440587.5; // Julian Day of 1970-01-01 0:00 UTC

    // The moment (Julian Day, universal time) of solar term `index` of a
    // Gregorian year (0 小寒 ... 23 冬至).
    function solarTermMoment(year, index) {
        var target = (285 + 15 * index) % 360;
        var jd = JD_UNIX_EPOCH + dayNumber(year, 1, 6) + index * 15.22;
        for (var i = 0; i < 50; ++i) {
            var jde = jd + deltaT(year) / 86400;
            var diff = target - sunLongitude(jde);
            diff -= 360 * Math.round(diff / 360);
            jd += diff * 365.2422 / 360;
            if (Math.abs(diff) < 1e-7)
                break;
        }
        return jd;
    }

    // The Chinese calendar counts days in China Standard Time (UTC+8).
    function chinaDayNumber(jd) {
        return Math.floor(jd - JD_UNIX_EPOCH + 8 / 24);
    }

    var termCache = {};

    // Day numbers of the 24 solar terms of a Gregorian year.
    function solarTermDays(year) {
        if (!termCache[year]) {
            var days = [];
            for (var i = 0; i < 24; ++i)
                days.push(chinaDayNumber(solarTermMoment(year, i)));
            termCache[year] = days;
        }
        return termCache[year];
    }

    // The solar term falling on a date, or ''.
    function solarTerm(year, month, day) {
        var n = dayNumber(year, month, day);
        var days = solarTermDays(year);
        var index = days.indexOf(n);
        return index < 0 ? '' : TERM_NAMES[index];
    }

    // ---- conversions ---------------------------------------------------------

    function inRange(year, month, day) {
        var n = dayNumber(year, month, day);
        return n >= FIRST_NEW_YEAR && n < newYearDay(LAST_YEAR) + yearDays(LAST_YEAR);
    }

    // The lunar date of a Gregorian date, or null outside the table.
    function solarToLunar(year, month, day) {
        if (!inRange(year, month, day))
            return null;
        var n = dayNumber(year, month, day);
        var lunarYear = year;
        while (newYearDay(lunarYear) > n)
            --lunarYear;
        var offset = n - newYearDay(lunarYear);
        var months = monthsOfYear(lunarYear);
        var i = 0;
        while (offset >= months[i].days) {
            offset -= months[i].days;
            ++i;
        }
        var m = months[i];
        var result = {
            year: lunarYear,
            month: m.month,
            leap: m.leap,
            day: offset + 1,
            monthDays: m.days,
            monthName: monthName(m.month, m.leap),
            dayName: DAY_NAMES[offset],
            yearName: chineseNumber(lunarYear) + '年',
            yearGanZhi: ganZhi(lunarYear - 4),
            zodiac: ZODIAC[(((lunarYear - 4) % 12) + 12) % 12],
            monthGanZhi: monthGanZhi(year, month, day),
            dayGanZhi: dayGanZhi(year, month, day)
        };
        result.text = '农历' + result.monthName + result.dayName;
        result.festival = lunarFestival(result);
        return result;
    }

    // The Gregorian date of a lunar date, or null when there is no such day.
    function lunarToSolar(year, month, day, leap) {
        if (year < FIRST_YEAR || year > LAST_YEAR)
            return null;
        var n = newYearDay(year);
        var months = monthsOfYear(year);
        for (var i = 0; i < months.length; ++i) {
            var m = months[i];
            if (m.month === month && m.leap === !!leap) {
                if (day < 1 || day > m.days)
                    return null;
                return dateOfDayNumber(n + day - 1);
            }
            n += m.days;
        }
        return null;
    }

    // ---- the sexagenary cycle -------------------------------------------------

    // 1949-10-01 was a 甲子 day.
    var JIAZI_DAY = dayNumber(1949, 10, 1);

    function dayGanZhi(year, month, day) {
        return ganZhi(dayNumber(year, month, day) - JIAZI_DAY);
    }

    // Months of the cycle change at the twelve 节 (立春, 惊蛰, ...); the month
    // from 立春 is a 寅 month, and the stems run on without a break, sixty
    // months to five years.
    function monthGanZhi(year, month, day) {
        var n = dayNumber(year, month, day);
        var days = solarTermDays(year);
        // Count the 节 (even term indices) passed this year, from 小寒.
        var passed = 0;
        for (var i = 0; i < 24; i += 2) {
            if (n >= days[i])
                ++passed;
        }
        // 小寒 of `year` opens the 丑 month of the cycle year `year - 1`.
        var months = (year - 1900) * 12 + passed - 1; // months since 小寒 1900
        // The month from 小寒 1900 was a 丁丑 month (index 13).
        return ganZhi(13 + months);
    }

    // ---- festivals ------------------------------------------------------------

    function pad2(n) {
        return (n < 10 ? '0' : '') + n;
    }

    function lunarFestival(lunar) {
        if (lunar.leap)
            return '';
        if (lunar.month === 12 && lunar.day === lunar.monthDays)
            return '除夕';
        return LUNAR_FESTIVALS[pad2(lunar.month) + pad2(lunar.day)] || '';
    }

    // Festivals fixed to a weekday: Mother's Day on the second Sunday of May,
    // Father's Day on the third Sunday of June.
    function weekdayFestival(year, month, day) {
        if (weekday(year, month, day) !== 0)
            return '';
        var nth = Math.floor((day - 1) / 7) + 1;
        if (month === 5 && nth === 2)
            return '母亲节';
        if (month === 6 && nth === 3)
            return '父亲节';
        return '';
    }

    function solarFestival(year, month, day) {
        var festival = SOLAR_FESTIVALS[pad2(month) + pad2(day)];
        if (festival && !(festival.since > year))
            return festival.name;
        return weekdayFestival(year, month, day);
    }

    // Everything the calendar shows about one Gregorian date.
    function describe(year, month, day) {
        var lunar = solarToLunar(year, month, day);
        var term = solarTerm(year, month, day);
        var festivals = [];
        if (lunar && lunar.festival)
            festivals.push(lunar.festival);
        var solar = solarFestival(year, month, day);
        if (solar)
            festivals.push(solar);
        if (term === '清明')
            festivals.push('清明节');
        return {
            year: year,
            month: month,
            day: day,
            weekday: weekday(year, month, day),
            weekdayName: '星期' + WEEKDAYS[weekday(year, month, day)],
            lunar: lunar,
            term: term,
            festivals: festivals
        };
    }

    root.Lunar = {
        FIRST_YEAR: FIRST_YEAR,
        LAST_YEAR: LAST_YEAR,
        TERM_NAMES: TERM_NAMES,
        WEEKDAYS: WEEKDAYS,
        dayNumber: dayNumber,
        dateOfDayNumber: dateOfDayNumber,
        daysInMonth: daysInMonth,
        weekday: weekday,
        leapMonth: leapMonth,
        monthsOfYear: monthsOfYear,
        solarToLunar: solarToLunar,
        lunarToSolar: lunarToSolar,
        solarTermMoment: solarTermMoment,
        solarTermDays: solarTermDays,
        solarTerm: solarTerm,
        solarFestival: solarFestival,
        dayGanZhi: dayGanZhi,
        monthGanZhi: monthGanZhi,
        describe: describe
    };
})(typeof window !== 'undefined' ? window : globalThis);
