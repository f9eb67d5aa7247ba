#include "app/translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace app {

namespace {

// Where the build puts the compiled catalogues among the program's
// resources: loomplay_de.qm and the others.
const QString kFolder = QStringLiteral(":/i18n");
const QString kPrefix = QStringLiteral("loomplay");

} // namespace

Translations::Translations() = default;

Translations::Translations(const QLocale& locale)
{
    // The player's languages in their order of preference: the first that
    // is English or has a catalogue wins, so that a player who puts English
    // before German reads English.
    for (const QString& wanted : locale.uiLanguages()) {
        const QString language = wanted.section(u'-', 0, 0).section(u'_', 0, 0).toLower();
        if (language == QLatin1String("en") || language == QLatin1String("c"))
            return;
        if (!languages().contains(language))
            continue;
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral("%1/%2_%3.qm").arg(kFolder, kPrefix, language))) {
            m_language = language;
            m_translator = std::move(translator);
        }
        return;
    }
}

Translations::~Translations()
{
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::removeTranslator(m_translator.get());
}

QStringList Translations::languages()
{
    return {QStringLiteral("de"), QStringLiteral("fr")};
}

QString Translations::text(const char* context, const char* source) const
{
    if (m_translator) {
        const QString translated = m_translator->translate(context, source);
        if (!translated.isEmpty())
            return translated;
    }
    return QString::fromUtf8(source);
}

QString Translations::say(const Translations* words, const char* context, const char* source)
{
    return words ? words->text(context, source) : QCoreApplication::translate(context, source);
}

void Translations::install()
{
    if (m_translator && !m_installed && QCoreApplication::instance())
        m_installed = QCoreApplication::installTranslator(m_translator.get());
}

} // namespace app
