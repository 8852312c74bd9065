#include "platform/automation.h"

#include "platform/automation_servers.h"
#include "platform/clock.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <map>

namespace platform {

AutomationError::AutomationError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

OleVariant OleVariant::invoke(const QString& name, CallKind kind,
                              const QList<OleVariant>& arguments) const {
    if (!mObject)
        throw AutomationError(
            QStringLiteral("Member \"%1\" called on a value that is not an object").arg(name));
    return mObject->invoke(name, kind, arguments);
}

OleVariant AutomationObject::invoke(const QString& name, CallKind kind,
                                    const QList<OleVariant>& arguments) {
    CallRecorder* recorder = CallRecorder::active();
    if (!recorder)
        return dispatch(name, kind, arguments);
    const qsizetype index = recorder->record(
        {recorder->labelOf(*this), name, kind, recorder->describe(arguments), {}, {}});
    try {
        OleVariant result = dispatch(name, kind, arguments);
        recorder->recordResult(index, result);
        return result;
    } catch (const std::exception& error) {
        recorder->recordError(index, QString::fromUtf8(error.what()));
        throw;
    }
}

// --- helpers for servers

namespace automation {

bool nameIs(const QString& name, QLatin1String expected) {
    // Called for every cell of an export: the quick tests first.
    if (name.size() != expected.size())
        return false;
    return name == expected || name.compare(expected, Qt::CaseInsensitive) == 0;
}

void expectCall(const QString& name, CallKind kind, CallKind member,
                const QList<OleVariant>& arguments, qsizetype minimum, qsizetype maximum) {
    if (!callServes(kind, member))
        throw AutomationError(QStringLiteral("Member \"%1\" cannot be called this way").arg(name));
    if (arguments.size() < minimum || arguments.size() > maximum)
        throw AutomationError(QStringLiteral("Wrong number of arguments (%1) for \"%2\"")
                                  .arg(arguments.size())
                                  .arg(name));
}

void unknownMember(const QString& typeName, const QString& name) {
    throw AutomationError(QStringLiteral("%1 has no member \"%2\"").arg(typeName, name));
}

int integerArgument(const OleVariant& argument, const QString& name) {
    bool ok = false;
    const int value = argument.isObject() ? 0 : argument.value().toInt(&ok);
    if (!ok)
        throw AutomationError(
            QStringLiteral("Type mismatch: \"%1\" needs a whole number").arg(name));
    return value;
}

QString textArgument(const OleVariant& argument, const QString& name) {
    if (argument.isObject() || argument.isNull())
        throw AutomationError(QStringLiteral("Type mismatch: \"%1\" needs a text").arg(name));
    // Dates become text in the regional formats, as the system converts them.
    const QVariant& value = argument.value();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return regional::dateTimeText(value.toDateTime());
    case QMetaType::QDate:
        return regional::shortDate(value.toDate());
    default:
        return value.toString();
    }
}

} // namespace automation

// --- registry

namespace {

using Classes = std::map<QString, Automation::Factory>; // by lower-case class name

Classes builtInClasses() {
    return {{QStringLiteral("excel.application"), servers::createSpreadsheetApplication},
            {QStringLiteral("excel.sheet"), servers::createSpreadsheetSheet},
            {QStringLiteral("word.application"), servers::createDocumentApplication}};
}

Classes& classes() {
    static Classes instance = builtInClasses();
    return instance;
}

} // namespace

OleVariant Automation::createOleObject(const QString& className) {
    CallRecorder* recorder = CallRecorder::active();
    qsizetype index = 0;
    if (recorder)
        index = recorder->record({{}, className, CallKind::Create, {}, {}, {}});
    try {
        const auto found = classes().find(className.toLower());
        if (found == classes().end())
            throw AutomationError(QStringLiteral("Invalid class string \"%1\"").arg(className));
        OleVariant object(found->second());
        if (!object.isObject())
            throw AutomationError(
                QStringLiteral("The server of \"%1\" did not start").arg(className));
        if (recorder)
            recorder->recordResult(index, object);
        return object;
    } catch (const std::exception& error) {
        if (recorder)
            recorder->recordError(index, QString::fromUtf8(error.what()));
        throw;
    }
}

