#include "script.h"

namespace drive {

QStringList splitWords(const QString& line) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('\\')) {
                if (i + 1 >= line.size())
                    throw ScriptError("a backslash ends the line");
                const QChar next = line.at(++i);
                if (next == QLatin1Char('"') || next == QLatin1Char('\\'))
                    word += next;
                else if (next == QLatin1Char('n'))
                    word += QLatin1Char('\n');
                else if (next == QLatin1Char('r'))
                    word += QLatin1Char('\r');
                else if (next == QLatin1Char('u')) {
                    // \uXXXX: one UTF-16 unit by its four hex digits.
                    bool ok = false;
                    const ushort unit = line.mid(i + 1, 4).toUShort(&ok, 16);
                    if (!ok || i + 4 >= line.size())
                        throw ScriptError("\\u needs four hex digits");
                    word += QChar(unit);
                    i += 4;
                } else
                    throw ScriptError(
                        QStringLiteral("unknown escape \\%1").arg(next).toStdString());
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                word += c;
            }
            continue;
        }
        if (c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else if (c == QLatin1Char('#') && !inWord) {
            break;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        throw ScriptError("a quoted text is not closed");
    if (inWord)
        words << word;
    return words;
}

std::vector<Action> parseScript(const QString& text) {
    std::vector<Action> actions;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QStringList words;
        try {
            words = splitWords(line);
        } catch (const ScriptError& error) {
            throw ScriptError(QStringLiteral("line %1: %2")
                                  .arg(i + 1)
                                  .arg(QString::fromUtf8(error.what()))
                                  .toStdString());
        }
        if (words.isEmpty())
            continue;
        Action action;
        action.line = static_cast<int>(i + 1);
        action.source = trimmed;
        action.verb = words.takeFirst();
        action.words = words;
        actions.push_back(action);
    }
    return actions;
}

std::pair<QString, QString> splitTarget(const QString& target) {
    const qsizetype dot = target.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return {target, QString()};
    return {target.left(dot), target.mid(dot + 1)};
}

} // namespace drive
