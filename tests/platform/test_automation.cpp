#include "platform/automation.h"
#include "platform/automation_file.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// A server that answers "Echo" (method or get) with its arguments' count,
// "Child" (get) with a new object, "Value" (put) and fails on "Fail".
class EchoObject : public AutomationObject {
public:
    EchoObject() : AutomationObject(QStringLiteral("Echo")) {}

    QList<QVariant> putValues;

protected:
    OleVariant dispatch(const QString& name, CallKind kind,
                        const QList<OleVariant>& arguments) override {
        if (automation::nameIs(name, QLatin1String("Echo"))) {
            automation::expectCall(name, kind, CallKind::Method, arguments, 0, 5);
            return static_cast<int>(arguments.size());
        }
        if (automation::nameIs(name, QLatin1String("Child"))) {
            automation::expectCall(name, kind, CallKind::PropertyGet, arguments, 0, 0);
            return std::make_shared<EchoObject>();
        }
        if (automation::nameIs(name, QLatin1String("Value"))) {
            automation::expectCall(name, kind, CallKind::PropertyPut, arguments, 1, 1);
            putValues.append(arguments[0].value());
            return {};
        }
        if (automation::nameIs(name, QLatin1String("Fail")))
            throw AutomationError(QStringLiteral("failed on purpose"));
        automation::unknownMember(typeName(), name);
    }
};

class AutomationRegistry : public ::testing::Test {
protected:
    void TearDown() override { Automation::restoreBuiltInClasses(); }
};

} // namespace

TEST_F(AutomationRegistry, CreatesTheBuiltInServersByNameInAnyCase) {
    for (const char* name : {"Excel.Application", "excel.application", "Excel.Sheet",
                             "word.Application", "WORD.APPLICATION"}) {
        const OleVariant object = Automation::createOleObject(QString::fromLatin1(name));
        EXPECT_TRUE(object.isObject()) << name;
    }
    EXPECT_THROW(Automation::createOleObject(QStringLiteral("Excel.Applications")),
                 AutomationError);
    EXPECT_THROW(Automation::createOleObject(QString()), AutomationError);
}

TEST_F(AutomationRegistry, UnregisteredClassesCannotBeCreatedUntilRestored) {
    EXPECT_TRUE(Automation::unregisterClass(QStringLiteral("EXCEL.application")));
    EXPECT_FALSE(Automation::unregisterClass(QStringLiteral("Excel.Application")));
    EXPECT_FALSE(Automation::isRegistered(QStringLiteral("Excel.Application")));
    EXPECT_THROW(Automation::createOleObject(QStringLiteral("Excel.Application")), AutomationError);
    // The other classes stay.
    EXPECT_TRUE(Automation::createOleObject(QStringLiteral("Excel.Sheet")).isObject());

    Automation::restoreBuiltInClasses();
    EXPECT_TRUE(Automation::createOleObject(QStringLiteral("Excel.Application")).isObject());
}

TEST_F(AutomationRegistry, RegisteredFactoriesServeNewObjectsAndRestoreDropsThem) {
    int made = 0;
    Automation::registerClass(QStringLiteral("Test.Echo"), [&made] {
        ++made;
        return std::make_shared<EchoObject>();
    });
    const OleVariant first = Automation::createOleObject(QStringLiteral("test.echo"));
    const OleVariant second = Automation::createOleObject(QStringLiteral("Test.Echo"));
    EXPECT_EQ(made, 2);
    EXPECT_NE(first.object(), second.object());

    Automation::registerClass(QStringLiteral("Test.Broken"), [] { return nullptr; });
    EXPECT_THROW(Automation::createOleObject(QStringLiteral("Test.Broken")), AutomationError);

    Automation::restoreBuiltInClasses();
    EXPECT_FALSE(Automation::isRegistered(QStringLiteral("Test.Echo")));
}

