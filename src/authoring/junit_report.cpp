#include "authoring/junit_report.h"

#include <QIODevice>
#include <QXmlStreamWriter>

#include <algorithm>
#include <numeric>

namespace authoring {

namespace {

QString seconds(double s)
{
    return QString::number(s, 'f', 3);
}

} // namespace

bool WriteJunitReport(QIODevice& to, const QString& suite, const QDateTime& started, const std::vector<ScriptResult>& results)
{
    const auto count = [&](auto predicate) { return QString::number(std::count_if(results.begin(), results.end(), predicate)); };
    const QString tests = QString::number(results.size());
    const QString failures = count([](const ScriptResult& r) { return r.error.isEmpty() && !r.failures.isEmpty(); });
    const QString errors = count([](const ScriptResult& r) { return !r.error.isEmpty(); });
    const QString time = seconds(std::accumulate(results.begin(), results.end(), 0.0, [](double sum, const ScriptResult& r) { return sum + r.seconds; }));

    QXmlStreamWriter xml(&to);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    xml.writeAttribute(QStringLiteral("name"), suite);
    xml.writeAttribute(QStringLiteral("tests"), tests);
    xml.writeAttribute(QStringLiteral("failures"), failures);
    xml.writeAttribute(QStringLiteral("errors"), errors);
    xml.writeAttribute(QStringLiteral("time"), time);
    xml.writeStartElement(QStringLiteral("testsuite"));
    xml.writeAttribute(QStringLiteral("name"), suite);
    xml.writeAttribute(QStringLiteral("tests"), tests);
    xml.writeAttribute(QStringLiteral("failures"), failures);
    xml.writeAttribute(QStringLiteral("errors"), errors);
    xml.writeAttribute(QStringLiteral("skipped"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("time"), time);
    xml.writeAttribute(QStringLiteral("timestamp"), started.toString(Qt::ISODate));
    for (const ScriptResult& result : results) {
        xml.writeStartElement(QStringLiteral("testcase"));
        xml.writeAttribute(QStringLiteral("name"), result.name);
        xml.writeAttribute(QStringLiteral("classname"), suite);
        xml.writeAttribute(QStringLiteral("file"), result.file);
        xml.writeAttribute(QStringLiteral("time"), seconds(result.seconds));
        // A script that did not end is an error, whatever it found before.
        if (!result.error.isEmpty()) {
            xml.writeStartElement(QStringLiteral("error"));
            xml.writeAttribute(QStringLiteral("message"), result.error);
            xml.writeCharacters((result.failures + QStringList{result.error}).join(u'\n'));
            xml.writeEndElement();
        } else if (!result.failures.isEmpty()) {
            xml.writeStartElement(QStringLiteral("failure"));
            xml.writeAttribute(QStringLiteral("message"), result.failures.first());
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("expectation"));
            xml.writeCharacters(result.failures.join(u'\n'));
            xml.writeEndElement();
        }
        if (!result.terminal.isEmpty())
            xml.writeTextElement(QStringLiteral("system-err"), result.terminal);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

} // namespace authoring
