#pragma once

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <concepts>
#include <functional>
#include <memory>
#include <stdexcept>
#include <type_traits>

// Late-bound automation objects created by class name, as the program drives
// the spreadsheet and word-processor applications: an object is called by
// member name with positional arguments and a call kind, and every result is a
// variant that may itself be an object. Names of classes and members are
// matched without regard to case. Used from the GUI thread only.
//
//     OleVariant excel = Automation::createOleObject("Excel.Application");
//     OleVariant books = excel.invoke("workbooks", CallKind::MethodOrGet);
//     OleVariant book = books.invoke("Add", CallKind::MethodOrGet);
//     excel.invoke("Cells", CallKind::PropertyPut, {1, 1, QStringLiteral("编号")});
//     book.invoke("SaveAS", CallKind::Method, {fileName});
//     book.invoke("close", CallKind::Method);

namespace platform {

// How a member is called; the values are the dispatch flags of the automation
// interface. A plain method call, a property read, both together (the object
// may serve the name either way) or an assignment to a property.
enum class CallKind {
    Create = 0, // only in recorded calls: the creation of an object by class name
    Method = 1,
    PropertyGet = 2,
    MethodOrGet = 3,
    PropertyPut = 4,
};

// True when a call of kind `kind` may be served by a member of kind `member`.
constexpr bool callServes(CallKind kind, CallKind member) {
    return (static_cast<int>(kind) & static_cast<int>(member)) != 0;
}

// Every failure of creation or of a call: unknown class, unknown member, wrong
// arguments, a file that cannot be written...
class AutomationError : public std::runtime_error {
public:
    explicit AutomationError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

class AutomationObject;
using AutomationObjectPtr = std::shared_ptr<AutomationObject>;
class OleVariant;

// What converts to a QVariant: int, double, QString, QDateTime...
template <typename T>
concept PlainValue =
    std::is_convertible_v<T, QVariant> && !std::is_same_v<std::remove_cvref_t<T>, QVariant> &&
    !std::is_same_v<std::remove_cvref_t<T>, OleVariant>;

// A value passed to or returned by a call: empty (null), a plain value
// (number, text, date-time...) or an automation object.
class OleVariant {
public:
    OleVariant() = default;
    OleVariant(QVariant value) : mValue(std::move(value)) {}
    template <PlainValue T> OleVariant(T&& value) : mValue(QVariant(std::forward<T>(value))) {}
    template <std::derived_from<AutomationObject> T>
    OleVariant(std::shared_ptr<T> object) : mObject(std::move(object)) {}

    bool isObject() const { return mObject != nullptr; }
    // Empty, or a null value: what an empty cell or a null field gives.
    bool isNull() const { return !mObject && (!mValue.isValid() || mValue.isNull()); }
    // The plain value; invalid for an object.
    const QVariant& value() const { return mValue; }
    const AutomationObjectPtr& object() const { return mObject; }

    // Calls a member of the object this variant holds; throws AutomationError
    // when it holds none.
    OleVariant invoke(const QString& name, CallKind kind,
                      const QList<OleVariant>& arguments = {}) const;

private:
    QVariant mValue;
    AutomationObjectPtr mObject;
};

// An object served in-process. Servers derive from it and answer dispatch().
class AutomationObject : public std::enable_shared_from_this<AutomationObject> {
public:
    virtual ~AutomationObject() = default;
    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    // The kind of object, as recorded calls name it: "Workbook", "Range"...
    const QString& typeName() const { return mTypeName; }

    // Calls a member by name; records the call when a recorder is on.
    OleVariant invoke(const QString& name, CallKind kind, const QList<OleVariant>& arguments);

protected:
    explicit AutomationObject(QString typeName) : mTypeName(std::move(typeName)) {}

    // Serves one call. Throws AutomationError for an unknown member, a call
    // kind the member does not take or wrong arguments.
    virtual OleVariant dispatch(const QString& name, CallKind kind,
                                const QList<OleVariant>& arguments) = 0;

private:
    friend class CallRecorder;
    QString mTypeName;
    // The name recorded calls give this object, set by the recorder.
    unsigned mRecorderGeneration = 0;
    QString mLabel;
};

// Helpers for servers.
namespace automation {
// Case-insensitive member name test.
bool nameIs(const QString& name, QLatin1String expected);
// Throws unless a call of `kind` may be served by a member of kind `member`
// taking between `minimum` and `maximum` arguments.
void expectCall(const QString& name, CallKind kind, CallKind member,
                const QList<OleVariant>& arguments, qsizetype minimum, qsizetype maximum);
[[noreturn]] void unknownMember(const QString& typeName, const QString& name);
// The argument as a whole number or as text (dates in the regional formats);
// throws on a type mismatch.
int integerArgument(const OleVariant& argument, const QString& name);
QString textArgument(const OleVariant& argument, const QString& name);
} // namespace automation

// The process-wide registry of automation classes. It starts with the
// in-process servers "Excel.Application", "Excel.Sheet" and "word.Application".
class Automation {
public:
    using Factory = std::function<AutomationObjectPtr()>;

    Automation() = delete;

    // Creates a new object of a registered class; throws AutomationError when
    // no such class is registered or the server fails to start.
    static OleVariant createOleObject(const QString& className);

    // Adds or replaces a class.
    static void registerClass(const QString& className, Factory factory);
    // Removes a class, as if its application were not installed. False when
    // there was none.
    static bool unregisterClass(const QString& className);
    static bool isRegistered(const QString& className);
    // Back to the built-in servers and nothing else.
    static void restoreBuiltInClasses();
};

// One recorded creation or call. Object arguments are recorded as
// QVariant::fromValue(RecordedObject{label}).
struct RecordedObject {
    QString label;
    friend bool operator==(const RecordedObject&, const RecordedObject&) = default;
};

struct RecordedCall {
    QString object; // label of the called object; empty for a creation
    QString name;   // member name as called, or the class name of a creation
    CallKind kind = CallKind::Method;
    QVariantList arguments;
    QString result; // label of the object returned, if any
    QString error;  // message of the exception the call threw, if any

    // One line: `Workbooks#1.Add method|get () -> Workbook#1`,
    // `Excel.Application#1.Cells put (2, 1, "米", #2009-02-14 09:05:07#, null)`,
    // `create word.Application -> word.Application#1`. Texts are quoted,
    // numbers bare, objects in angle brackets, a failure ends in ` !! message`.
    QString toString() const;
};

// While a recorder lives, every creation and call is recorded, in order.
// Objects are labelled by type and order of first appearance ("Workbook#1"),
// counted afresh for each recorder. Recorders do not nest: a new one takes
// over from an older one until it ends.
class CallRecorder {
public:
    CallRecorder();
    ~CallRecorder();
    CallRecorder(const CallRecorder&) = delete;
    CallRecorder& operator=(const CallRecorder&) = delete;

    const QList<RecordedCall>& calls() const { return mCalls; }
    // The calls as toString() lines.
    QStringList lines() const;
    void clear() { mCalls.clear(); }

    // Used by the registry and the objects.
    static CallRecorder* active();
    QString labelOf(AutomationObject& object);
    qsizetype record(RecordedCall call);
    void recordResult(qsizetype index, const OleVariant& result);
    void recordError(qsizetype index, const QString& message);
    QVariantList describe(const QList<OleVariant>& arguments);

private:
    CallRecorder* mPrevious;
    unsigned mGeneration;
    QHash<QString, int> mCounters;
    QList<RecordedCall> mCalls;
};

} // namespace platform

Q_DECLARE_METATYPE(platform::RecordedObject)
