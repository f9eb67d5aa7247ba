#include "authoring/finding.h"

namespace authoring {

QString Finding::line() const
{
    QString text = file + QStringLiteral(": ");
    if (!isError())
        text += QStringLiteral("warning: ");
    if (!where.isEmpty())
        text += where + u' ';
    return text + message;
}

QJsonObject Finding::json() const
{
    return QJsonObject{{QStringLiteral("file"), file},
                       {QStringLiteral("where"), where},
                       {QStringLiteral("severity"), isError() ? QStringLiteral("error") : QStringLiteral("warning")},
                       {QStringLiteral("message"), message}};
}

} // namespace authoring