void Automation::registerClass(const QString& className, Factory factory) {
    classes()[className.toLower()] = std::move(factory);
}

bool Automation::unregisterClass(const QString& className) {
    return classes().erase(className.toLower()) > 0;
}

bool Automation::isRegistered(const QString& className) {
    return classes().contains(className.toLower());
}

void Automation::restoreBuiltInClasses() {
    classes() = builtInClasses();
}

// --- recorder

namespace {

CallRecorder* activeRecorder = nullptr;
unsigned lastGeneration = 0;

QString kindText(CallKind kind) {
    switch (kind) {
    case CallKind::Create:
        return QStringLiteral("create");
    case CallKind::Method:
        return QStringLiteral("method");
    case CallKind::PropertyGet:
        return QStringLiteral("get");
    case CallKind::MethodOrGet:
        return QStringLiteral("method|get");
    case CallKind::PropertyPut:
        return QStringLiteral("put");
    }
    return QString::number(static_cast<int>(kind));
}

QString argumentText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("null");
    switch (value.typeId()) {
    case QMetaType::QString: {
        QString text = value.toString();
        text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        text.replace(QLatin1Char('"'), QLatin1String("\\\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    case QMetaType::QDateTime:
        return QLatin1Char('#') +
               value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
               QLatin1Char('#');
    case QMetaType::QDate:
        return QLatin1Char('#') + value.toDate().toString(QStringLiteral("yyyy-MM-dd")) +
               QLatin1Char('#');
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<RecordedObject>())
        return QLatin1Char('<') + value.value<RecordedObject>().label + QLatin1Char('>');
    return value.toString();
}

} // namespace

QString RecordedCall::toString() const {
    if (kind == CallKind::Create) {
        QString line = QStringLiteral("create ") + name;
        if (!result.isEmpty())
            line += QStringLiteral(" -> ") + result;
        if (!error.isEmpty())
            line += QStringLiteral(" !! ") + error;
        return line;
    }
    QStringList texts;
    for (const QVariant& argument : arguments)
        texts.append(argumentText(argument));
    QString line = QStringLiteral("%1.%2 %3 (%4)")
                       .arg(object, name, kindText(kind), texts.join(QStringLiteral(", ")));
    if (!result.isEmpty())
        line += QStringLiteral(" -> ") + result;
    if (!error.isEmpty())
        line += QStringLiteral(" !! ") + error;
    return line;
}

CallRecorder::CallRecorder() : mPrevious(activeRecorder), mGeneration(++lastGeneration) {
    activeRecorder = this;
}

CallRecorder::~CallRecorder() {
    activeRecorder = mPrevious;
}

CallRecorder* CallRecorder::active() {
    return activeRecorder;
}

QStringList CallRecorder::lines() const {
    QStringList lines;
    for (const RecordedCall& call : mCalls)
        lines.append(call.toString());
    return lines;
}

QString CallRecorder::labelOf(AutomationObject& object) {
    if (object.mRecorderGeneration != mGeneration) {
        object.mRecorderGeneration = mGeneration;
        object.mLabel =
            object.typeName() + QLatin1Char('#') + QString::number(++mCounters[object.typeName()]);
    }
    return object.mLabel;
}

qsizetype CallRecorder::record(RecordedCall call) {
    mCalls.append(std::move(call));
    return mCalls.size() - 1;
}

void CallRecorder::recordResult(qsizetype index, const OleVariant& result) {
    if (result.isObject())
        mCalls[index].result = labelOf(*result.object());
}

void CallRecorder::recordError(qsizetype index, const QString& message) {
    mCalls[index].error = message;
}

QVariantList CallRecorder::describe(const QList<OleVariant>& arguments) {
    QVariantList values;
    values.reserve(arguments.size());
    for (const OleVariant& argument : arguments) {
        if (argument.isObject())
            values.append(QVariant::fromValue(RecordedObject{labelOf(*argument.object())}));
        else
            values.append(argument.value());
    }
    return values;
}

} // namespace platform
