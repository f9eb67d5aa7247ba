#include "automation/state_check.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace automation {

namespace {

QString jsonText(const QJsonValue& value)
{
    if (value.isUndefined())
        return QStringLiteral("missing");
    // A value alone is no JSON document: it is written inside an array.
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

QString difference(const QJsonObject& expected, const QJsonObject& dump, const QString& path)
{
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QString where = path.isEmpty() ? it.key() : path + u'.' + it.key();
        const QJsonValue want = it.value();
        const QJsonValue have = dump.value(it.key());
        if (want.isObject() && have.isObject()) {
            if (const QString inner = difference(want.toObject(), have.toObject(), where); !inner.isEmpty())
                return inner;
            continue;
        }
        if (want != have)
            return QStringLiteral("%1 is %2, expected %3").arg(where, jsonText(have), jsonText(want));
    }
    return {};
}

// The names of the windows shown, in the order of their names.
QJsonArray shownWindows(const QJsonObject& dump)
{
    QJsonArray shown;
    const QJsonObject windows = dump.value(QStringLiteral("windows")).toObject();
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (it.value().toObject().value(QStringLiteral("visible")).toBool())
            shown.append(it.key());
    }
    return shown;
}

} // namespace

QJsonObject EndState(const QJsonObject& dump)
{
    QJsonObject game;
    const QJsonObject dumpedGame = dump.value(QStringLiteral("game")).toObject();
    for (const char* member : {"frame", "history", "variables", "disappear", "inventory"}) {
        const QString name = QLatin1String(member);
        if (dumpedGame.contains(name))
            game.insert(name, dumpedGame.value(name));
    }
    return QJsonObject{{QStringLiteral("shown"), shownWindows(dump)}, {QStringLiteral("game"), game}, {QStringLiteral("saves"), dump.value(QStringLiteral("saves"))}};
}

QString StateDifference(const QJsonObject& expected, const QJsonObject& dump)
{
    QJsonObject state = dump;
    state.insert(QStringLiteral("shown"), shownWindows(dump));
    return difference(expected, state, QString());
}

} // namespace automation
