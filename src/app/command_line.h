#pragma once

#include "run/context.h"

#include <QCommandLineParser>
#include <QFile>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace app {

class Translations;

// The player's command line: every option with the group its help lists it
// under and what it makes of its value. Options are parsed and checked
// without a running application, so a mistake or --help needs no display.
class CommandLine {
public:
    enum class Group { Playing, ScriptedPlay, Authoring, Information };

    // What the options ask of a run, their values checked and converted.
    struct Choices {
        // What the runtime is given; its screen is set apart below.
        run::RuntimeOptions options;
        // The screen and logical DPI the run pretends to have; none: those
        // of the real screen, known once the application exists.
        std::optional<QSize> screen;
        std::optional<double> dpi;
        // Offscreen: a scripted run or a check.
        bool headless = false;
        bool checking = false;
        // The findings of a check as JSON lines; its frame map (empty: none).
        bool json = false;
        QString map;
        // Where the input is recorded, the shots written, the settings kept;
        // empty: nowhere, nowhere, where the environment says.
        QString record;
        QString shots;
        QString settings;
        bool verbose = false;
        // The first expectation that does not hold ends the script.
        bool stopOnFail = false;
        // A recording ends with expect lines in words of the state reached.
        bool expectEnd = false;
        // The game's test scripts are played (--test): those named, or
        // every one of its tests folder when none is; the JUnit report's
        // file (empty: none).
        bool testing = false;
        QStringList testScripts;
        QString junit;
        // The script of a headless run, open for reading: it is read as it
        // plays, never held whole.
        std::unique_ptr<QFile> script;
        // The language the options' messages are said in; null: as written.
        const Translations* words = nullptr;
    };

    struct Option {
        Group group;
        const char* name;
        // The value's placeholder in the help; null for an option without one.
        const char* value = nullptr;
        const char* description = nullptr;
        // What the manual page says beyond the description; null: the
        // description alone.
        const char* details = nullptr;
        // A one-letter alias, if any.
        const char* alias = nullptr;
        // Puts the option, given, into the run's choices; throws
        // base::Failure saying in one line what is wrong with its value.
        // Null: the option's presence is all there is to it, and validate
        // reads it with the others it goes with.
        void (*take)(const QString& value, Choices& into) = nullptr;
        // A check reads the option too; it ignores the others, bad values
        // and all.
        bool readByCheck = false;
    };

    // The exit status of a command line the player cannot follow.
    static constexpr int kUsageError = 2;

    // Every option, in the order the help lists them within their groups.
    static const std::vector<Option>& options();

    // Its help and messages in the language of words (null: as written),
    // which must outlive it.
    explicit CommandLine(const Translations* words = nullptr);

    // Parses the arguments, the program's name first; false, with error()
    // saying why in one line, for an unknown option or a missing value.
    bool parse(const QStringList& arguments);
    // After parse: checks the options together and takes each one given
    // into choices(); false, with error() saying why, for options that
    // cannot go together, a value that cannot be used, or a folder that is
    // no game to play.
    bool validate();
    const QString& error() const { return m_error; }
    // Whether the usage follows the error: for what the command line
    // itself gets wrong, not for a value or folder the player cannot use.
    bool errorShowsUsage() const { return m_errorShowsUsage; }
    // The error as the terminal shows it.
    QString errorText() const;

    bool isSet(const QString& name) const { return m_parser.isSet(name); }
    QString value(const QString& name) const { return m_parser.value(name); }
    QStringList positional() const { return m_parser.positionalArguments(); }
    // What validate() decided; only after it returned true.
    const Choices& choices() const { return *m_choices; }

    QString usage() const;
    // The whole --help text, group by group.
    QString help() const;
    // A group's title as the manual page has it.
    static QString groupTitle(Group group);
    // The options of the manual page, group by group, in the man macros:
    // the page and the help come from the same table.
    static QString manualOptions();

private:
    // The first rule the options break together, if any.
    QString conflict() const;
    // Takes the game folder named, if any; why it is no game this run can
    // play, if it is not.
    QString takeFolder();

    // A text of the command line in the player's language.
    QString say(const char* source) const;

    const Translations* m_words;
    QCommandLineParser m_parser;
    QString m_error;
    bool m_errorShowsUsage = false;
    std::optional<Choices> m_choices;
};

} // namespace app