TEST(AutomationCalls, MembersAnswerOnlyTheCallKindsTheyServe) {
    const OleVariant echo(std::make_shared<EchoObject>());
    EXPECT_EQ(echo.invoke(QStringLiteral("echo"), CallKind::Method, {1, 2}).value().toInt(), 2);
    EXPECT_EQ(echo.invoke(QStringLiteral("ECHO"), CallKind::MethodOrGet).value().toInt(), 0);
    EXPECT_THROW(echo.invoke(QStringLiteral("Echo"), CallKind::PropertyGet), AutomationError);
    EXPECT_THROW(echo.invoke(QStringLiteral("Echo"), CallKind::PropertyPut, {1}), AutomationError);

    EXPECT_TRUE(echo.invoke(QStringLiteral("child"), CallKind::MethodOrGet).isObject());
    EXPECT_THROW(echo.invoke(QStringLiteral("Child"), CallKind::Method), AutomationError);
    EXPECT_THROW(echo.invoke(QStringLiteral("Child"), CallKind::PropertyGet, {1}), AutomationError);

    EXPECT_THROW(echo.invoke(QStringLiteral("Value"), CallKind::MethodOrGet, {1}), AutomationError);
    EXPECT_THROW(echo.invoke(QStringLiteral("Nothing"), CallKind::Method), AutomationError);
}

TEST(AutomationCalls, APlainValueHasNoMembers) {
    EXPECT_THROW(OleVariant(5).invoke(QStringLiteral("Echo"), CallKind::Method), AutomationError);
    EXPECT_THROW(OleVariant().invoke(QStringLiteral("Echo"), CallKind::Method), AutomationError);
    EXPECT_TRUE(OleVariant().isNull());
    EXPECT_TRUE(OleVariant(QVariant()).isNull());
    EXPECT_FALSE(OleVariant(QString()).isObject());
}

TEST_F(AutomationRegistry, TheRecorderLogsCreationsCallsArgumentsResultsAndFailures) {
    Automation::registerClass(QStringLiteral("Test.Echo"),
                              [] { return std::make_shared<EchoObject>(); });
    // Calls before the recorder starts are not logged.
    OleVariant early = Automation::createOleObject(QStringLiteral("Test.Echo"));
    early.invoke(QStringLiteral("Echo"), CallKind::Method);

    CallRecorder recorder;
    const OleVariant echo = Automation::createOleObject(QStringLiteral("Test.Echo"));
    const OleVariant child = echo.invoke(QStringLiteral("Child"), CallKind::MethodOrGet);
    echo.invoke(QStringLiteral("echo"), CallKind::Method,
                {child, 7, 0.1, QStringLiteral("say \"米\""), QVariant()});
    child.invoke(QStringLiteral("Value"), CallKind::PropertyPut,
                 {QDateTime(QDate(2009, 2, 14), QTime(9, 5, 7))});
    early.invoke(QStringLiteral("Value"), CallKind::PropertyPut, {QDate(2009, 2, 14)});
    EXPECT_THROW(echo.invoke(QStringLiteral("Fail"), CallKind::Method, {true}), AutomationError);
    EXPECT_THROW(Automation::createOleObject(QStringLiteral("No.Such")), AutomationError);

    EXPECT_EQ(recorder.lines(),
              QStringList({
                  QStringLiteral("create Test.Echo -> Echo#1"),
                  QStringLiteral("Echo#1.Child method|get () -> Echo#2"),
                  QStringLiteral("Echo#1.echo method (<Echo#2>, 7, 0.1, \"say \\\"米\\\"\", null)"),
                  QStringLiteral("Echo#2.Value put (#2009-02-14 09:05:07#)"),
                  QStringLiteral("Echo#3.Value put (#2009-02-14#)"),
                  QStringLiteral("Echo#1.Fail method (true) !! failed on purpose"),
                  QStringLiteral("create No.Such !! Invalid class string \"No.Such\""),
              }));

    const RecordedCall& call = recorder.calls().at(2);
    EXPECT_EQ(call.object, QStringLiteral("Echo#1"));
    EXPECT_EQ(call.kind, CallKind::Method);
    ASSERT_EQ(call.arguments.size(), 5);
    EXPECT_EQ(call.arguments[0], QVariant::fromValue(RecordedObject{QStringLiteral("Echo#2")}));
    EXPECT_EQ(call.arguments[1].typeId(), QMetaType::Int);
    EXPECT_EQ(call.arguments[3].typeId(), QMetaType::QString);
}

