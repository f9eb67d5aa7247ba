#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

namespace app {

// The program's own words (the game chooser, the options, the player's
// menu, the command line's help and messages) in the player's language:
// the catalogue of the first of the locale's languages that has one, built
// into the program. English is the words as written; a game's own texts
// are never translated. The catalogue is read without the application, so
// that the command line speaks the language before any window exists.
class Translations {
public:
    // No catalogue: the words as written.
    Translations();
    explicit Translations(const QLocale& locale);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The languages with a catalogue, as ISO 639 codes.
    static QStringList languages();
    // The language of the catalogue read; empty for none.
    const QString& language() const { return m_language; }

    // A text in the catalogue's language, or as written when the catalogue
    // has none for it. Context and text are as the text was marked.
    QString text(const char* context, const char* source) const;
    // A text in the language of words, or, without them, in that of the
    // catalogue the running application has (as written before it exists).
    static QString say(const Translations* words, const char* context, const char* source);
    // Puts the catalogue into the running application, so that the
    // windows' texts come out in its language; nothing without one.
    void install();

private:
    std::unique_ptr<QTranslator> m_translator;
    QString m_language;
    bool m_installed = false;
};

} // namespace app
