#pragma once

// A program folder of its own for a test: the nine empty module databases in
// database/, message boxes answered (Yes to a question) and kept for checking.

#include "platform/ado.h"
#include "platform/app_dir.h"
#include "platform/message_box.h"
#include "records/module_storage.h"

#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

struct ShownBox {
    QString text;
    QString caption;
    unsigned flags = 0;
};

class ProgramFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mDir.isValid());
        platform::setAppDir(mDir.path());
        ASSERT_TRUE(QDir(mDir.path()).mkdir(QStringLiteral("database")));
        for (const records::ModuleTable& table : records::moduleTables()) {
            sqlite3* db = nullptr;
            ASSERT_EQ(sqlite3_open(records::databasePath(table.fileName).toUtf8().constData(), &db),
                      SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db, records::createTableStatement(table).c_str(), nullptr,
                                   nullptr, nullptr),
                      SQLITE_OK);
            sqlite3_close(db);
        }
        platform::setMessageBoxAnswerer(
            [this](const QString& text, const QString& caption, unsigned flags) {
                mBoxes.append({text, caption, flags});
                return (flags & 0xF) == platform::mb::YesNo ? platform::IdYes : platform::IdOk;
            });
    }
    void TearDown() override { platform::setMessageBoxAnswerer({}); }

    QString path(const QString& relative) const { return mDir.filePath(relative); }

    QStringList boxTexts() const {
        QStringList texts;
        for (const ShownBox& box : mBoxes)
            texts << box.text;
        return texts;
    }

    // An open connection to a database file.
    static std::unique_ptr<platform::AdoConnection> connectTo(const QString& file) {
        auto connection = std::make_unique<platform::AdoConnection>();
        connection->setConnectionString("Data Source=" + file.toStdString());
        connection->open();
        return connection;
    }

    // Runs a statement or a one-value query on a database file.
    static QString sqlValue(const QString& file, const std::string& sql) {
        const auto connection = connectTo(file);
        platform::AdoQuery query(*connection);
        query.setSql(sql);
        query.open();
        return query.eof() ? QString() : QString::fromStdString(std::string(query.field(0)));
    }
    static void sqlRun(const QString& file, const std::string& sql) {
        const auto connection = connectTo(file);
        platform::AdoQuery query(*connection);
        query.setSql(sql);
        query.execSql();
    }

    QTemporaryDir mDir;
    QList<ShownBox> mBoxes;
};
