#include "JournalFunctions.h"

#include "JournalChain.h"
#include "Schema.h"
#include "SqliteLibrary.h"

#include <pwd.h>
#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <unistd.h>

namespace {

QString textOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite().sqlite3_value_text(value));
    return text ? QString::fromUtf8(text, sqlite().sqlite3_value_bytes(value)) : QString();
}

// A field's value as the journal keeps it: numbers as numbers, texts as texts, stored bytes by their
// size and hash.
QJsonValue jsonOf(sqlite3_value* value) {
    switch (sqlite().sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return QJsonValue(qint64(sqlite().sqlite3_value_int64(value)));
    case SQLITE_FLOAT:
        return QJsonValue(sqlite().sqlite3_value_double(value));
    case SQLITE_NULL:
        return QJsonValue(QJsonValue::Null);
    case SQLITE_BLOB: {
        const QByteArray bytes(static_cast<const char*>(sqlite().sqlite3_value_blob(value)),
                               sqlite().sqlite3_value_bytes(value));
        return QStringLiteral("%1 Bytes, SHA-256 %2")
            .arg(bytes.size())
            .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()));
    }
    default:
        return textOf(value);
    }
}

QString compact(const QJsonObject& object) {
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString compact(const QJsonValue& value) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

QJsonValue parsed(const QString& value) {
    return QJsonDocument::fromJson((u'[' + value + u']').toUtf8()).array().at(0);
}

void resultText(sqlite3_context* context, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite().sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

JournalFunctions& stateOf(sqlite3_context* context) {
    return *static_cast<JournalFunctions*>(sqlite().sqlite3_user_data(context));
}

// The changed fields of (name, before, after) triples, from the side given, as a JSON object; null when
// nothing changed.
void changed(sqlite3_context* context, int count, sqlite3_value** args, bool after) {
    QJsonObject object;
    for (int i = 0; i + 2 < count; i += 3) {
        const QJsonValue before = jsonOf(args[i + 1]);
        const QJsonValue now = jsonOf(args[i + 2]);
        if (before != now ||
            sqlite().sqlite3_value_type(args[i + 1]) != sqlite().sqlite3_value_type(args[i + 2]))
            object.insert(textOf(args[i]), after ? now : before);
    }
    if (object.isEmpty())
        sqlite().sqlite3_result_null(context);
    else
        resultText(context, compact(object));
}

// The operating system's login of this workstation's user.
QString loginName() {
    if (const passwd* entry = getpwuid(getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

JournalFunctions::JournalFunctions() : m_user(loginName()), m_workstation(QSysInfo::machineHostName()) {}

void JournalFunctions::setTask(const QString& task, bool collecting) {
    m_task = task;
    m_collecting = collecting;
    if (!collecting) {
        m_collected.clear();
        m_collectedOrder.clear();
    }
}

QList<JournalSummary> JournalFunctions::takeCollected() {
    QList<JournalSummary> summaries;
    for (const QString& table : std::as_const(m_collectedOrder)) {
        const Collected& collected = m_collected.value(table);
        QJsonObject before;
        QJsonObject after;
        for (auto field = collected.before.cbegin(); field != collected.before.cend(); ++field) {
            QStringList values = field.value().values();
            values.sort();
            if (values.size() == 1) {
                before.insert(field.key(), parsed(values.first()));
            } else {
                QJsonArray all;
                for (const QString& value : std::as_const(values))
                    all.append(parsed(value));
                before.insert(field.key(), all);
            }
            after.insert(field.key(), parsed(collected.after.value(field.key()).values().value(0)));
        }
        summaries +=
            {table, collected.rows, collected.projects.size() == 1 ? *collected.projects.cbegin() : QString(),
             compact(before), compact(after)};
    }
    m_collected.clear();
    m_collectedOrder.clear();
    return summaries;
}

bool JournalFunctions::registerOn(sqlite3* connection) {
    struct Function {
        const char* name;
        int arguments;
        void (*call)(sqlite3_context*, int, sqlite3_value**);
    };
    const Function functions[] = {
        {"zlv_protokoll_zeit", 0, now},
        {"zlv_protokoll_wer", 0, who},
        {"zlv_protokoll_wo", 0, where},
        {"zlv_protokoll_vorgang", 0, task},
        {"zlv_protokoll_sammelt", 0, collecting},
        {"zlv_protokoll_werte", -1, values},
        {"zlv_protokoll_alt", -1, changedBefore},
        {"zlv_protokoll_neu", -1, changedAfter},
        {"zlv_protokoll_sammle", -1, collect},
        {"zlv_protokoll_hash", int(Schema::journalContent().size() + 1), chainHash},
    };
    for (const Function& function : functions) {
        if (sqlite().sqlite3_create_function_v2(connection, function.name, function.arguments, SQLITE_UTF8,
                                                this, function.call, nullptr, nullptr, nullptr) != SQLITE_OK)
            return false;
    }
    return true;
}

void JournalFunctions::now(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")));
}

void JournalFunctions::who(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, stateOf(context).m_user);
}

void JournalFunctions::where(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, stateOf(context).m_workstation);
}

void JournalFunctions::task(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, stateOf(context).m_task);
}

void JournalFunctions::collecting(sqlite3_context* context, int, sqlite3_value**) {
    sqlite().sqlite3_result_int(context, stateOf(context).m_collecting ? 1 : 0);
}

void JournalFunctions::values(sqlite3_context* context, int count, sqlite3_value** args) {
    QJsonObject object;
    for (int i = 0; i + 1 < count; i += 2)
        object.insert(textOf(args[i]), jsonOf(args[i + 1]));
    resultText(context, compact(object));
}

void JournalFunctions::changedBefore(sqlite3_context* context, int count, sqlite3_value** args) {
    changed(context, count, args, false);
}

void JournalFunctions::changedAfter(sqlite3_context* context, int count, sqlite3_value** args) {
    changed(context, count, args, true);
}

void JournalFunctions::collect(sqlite3_context* context, int count, sqlite3_value** args) {
    // (table, project, then name, before, after of each field)
    JournalFunctions& state = stateOf(context);
    const QString table = textOf(args[0]);
    if (!state.m_collected.contains(table))
        state.m_collectedOrder += table;
    Collected& collected = state.m_collected[table];
    ++collected.rows;
    collected.projects.insert(textOf(args[1]));
    for (int i = 2; i + 2 < count; i += 3) {
        const QJsonValue before = jsonOf(args[i + 1]);
        const QJsonValue after = jsonOf(args[i + 2]);
        if (before == after &&
            sqlite().sqlite3_value_type(args[i + 1]) == sqlite().sqlite3_value_type(args[i + 2]))
            continue;
        const QString field = textOf(args[i]);
        collected.before[field].insert(compact(before));
        collected.after[field].insert(compact(after));
    }
    sqlite().sqlite3_result_null(context);
}

void JournalFunctions::chainHash(sqlite3_context* context, int count, sqlite3_value** args) {
    QStringList fields;
    for (int i = 0; i + 1 < count; ++i)
        fields += textOf(args[i]);
    resultText(context, JournalChain::hash(fields, textOf(args[count - 1])));
}
