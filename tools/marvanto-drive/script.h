#pragma once

// Driver scripts: one action a line, words separated by blanks, texts in
// double quotes with \" \\ \n and \r escaped, and \uXXXX for any character by
// its code. Blank lines and lines starting with
// # are skipped; a # after a blank outside quotes starts a comment.

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace drive {

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Action {
    int line = 0;      // 1-based line number in its script
    QString source;    // the line as written
    QString verb;      // show, type, click, ...
    QStringList words; // the words after the verb, quotes removed
};

// Splits one line into words. Throws ScriptError for an unterminated quote or
// an unknown escape.
QStringList splitWords(const QString& line);

// Parses a whole script. Throws ScriptError naming the line on a bad line.
std::vector<Action> parseScript(const QString& text);

// "TForm11.BiaoTi" -> {"TForm11", "BiaoTi"}; "TForm11" -> {"TForm11", ""}.
std::pair<QString, QString> splitTarget(const QString& target);

} // namespace drive
