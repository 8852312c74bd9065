// The perpetual calendar page: a month grid with lunar dates, solar terms and
// festivals, a panel with the details of the chosen day, and today's line.
(function () {
    'use strict';

    var FIRST_YEAR = 1900;
    var LAST_YEAR = 2100;

    var shown = { year: 0, month: 0 }; // the month in the grid
    var selected = null; // { year, month, day }
    var today = null;

    function $(id) {
        return document.getElementById(id);
    }

    function readToday() {
        var now = new Date();
        return { year: now.getFullYear(), month: now.getMonth() + 1, day: now.getDate() };
    }

    function sameDay(a, b) {
        return a && b && a.year === b.year && a.month === b.month && a.day === b.day;
    }

    function clampToRange(date) {
        if (date.year < FIRST_YEAR)
            return { year: FIRST_YEAR, month: 1, day: 1 };
        if (date.year > LAST_YEAR)
            return { year: LAST_YEAR, month: 12, day: 31 };
        return date;
    }

    function dateText(date) {
        return date.year + '年' + date.month + '月' + date.day + '日';
    }

    function isoText(date) {
        var pad = function (n) { return (n < 10 ? '0' : '') + n; };
        return date.year + '-' + pad(date.month) + '-' + pad(date.day);
    }

    // The short text under a day number: a festival, a solar term, the month
    // name on the first day of a lunar month, else the lunar day.
    function cellNote(info) {
        if (info.festivals.length)
            return { text: info.festivals[0], kind: 'festival' };
        if (info.term)
            return { text: info.term, kind: 'term' };
        if (!info.lunar)
            return { text: '', kind: '' };
        if (info.lunar.day === 1) {
            var days = info.lunar.monthDays === 30 ? '大' : '小';
            return { text: info.lunar.monthName + days, kind: 'month-start' };
        }
        return { text: info.lunar.dayName, kind: '' };
    }

    function setupControls() {
        var years = $('year-select');
        for (var y = FIRST_YEAR; y <= LAST_YEAR; ++y)
            years.add(new Option(y + '年', y));
        var months = $('month-select');
        for (var m = 1; m <= 12; ++m)
            months.add(new Option(m + '月', m));
        var weekdays = $('weekdays');
        for (var w = 0; w < 7; ++w) {
            var head = document.createElement('div');
            head.textContent = Lunar.WEEKDAYS[w];
            if (w === 0 || w === 6)
                head.className = 'weekend';
            weekdays.appendChild(head);
        }

        years.addEventListener('change', function () { showMonth(+years.value, shown.month); });
        months.addEventListener('change', function () { showMonth(shown.year, +months.value); });
        $('prev-year').addEventListener('click', function () { moveMonths(-12); });
        $('next-year').addEventListener('click', function () { moveMonths(12); });
        $('prev-month').addEventListener('click', function () { moveMonths(-1); });
        $('next-month').addEventListener('click', function () { moveMonths(1); });
        $('today-button').addEventListener('click', goToday);
        document.addEventListener('keydown', function (event) {
            if (event.target.tagName === 'SELECT')
                return;
            var moves = { PageUp: -1, PageDown: 1, ArrowLeft: -1, ArrowRight: 1 };
            if (event.key in moves) {
                moveMonths(moves[event.key]);
                event.preventDefault();
            } else if (event.key === 'Home') {
                goToday();
                event.preventDefault();
            }
        });
    }

    function moveMonths(count) {
        var index = shown.year * 12 + shown.month - 1 + count;
        var year = Math.floor(index / 12);
        if (year < FIRST_YEAR || year > LAST_YEAR)
            return;
        showMonth(year, (index % 12) + 1);
    }

    function goToday() {
        var date = clampToRange(today);
        selected = date;
        showMonth(date.year, date.month);
    }

    function showMonth(year, month) {
        shown = { year: year, month: month };
        if (!selected || selected.year !== year || selected.month !== month) {
            var day = selected ? Math.min(selected.day, Lunar.daysInMonth(year, month)) : 1;
            selected = { year: year, month: month, day: day };
        }
        render();
    }

    function renderGrid() {
        var grid = $('grid');
        grid.textContent = '';
        var first = Lunar.dayNumber(shown.year, shown.month, 1);
        var start = first - Lunar.weekday(shown.year, shown.month, 1);
        var cells = Lunar.weekday(shown.year, shown.month, 1) +
            Lunar.daysInMonth(shown.year, shown.month) > 35 ? 42 : 35;
        grid.style.gridTemplateRows = 'repeat(' + cells / 7 + ', 1fr)';
        for (var i = 0; i < cells; ++i) {
            var date = Lunar.dateOfDayNumber(start + i);
            grid.appendChild(makeCell(date, i % 7));
        }
    }

    function makeCell(date, column) {
        var info = Lunar.describe(date.year, date.month, date.day);
        var cell = document.createElement('div');
        var classes = ['cell'];
        if (date.month !== shown.month)
            classes.push('other-month');
        if (column === 0 || column === 6)
            classes.push('weekend');
        if (sameDay(date, today))
            classes.push('today');
        if (sameDay(date, selected))
            classes.push('selected');
        cell.className = classes.join(' ');
        cell.dataset.date = isoText(date);

        var number = document.createElement('span');
        number.className = 'number';
        number.textContent = date.day;
        var note = cellNote(info);
        var lunar = document.createElement('span');
        lunar.className = 'note ' + note.kind;
        lunar.textContent = note.text;
        cell.appendChild(number);
        cell.appendChild(lunar);
        cell.title = dateText(date) + ' ' + info.weekdayName +
            (info.lunar ? '\n' + info.lunar.text : '') +
            (info.term ? '\n' + info.term : '') +
            (info.festivals.length ? '\n' + info.festivals.join(' ') : '');

        var inRange = date.year >= FIRST_YEAR && date.year <= LAST_YEAR;
        if (inRange) {
            cell.addEventListener('click', selectDay.bind(null, date));
        }
        return cell;
    }

    // Days from a date to the next solar term on or after it.
    function nextTerm(date) {
        var n = Lunar.dayNumber(date.year, date.month, date.day);
        for (var year = date.year; year <= date.year + 1; ++year) {
            var days = Lunar.solarTermDays(year);
            for (var i = 0; i < 24; ++i) {
                if (days[i] >= n)
                    return { name: Lunar.TERM_NAMES[i], days: days[i] - n, day: days[i] };
            }
        }
        return null;
    }

    function renderDetail() {
        var info = Lunar.describe(selected.year, selected.month, selected.day);
        $('detail-date').textContent = dateText(selected) + ' ' + info.weekdayName;
        $('detail-day').textContent = selected.day;
        var lunar = info.lunar;
        $('detail-lunar').textContent = lunar ? lunar.text : '';
        $('detail-ganzhi').textContent = lunar
            ? lunar.yearGanZhi + '年【' + lunar.zodiac + '年】\n' + lunar.monthGanZhi + '月 ' +
                lunar.dayGanZhi + '日'
            : '';
        var events = info.festivals.slice();
        if (info.term)
            events.unshift(info.term);
        var box = $('detail-events');
        box.textContent = '';
        events.forEach(function (e) {
            var tag = document.createElement('span');
            tag.className = Lunar.TERM_NAMES.indexOf(e) >= 0 ? 'tag term' : 'tag festival';
            tag.textContent = e;
            box.appendChild(tag);
        });
        var next = nextTerm(selected);
        var termLine = '';
        if (next && next.days > 0) {
            var d = Lunar.dateOfDayNumber(next.day);
            termLine = '距' + next.name + '（' + d.month + '月' + d.day + '日）还有' + next.days + '天';
        }
        $('detail-term').textContent = termLine;
    }

    function renderHeader() {
        $('year-select').value = shown.year;
        $('month-select').value = shown.month;
        $('prev-year').disabled = shown.year <= FIRST_YEAR;
        $('prev-month').disabled = shown.year <= FIRST_YEAR && shown.month === 1;
        $('next-year').disabled = shown.year >= LAST_YEAR;
        $('next-month').disabled = shown.year >= LAST_YEAR && shown.month === 12;
        // The lunar year and months that the shown month spans.
        var first = Lunar.solarToLunar(shown.year, shown.month, 1);
        var last = Lunar.solarToLunar(shown.year, shown.month, Lunar.daysInMonth(shown.year, shown.month));
        var text = '';
        if (first && last) {
            text = first.yearGanZhi + first.zodiac + '年 ' + first.monthName;
            if (last.year !== first.year)
                text += ' — ' + last.yearGanZhi + last.zodiac + '年 ' + last.monthName;
            else if (last.monthName !== first.monthName)
                text += ' — ' + last.monthName;
        }
        $('month-lunar').textContent = text;
    }

    // The festivals and solar terms of the shown month, each a link to its day.
    function renderMonthEvents() {
        var list = $('month-events');
        list.textContent = '';
        var days = Lunar.daysInMonth(shown.year, shown.month);
        for (var day = 1; day <= days; ++day) {
            var info = Lunar.describe(shown.year, shown.month, day);
            var names = info.term ? [info.term] : [];
            names = names.concat(info.festivals.filter(function (f) { return f !== '清明节'; }));
            if (!names.length)
                continue;
            var item = document.createElement('li');
            var date = document.createElement('span');
            date.className = 'event-day';
            date.textContent = day + '日';
            var text = document.createElement('span');
            text.className = info.term ? 'event-name term' : 'event-name festival';
            text.textContent = names.join(' · ');
            item.appendChild(date);
            item.appendChild(text);
            item.addEventListener('click', selectDay.bind(null, { year: shown.year, month: shown.month, day: day }));
            list.appendChild(item);
        }
    }

    function selectDay(date) {
        selected = date;
        if (date.year !== shown.year || date.month !== shown.month)
            shown = { year: date.year, month: date.month };
        render();
    }

    function renderToday() {
        var info = Lunar.describe(today.year, today.month, today.day);
        var date = $('today-date');
        date.textContent = dateText(today);
        date.dataset.iso = isoText(today);
        $('today-weekday').textContent = info.weekdayName;
        $('today-lunar').textContent = info.lunar ? info.lunar.text : '';
    }

    function render() {
        renderHeader();
        renderGrid();
        renderDetail();
        renderMonthEvents();
        renderToday();
    }

    // A page left open over midnight moves its mark to the new day.
    function watchMidnight() {
        setInterval(function () {
            var now = readToday();
            if (!sameDay(now, today)) {
                today = now;
                render();
            }
        }, 30000);
    }

    today = readToday();
    setupControls();
    goToday();
    watchMidnight();
})();
