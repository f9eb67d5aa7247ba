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

std::optional<QJsonValue> PairValue(const QJsonArray& pairs, const QString& name)
{
    for (const QJsonValue& pair : pairs) {
        const QJsonArray p = pair.toArray();
        if (p.at(0).toString().compare(name, Qt::CaseInsensitive) == 0)
            return p.at(1);
    }
    return std::nullopt;
}

QString ValueText(const QJsonValue& value)
{
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    if (value.isBool())
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

QString PlayingMusic(const QJsonObject& dump)
{
    const QJsonObject media = dump.value(QStringLiteral("media")).toObject();
    QString path;
    if (media.value(QStringLiteral("MidiStatus")).toString() == QLatin1String("playing"))
        path = media.value(QStringLiteral("MidiFileName")).toString();
    else if (media.value(QStringLiteral("MP3Playing")).toBool())
        path = media.value(QStringLiteral("MP3File")).toString();
    return path.section(u'/', -1);
}

QStringList EndExpectations(const QJsonObject& dump)
{
    QStringList lines;
    const QJsonObject game = dump.value(QStringLiteral("game")).toObject();
    if (const QString frame = game.value(QStringLiteral("frame")).toString(); !frame.isEmpty())
        lines << QStringLiteral("expect frame ") + frame;
    for (const QJsonValue& object : game.value(QStringLiteral("inventory")).toArray())
        lines << QStringLiteral("expect inventory ") + object.toString();
    // Only what the play-through set: a game of thousands of variables
    // would otherwise end every recording with thousands of lines that
    // break on any variable the author adds.
    for (const QJsonValue& pair : game.value(QStringLiteral("variables")).toArray()) {
        const QJsonArray p = pair.toArray();
        if (p.at(1).toDouble() != 0)
            lines << QStringLiteral("expect variable %1 %2").arg(p.at(0).toString(), ValueText(p.at(1)));
    }
    for (const QJsonValue& pair : game.value(QStringLiteral("disappear")).toArray()) {
        const QJsonArray p = pair.toArray();
        lines << QStringLiteral("expect removed %1 %2").arg(p.at(0).toString(), ValueText(p.at(1)));
    }
    const QString music = PlayingMusic(dump);
    lines << (music.isEmpty() ? QStringLiteral("expect silence") : QStringLiteral("expect music ") + music);
    return lines;
}

} // namespace automation
