#include "base/code_page.h"

#include "base/failure.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace base {

CodePage::CodePage(QString name) : m_name(std::move(name)) {}

CodePage CodePage::named(const QString& name)
{
    // QStringConverter::encodingForName does not know the Windows code pages;
    // the ICU-backed constructor does.
    QStringDecoder probe(name.toLatin1().constData());
    if (!probe.isValid())
        throw base::Failure(QStringLiteral("Unknown code page '%1'.").arg(name));
    return CodePage(name);
}

QString CodePage::decode(const QByteArray& bytes) const
{
    QStringDecoder decoder(m_name.toLatin1().constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QByteArray CodePage::encode(const QString& text) const
{
    QStringEncoder encoder(m_name.toLatin1().constData(), QStringConverter::Flag::Default);
    if (!encoder.isValid())
        return text.toLatin1();
    QByteArray out = encoder.encode(text);
    return out;
}

} // namespace base
