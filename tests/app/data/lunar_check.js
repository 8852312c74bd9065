// Checks the calendar page's lunar year table against the sky: new moons from
// the lunar theory's periodic terms (good to well under a minute), the major
// solar terms from the page itself, and the rules of the Chinese calendar
// (a month starts on the day of a new moon in China Standard Time; the month
// holding the winter solstice is the eleventh; in a solstice-to-solstice span
// of thirteen months the first month without a major term is a leap month).
// lunarTableDisagreements() lists the lunar years whose months differ.
function lunarTableDisagreements() {
    'use strict';
    var RAD = Math.PI / 180;
    var JD_UNIX_EPOCH = 2440587.5;

    // Terrestrial minus universal time in days, as observed and extrapolated.
    function deltaTDays(year) {
        var t, seconds;
        if (year < 1920) {
            t = year - 1900;
            seconds = -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
                0.000197 * t * t * t * t;
        } else if (year < 1941) {
            t = year - 1920;
            seconds = 21.2 + 0.84493 * t - 0.0761 * t * t + 0.0020936 * t * t * t;
        } else if (year < 1961) {
            t = year - 1950;
            seconds = 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
        } else if (year < 1986) {
            t = year - 1975;
            seconds = 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
        } else if (year < 2005) {
            t = year - 2000;
            seconds = 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
                0.000651814 * Math.pow(t, 4) + 0.00002373599 * Math.pow(t, 5);
        } else if (year < 2050) {
            t = year - 2000;
            seconds = 62.92 + 0.32217 * t + 0.005589 * t * t;
        } else {
            t = (year - 1820) / 100;
            seconds = -20 + 32 * t * t - 0.5628 * (2150 - year);
        }
        return seconds / 86400;
    }

    // Julian Ephemeris Day of new moon number k (k = 0 in January 2000).
    function newMoon(k) {
        var T = k / 1236.85;
        var jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * T * T -
            0.00000015 * T * T * T + 0.00000000073 * T * T * T * T;
        var E = 1 - 0.002516 * T - 0.0000074 * T * T;
        var M = (2.5534 + 29.1053567 * k - 0.0000014 * T * T - 0.00000011 * T * T * T) * RAD;
        var Mp = (201.5643 + 385.81693528 * k + 0.0107582 * T * T + 0.00001238 * T * T * T -
            0.000000058 * T * T * T * T) * RAD;
        var F = (160.7108 + 390.67050284 * k - 0.0016118 * T * T - 0.00000227 * T * T * T +
            0.000000011 * T * T * T * T) * RAD;
        var O = (124.7746 - 1.56375588 * k + 0.0020672 * T * T + 0.00000215 * T * T * T) * RAD;
        var s = Math.sin;
        jde += -0.4072 * s(Mp) + 0.17241 * E * s(M) + 0.01608 * s(2 * Mp) + 0.01039 * s(2 * F) +
            0.00739 * E * s(Mp - M) - 0.00514 * E * s(Mp + M) + 0.00208 * E * E * s(2 * M) -
            0.00111 * s(Mp - 2 * F) - 0.00057 * s(Mp + 2 * F) + 0.00056 * E * s(2 * Mp + M) -
            0.00042 * s(3 * Mp) + 0.00042 * E * s(M + 2 * F) + 0.00038 * E * s(M - 2 * F) -
            0.00024 * E * s(2 * Mp - M) - 0.00017 * s(O) - 0.00007 * s(Mp + 2 * M) +
            0.00004 * s(2 * Mp - 2 * F) + 0.00004 * s(3 * M) + 0.00003 * s(Mp + M - 2 * F) +
            0.00003 * s(2 * Mp + 2 * F) - 0.00003 * s(Mp + M + 2 * F) +
            0.00003 * s(Mp - M + 2 * F) - 0.00002 * s(Mp - M - 2 * F) -
            0.00002 * s(3 * Mp + M) + 0.00002 * s(4 * Mp);
        var planetary = [
            [0.000325, 299.77, 0.107408, -0.009173], [0.000165, 251.88, 0.016321, 0],
            [0.000164, 251.83, 26.651886, 0], [0.000126, 349.42, 36.412478, 0],
            [0.00011, 84.66, 18.206239, 0], [0.000062, 141.74, 53.303771, 0],
            [0.00006, 207.14, 2.453732, 0], [0.000056, 154.84, 7.30686, 0],
            [0.000047, 34.52, 27.261239, 0], [0.000042, 207.19, 0.121824, 0],
            [0.00004, 291.34, 1.844379, 0], [0.000037, 161.72, 24.198154, 0],
            [0.000035, 239.56, 25.513099, 0], [0.000023, 331.55, 3.592518, 0]
        ];
        planetary.forEach(function (p) {
            jde += p[0] * s((p[1] + p[2] * k + p[3] * T * T) * RAD);
        });
        return jde;
    }

    // New moons as China days, each with whether it lies so near midnight
    // (a quarter hour) that the day it falls on is a matter of seconds or of
    // the clock used: the early years of the table counted in Beijing's local
    // time, fourteen minutes behind.
    var NEAR_MIDNIGHT = 15 / 1440;
    var moons = [];
    var nearMidnight = {};
    for (var k = Math.floor((1898 - 2000) * 12.3685); k <= Math.ceil((2102 - 2000) * 12.3685); ++k) {
        var year = 2000 + k / 12.3685;
        var local = newMoon(k) - deltaTDays(year) - JD_UNIX_EPOCH + 8 / 24;
        var day = Math.floor(local);
        moons.push(day);
        if (local - day < NEAR_MIDNIGHT || day + 1 - local < NEAR_MIDNIGHT)
            nearMidnight[day] = true;
    }
    var majorTerms = [];
    for (var y = 1898; y <= 2102; ++y) {
        var days = Lunar.solarTermDays(y);
        for (var i = 1; i < 24; i += 2)
            majorTerms.push(days[i]);
    }
    function lastMoonOnOrBefore(day) {
        var i = 0;
        while (moons[i + 1] <= day)
            ++i;
        return i;
    }
    function solstice(year) {
        return Lunar.solarTermDays(year)[23];
    }

    // Every month from the eleventh month of 1898 on: start day, number, leap.
    var months = [];
    for (var y = 1898; y <= 2101; ++y) {
        var a = lastMoonOnOrBefore(solstice(y));
        var b = lastMoonOnOrBefore(solstice(y + 1));
        var leapFound = false;
        var number = 11;
        for (var i = a; i < b; ++i) {
            var leap = false;
            if (b - a === 13 && !leapFound) {
                var start = moons[i], end = moons[i + 1];
                leap = !majorTerms.some(function (d) { return d >= start && d < end; });
                leapFound = leap;
            }
            if (!leap && i > a)
                number = number % 12 + 1;
            months.push({ start: moons[i], end: moons[i + 1], number: number, leap: leap });
        }
    }

    // A month start of the table matches the sky's, or lies a day off a new
    // moon at midnight.
    function sameStart(tableDay, skyDay) {
        return tableDay === skyDay || (Math.abs(tableDay - skyDay) === 1 && nearMidnight[skyDay]);
    }

    var disagreements = [];
    var m = 0;
    for (var y = 1899; y <= 2100; ++y) {
        while (months[m].number !== 1 || months[m].leap || months[m].start < Lunar.dayNumber(y, 1, 1))
            ++m;
        var first = Lunar.lunarToSolar(y, 1, 1, false);
        var day = Lunar.dayNumber(first.year, first.month, first.day);
        var agrees = true;
        Lunar.monthsOfYear(y).forEach(function (month, i) {
            var sky = months[m + i];
            if (!sky || sky.number !== month.month || sky.leap !== month.leap ||
                !sameStart(day, sky.start) || !sameStart(day + month.days, sky.end))
                agrees = false;
            day += month.days;
        });
        var next = months[m + Lunar.monthsOfYear(y).length];
        if (!next || next.number !== 1 || next.leap)
            agrees = false;
        if (!agrees)
            disagreements.push(y);
    }
    return disagreements;
}
