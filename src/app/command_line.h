#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <vector>

namespace app {

// The player's command line: every option with the group its help lists it
// under. Options are parsed without a running application, so a mistake or
// --help needs no display.
class CommandLine {
public:
    enum class Group { Playing, ScriptedPlay, Authoring, Information };

    struct Option {
        Group group;
        const char* name;
        // The value's placeholder in the help; null for an option without one.
        const char* value;
        const char* description;
        // What the manual page says beyond the description; null: the
        // description alone.
        const char* details = nullptr;
        // A one-letter alias, if any.
        const char* alias = nullptr;
    };

    // The exit status of a command line the player cannot follow.
    static constexpr int kUsageError = 2;

    // Every option, in the order the help lists them within their groups.
    static const std::vector<Option>& options();

    CommandLine();

    // Parses the arguments, the program's name first; false, with error()
    // saying why in one line, for an unknown option or a missing value.
    bool parse(const QStringList& arguments);
    const QString& error() const { return m_error; }

    bool isSet(const QString& name) const { return m_parser.isSet(name); }
    QString value(const QString& name) const { return m_parser.value(name); }
    QStringList positional() const { return m_parser.positionalArguments(); }

    static QString usage();
    // The whole --help text, group by group.
    static QString help();
    static QString groupTitle(Group group);
    // The options of the manual page, group by group, in the man macros:
    // the page and the help come from the same table.
    static QString manualOptions();

private:
    QCommandLineParser m_parser;
    QString m_error;
};

} // namespace app