TEST_F(AutomationRegistry, EachRecorderCountsObjectsAfreshAndStopsWhenItEnds) {
    Automation::registerClass(QStringLiteral("Test.Echo"),
                              [] { return std::make_shared<EchoObject>(); });
    const OleVariant kept = Automation::createOleObject(QStringLiteral("Test.Echo"));
    {
        CallRecorder first;
        Automation::createOleObject(QStringLiteral("Test.Echo"));
        kept.invoke(QStringLiteral("Echo"), CallKind::Method);
        EXPECT_EQ(first.lines(), QStringList({QStringLiteral("create Test.Echo -> Echo#1"),
                                              QStringLiteral("Echo#2.Echo method ()")}));
    }
    CallRecorder second;
    kept.invoke(QStringLiteral("Echo"), CallKind::Method);
    EXPECT_EQ(second.lines(), QStringList{QStringLiteral("Echo#1.Echo method ()")});
    {
        CallRecorder inner;
        kept.invoke(QStringLiteral("Echo"), CallKind::Method);
        EXPECT_EQ(inner.calls().size(), 1);
    }
    kept.invoke(QStringLiteral("Echo"), CallKind::Method);
    EXPECT_EQ(second.calls().size(), 2);
}

TEST(AutomationFiles, SaveNamesGetTheExtensionOnlyWhenTheyHaveNone) {
    const QString xlsx = QStringLiteral(".xlsx");
    EXPECT_EQ(automation::saveName(QStringLiteral("/tmp/销售"), xlsx),
              QStringLiteral("/tmp/销售.xlsx"));
    EXPECT_EQ(automation::saveName(QStringLiteral("/tmp/a.xls"), xlsx),
              QStringLiteral("/tmp/a.xls"));
    EXPECT_EQ(automation::saveName(QStringLiteral("/tmp/a.b.txt"), xlsx),
              QStringLiteral("/tmp/a.b.txt"));
    EXPECT_EQ(automation::saveName(QStringLiteral("/tmp/v1.0/list"), xlsx),
              QStringLiteral("/tmp/v1.0/list.xlsx"));
    EXPECT_EQ(automation::saveName(QStringLiteral("C:\\v1.0\\list"), xlsx),
              QStringLiteral("C:\\v1.0\\list.xlsx"));
    EXPECT_EQ(automation::saveName(QStringLiteral("/tmp/.list"), xlsx),
              QStringLiteral("/tmp/.list.xlsx"));
    EXPECT_EQ(automation::saveName(QStringLiteral("/tmp/list."), xlsx),
              QStringLiteral("/tmp/list.xlsx"));
    EXPECT_THROW(automation::saveName(QStringLiteral(" "), xlsx), AutomationError);
    EXPECT_THROW(automation::saveName(QStringLiteral("/tmp/"), xlsx), AutomationError);
}

TEST(AutomationFiles, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("out.xlsx"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    EXPECT_THROW(automation::writeThroughTemporary(target,
                                                   [](const QByteArray& path) {
                                                       QFile file(QFile::decodeName(path));
                                                       file.open(QIODevice::WriteOnly);
                                                       file.write("half");
                                                       throw AutomationError(
                                                           QStringLiteral("full disk"));
                                                   }),
                 AutomationError);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.xlsx")});

    automation::writeThroughTemporary(target, [](const QByteArray& path) {
        QFile file(QFile::decodeName(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("new");
    });
    old.close();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("new"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.xlsx")});
}

TEST(AutomationFiles, MissingFoldersAndFolderTargetsCannotBeWritten) {
    QTemporaryDir folder;
    int writes = 0;
    const auto write = [&writes](const QByteArray&) { ++writes; };
    EXPECT_THROW(
        automation::writeThroughTemporary(folder.filePath(QStringLiteral("no/out.xlsx")), write),
        AutomationError);
    EXPECT_THROW(automation::writeThroughTemporary(folder.path(), write), AutomationError);
    EXPECT_EQ(writes, 0);
    // A write that creates nothing cannot be moved into place.
    EXPECT_THROW(
        automation::writeThroughTemporary(folder.filePath(QStringLiteral("out.xlsx")), write),
        AutomationError);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("out.xlsx"))));
}
