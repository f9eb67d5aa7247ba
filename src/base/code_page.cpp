#include "base/code_page.h"

#include "base/failure.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <mutex>
#include <optional>

namespace base {

// Making a converter opens it in ICU, which costs more than converting a
// data file: each is made once, on first use. They keep the state of a
// character cut short between calls, so each call starts from a reset one;
// copies of a code page may convert on several threads, hence the lock.
struct CodePage::Converters {
    std::mutex mutex;
    std::optional<QStringDecoder> decoder;
    std::optional<QStringEncoder> encoder;
};

CodePage::CodePage(QString name) : m_name(std::move(name)), m_converters(std::make_shared<Converters>()) {}

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
    std::lock_guard lock(m_converters->mutex);
    std::optional<QStringDecoder>& decoder = m_converters->decoder;
    if (!decoder)
        decoder.emplace(m_name.toLatin1().constData());
    if (!decoder->isValid())
        return QString::fromLatin1(bytes);
    decoder->resetState();
    QString text = decoder->decode(bytes);
    return text;
}

QByteArray CodePage::encode(const QString& text) const
{
    std::lock_guard lock(m_converters->mutex);
    std::optional<QStringEncoder>& encoder = m_converters->encoder;
    if (!encoder)
        encoder.emplace(m_name.toLatin1().constData(), QStringConverter::Flag::Default);
    if (!encoder->isValid())
        return text.toLatin1();
    encoder->resetState();
    QByteArray bytes = encoder->encode(text);
    return bytes;
}

} // namespace base
