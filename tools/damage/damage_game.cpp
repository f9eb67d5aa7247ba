// Plays a game's walkthrough on copies of the game in which one file at a
// time is damaged, and counts, per kind of file, the runs that crashed, hung
// or drew a report from the sanitizers. Meant for the sanitizer build:
//   damage_game --player build-asan/loomplay --game demo --script demo/tests/walkthrough.test
//       --copies 100 --out /tmp/damage
// Every damaged copy that fails is kept under --out with its damage and the
// player's output; the messages the damaged files drew are listed per kind.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace {

// The kind of a file: its extension with packaged names mapped back, data
// files of areas by the letter that ends their name, settings by name.
QString KindOf(const QString& relative)
{
    static const std::map<QString, QString> packaged = {
        {QStringLiteral("002"), QStringLiteral("ico")}, {QStringLiteral("003"), QStringLiteral("cur")},
        {QStringLiteral("004"), QStringLiteral("bmp")}, {QStringLiteral("005"), QStringLiteral("jpg")},
        {QStringLiteral("006"), QStringLiteral("gif")}, {QStringLiteral("007"), QStringLiteral("wmf")},
        {QStringLiteral("008"), QStringLiteral("emf")}, {QStringLiteral("010"), QStringLiteral("wav")},
        {QStringLiteral("011"), QStringLiteral("mid")}, {QStringLiteral("012"), QStringLiteral("mp3")},
        {QStringLiteral("014"), QStringLiteral("avi")}};
    const QFileInfo info(relative);
    QString ext = info.suffix().toLower();
    if (auto it = packaged.find(ext); it != packaged.end())
        ext = it->second;
    if (ext == QLatin1String("dat")) {
        const QString base = info.completeBaseName();
        return QStringLiteral("dat-") + base.right(1).toLower();
    }
    if (ext.isEmpty())
        return QStringLiteral("config-") + info.fileName().toLower();
    return ext;
}

// Data files of quoted fields, damaged field by field as well as byte by byte.
bool IsFieldFile(const QString& kind)
{
    static const std::set<QString> binary = {QStringLiteral("ico"), QStringLiteral("cur"), QStringLiteral("bmp"), QStringLiteral("jpg"),
                                             QStringLiteral("gif"), QStringLiteral("wmf"), QStringLiteral("emf"), QStringLiteral("wav"),
                                             QStringLiteral("mid"), QStringLiteral("mp3"), QStringLiteral("avi")};
    return !binary.contains(kind);
}

struct Damage {
    QString file;   // relative to the game folder
    QString kind;
    QString how;    // in words, for the report
};

class Damager {
public:
    explicit Damager(quint32 seed) : m_random(seed) {}

    // Damages one file of the copy in one of the ways its kind allows.
    QString apply(const QString& path, bool fields)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("unreadable");
        QByteArray bytes = file.readAll();
        file.close();
        const int ways = fields ? 10 : 7;
        QString how;
        switch (m_random.bounded(ways)) {
        case 0: {
            const int flips = 1 + m_random.bounded(8);
            for (int i = 0; i < flips && !bytes.isEmpty(); ++i)
                bytes[pick(bytes.size())] ^= static_cast<char>(1 << m_random.bounded(8));
            how = QStringLiteral("%1 bits flipped").arg(flips);
            break;
        }
        case 1: {
            const qsizetype at = bytes.isEmpty() ? 0 : pick(bytes.size());
            bytes.truncate(at);
            how = QStringLiteral("cut short at byte %1").arg(at);
            break;
        }
        case 2: {
            const int count = 1 + m_random.bounded(64);
            for (int i = 0; i < count; ++i)
                bytes.append(static_cast<char>(m_random.bounded(256)));
            how = QStringLiteral("%1 random bytes appended").arg(count);
            break;
        }
        case 3:
            bytes.clear();
            how = QStringLiteral("emptied");
            break;
        case 4:
            QFile::remove(path);
            QDir().mkpath(path);
            return QStringLiteral("a folder in its place");
        case 5: {
            // Bytes no code page has a character for, and broken UTF-8.
            static const char invalid[] = {'\x81', '\x8d', '\x8f', '\x90', '\x9d', '\xc3', '\xff', '\xfe'};
            const qsizetype at = bytes.isEmpty() ? 0 : pick(bytes.size());
            for (int i = 0; i < 4; ++i)
                bytes.insert(at, invalid[m_random.bounded(8)]);
            how = QStringLiteral("bytes of no code page at %1").arg(at);
            break;
        }
        case 6: {
            // A run of bytes overwritten at random.
            const qsizetype at = bytes.isEmpty() ? 0 : pick(bytes.size());
            for (qsizetype i = at; i < std::min<qsizetype>(bytes.size(), at + 16); ++i)
                bytes[i] = static_cast<char>(m_random.bounded(256));
            how = QStringLiteral("16 bytes overwritten at %1").arg(at);
            break;
        }
        case 7:
            how = replaceField(bytes, Field::Number, {QStringLiteral("32768"), QStringLiteral("-1"), QStringLiteral("99999999"),
                                                     QStringLiteral("-32769"), QStringLiteral("1E+300")});
            break;
        case 8:
            how = replaceField(bytes, Field::Any, {QStringLiteral("\"text\""), QStringLiteral("12"), QStringLiteral("#TRUE#"), QString()});
            break;
        case 9:
            how = replaceField(bytes, Field::String, {QLatin1Char('"') + QString(300, QLatin1Char('N')) + QLatin1Char('"')});
            break;
        }
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
        return how;
    }

private:
    enum class Field { Number, String, Any };

    qsizetype pick(qsizetype size) { return static_cast<qsizetype>(m_random.bounded(static_cast<quint64>(size))); }

    // Replaces one field of a quoted-field file (numbers bare, texts in
    // quotes, fields split by commas and line ends) with one of the values.
    QString replaceField(QByteArray& bytes, Field want, const QStringList& values)
    {
        static const QRegularExpression fields(QStringLiteral("\"[^\"\\r\\n]*\"|[^,\\r\\n]+"));
        std::vector<std::pair<qsizetype, qsizetype>> found;
        const QString text = QString::fromLatin1(bytes);
        for (auto it = fields.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            const bool quoted = m.captured().startsWith(QLatin1Char('"'));
            if (want == Field::Any || (want == Field::String) == quoted)
                found.emplace_back(m.capturedStart(), m.capturedLength());
        }
        if (found.empty()) {
            bytes.append('\x81');
            return QStringLiteral("no such field: a byte of no code page appended");
        }
        const auto [at, length] = found[static_cast<std::size_t>(m_random.bounded(static_cast<quint32>(found.size())))];
        const QString value = values[m_random.bounded(static_cast<int>(values.size()))];
        const QString was = text.mid(at, length).left(40);
        bytes.replace(at, length, value.toLatin1());
        return QStringLiteral("field %1 at %2 became %3").arg(was).arg(at).arg(value.left(40));
    }

    QRandomGenerator m_random;
};

void CopyFolder(const QString& from, const QString& to)
{
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

struct Tally {
    int copies = 0;
    int crashes = 0;
    int hangs = 0;
    int reports = 0;
    std::map<QString, int> messages;
};

// One damaged copy being played.
struct Run {
    Damage damage;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QProcess> process;
    QElapsedTimer started;
};

// What the command line asks for.
struct Request {
    QString player;
    QString game;
    QString script;
    QString out;
    int copies = 0;
    int jobs = 1;
    int timeoutMs = 0;
    quint32 seed = 0;
    // Only these kinds; none: every kind the game holds.
    std::optional<QStringList> kinds;
    // The saved game the walkthrough writes, to damage as the kind "save".
    std::optional<QString> saveName;
};

// The copies to play and what became of those played so far.
struct Campaign {
    const Request& request;
    QProcessEnvironment environment;
    // The script that loads a damaged saved game; empty: none is damaged.
    QString loadScript;
    Damager damager;
    std::deque<Damage> queue;
    qsizetype total = 0;
    std::map<QString, Tally> tallies;
    std::vector<std::unique_ptr<Run>> running;
    int done = 0;
    int failures = 0;
};

// The request, or nothing after saying which option is missing.
std::optional<Request> ReadCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays a walkthrough on copies of a game with one file damaged at a time."));
    parser.addHelpOption();
    const QCommandLineOption playerOption(QStringLiteral("player"), QStringLiteral("The player's program (a sanitizer build)."), QStringLiteral("FILE"));
    const QCommandLineOption gameOption(QStringLiteral("game"), QStringLiteral("The game folder."), QStringLiteral("DIR"));
    const QCommandLineOption scriptOption(QStringLiteral("script"), QStringLiteral("The walkthrough."), QStringLiteral("FILE"));
    const QCommandLineOption copiesOption(QStringLiteral("copies"), QStringLiteral("Damaged copies of every kind of file."), QStringLiteral("N"), QStringLiteral("100"));
    const QCommandLineOption kindsOption(QStringLiteral("kinds"), QStringLiteral("Only these kinds, comma-separated (e.g. bmp,wmf,save)."), QStringLiteral("LIST"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the damage."), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"), QStringLiteral("Seconds a run may take before it counts as a hang."), QStringLiteral("S"), QStringLiteral("120"));
    const QCommandLineOption jobsOption(QStringLiteral("jobs"), QStringLiteral("Runs at once."), QStringLiteral("N"), QStringLiteral("2"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder for the report and the failing copies."), QStringLiteral("DIR"));
    const QCommandLineOption saveOption(QStringLiteral("save-name"), QStringLiteral("The saved game the walkthrough writes, to damage as the kind 'save'."), QStringLiteral("NAME"));
    parser.addOptions({playerOption, gameOption, scriptOption, copiesOption, kindsOption, seedOption, timeoutOption, jobsOption, outOption, saveOption});
    parser.process(app);
    for (const auto& required : {playerOption, gameOption, scriptOption, outOption}) {
        if (!parser.isSet(required)) {
            std::fprintf(stderr, "damage_game: --%s is needed\n", qPrintable(required.names().first()));
            return std::nullopt;
        }
    }
    Request request;
    request.player = QFileInfo(parser.value(playerOption)).absoluteFilePath();
    request.game = QFileInfo(parser.value(gameOption)).absoluteFilePath();
    request.script = QFileInfo(parser.value(scriptOption)).absoluteFilePath();
    request.out = QFileInfo(parser.value(outOption)).absoluteFilePath();
    request.copies = parser.value(copiesOption).toInt();
    request.jobs = std::max(1, parser.value(jobsOption).toInt());
    request.timeoutMs = parser.value(timeoutOption).toInt() * 1000;
    request.seed = parser.value(seedOption).toUInt();
    if (parser.isSet(kindsOption))
        request.kinds = parser.value(kindsOption).split(QLatin1Char(','));
    if (parser.isSet(saveOption))
        request.saveName = parser.value(saveOption);
    return request;
}

// Every run of the player, the clean one included, reports through the
// sanitizers alike and plays its sounds on no device.
QProcessEnvironment PlayerEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=1:exitcode=99"));
    environment.insert(QStringLiteral("UBSAN_OPTIONS"), QStringLiteral("halt_on_error=1:exitcode=98:print_stacktrace=1"));
    environment.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=" LOOM_LSAN_SUPPRESSIONS ":print_suppressions=0"));
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    return environment;
}

// The files of the game by kind, relative to its folder.
std::map<QString, QStringList> FilesByKind(const QString& game)
{
    std::map<QString, QStringList> files;
    QDirIterator it(game, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(game).relativeFilePath(it.next());
        if (!relative.endsWith(QLatin1String(".txt")) || relative.contains(QLatin1Char('/')))
            files[KindOf(relative)] << relative;
    }
    return files;
}

// Saved games are read by the load window: a script of its own loads the
// damaged save, after the walkthrough made a clean one in one clean run.
// Adds the save to the files of the kind "save"; the script's path, or the
// empty text when the walkthrough wrote no such save.
QString PrepareSavedGame(const Request& request, const QProcessEnvironment& environment, std::map<QString, QStringList>& files)
{
    QTemporaryDir clean;
    CopyFolder(request.game, clean.path());
    QTemporaryDir settings;
    QProcess run;
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    run.setProcessEnvironment(environment);
    run.start(request.player, {QStringLiteral("--headless"), QStringLiteral("--script"), request.script, QStringLiteral("--settings"), settings.path(), clean.path()});
    run.waitForFinished(request.timeoutMs);
    const QString save = *request.saveName + QStringLiteral(".sav");
    if (!QFile::exists(clean.filePath(save))) {
        std::fprintf(stderr, "damage_game: the walkthrough wrote no saved game named %s\n", qPrintable(save));
        return {};
    }
    QFile::copy(clean.filePath(save), request.out + QStringLiteral("/clean.sav"));
    files[QStringLiteral("save")] << save;
    const QString loadScript = request.out + QStringLiteral("/load.txt");
    QFile f(loadScript);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("click Img(1)\nselect frmLoadGame.List1 %1\nclick frmLoadGame.Command2\nwait 2000\ndump\nkey Q\nanswer yes\nwait 100\n")
                .arg(*request.saveName).toUtf8());
    return loadScript;
}

// Every copy to play, the file of each chosen at once so a seed repeats a
// run. Kinds take turns, so that a run stopped early has as many copies of
// each.
std::deque<Damage> ChooseCopies(const Request& request, const std::map<QString, QStringList>& files)
{
    QStringList kinds;
    if (request.kinds)
        kinds = *request.kinds;
    else
        for (const auto& [kind, list] : files)
            kinds << kind;
    const auto filesOf = [&files](const QString& kind) {
        const auto it = files.find(kind);
        return it == files.end() ? QStringList() : it->second;
    };
    for (const QString& kind : kinds) {
        if (filesOf(kind).isEmpty())
            std::fprintf(stderr, "damage_game: the game holds no file of the kind %s\n", qPrintable(kind));
    }
    QRandomGenerator choose(request.seed + 1);
    std::deque<Damage> queue;
    for (int i = 0; i < request.copies; ++i) {
        for (const QString& kind : kinds) {
            const QStringList list = filesOf(kind);
            if (!list.isEmpty())
                queue.push_back({list[choose.bounded(static_cast<int>(list.size()))], kind, {}});
        }
    }
    return queue;
}

// The counts so far, rewritten as the run goes so that a run stopped early
// leaves its report; on the console too at the end.
void WriteReport(const Campaign& campaign, bool console)
{
    QFile report(campaign.request.out + QStringLiteral("/report.txt"));
    report.open(QIODevice::WriteOnly | QIODevice::Truncate);
    QTextStream text(&report);
    QString table;
    QTextStream rows(&table);
    int sum[4] = {};
    rows << QStringLiteral("%1 %2 %3 %4 %5\n").arg(QStringLiteral("kind"), -16).arg(QStringLiteral("copies"), 7).arg(QStringLiteral("crashes"), 8)
                .arg(QStringLiteral("hangs"), 6).arg(QStringLiteral("reports"), 8);
    for (const auto& [kind, t] : campaign.tallies) {
        rows << QStringLiteral("%1 %2 %3 %4 %5\n").arg(kind, -16).arg(t.copies, 7).arg(t.crashes, 8).arg(t.hangs, 6).arg(t.reports, 8);
        sum[0] += t.copies;
        sum[1] += t.crashes;
        sum[2] += t.hangs;
        sum[3] += t.reports;
    }
    rows << QStringLiteral("%1 %2 %3 %4 %5\n").arg(QStringLiteral("all"), -16).arg(sum[0], 7).arg(sum[1], 8).arg(sum[2], 6).arg(sum[3], 8);
    rows.flush();
    text << table << "\nMessages the damaged files drew, by kind (count, text):\n";
    for (const auto& [kind, t] : campaign.tallies) {
        text << "\n" << kind << ":\n";
        for (const auto& [message, count] : t.messages)
            text << QStringLiteral("  %1  %2\n").arg(count, 5).arg(message);
    }
    if (console)
        std::fputs(qPrintable(table), stdout);
}

// Damages a fresh copy of the game as the next in the queue says and starts
// the player on it.
void StartNext(Campaign& campaign)
{
    const Request& request = campaign.request;
    auto run = std::make_unique<Run>();
    run->damage = campaign.queue.front();
    campaign.queue.pop_front();
    run->dir = std::make_unique<QTemporaryDir>();
    const QString copy = run->dir->filePath(QStringLiteral("game"));
    CopyFolder(request.game, copy);
    const bool isSave = run->damage.kind == QLatin1String("save");
    if (isSave)
        QFile::copy(request.out + QStringLiteral("/clean.sav"), copy + QLatin1Char('/') + run->damage.file);
    run->damage.how = campaign.damager.apply(copy + QLatin1Char('/') + run->damage.file, IsFieldFile(run->damage.kind));
    run->process = std::make_unique<QProcess>();
    run->process->setProcessEnvironment(campaign.environment);
    run->process->start(request.player, {QStringLiteral("--headless"), QStringLiteral("--script"), isSave ? campaign.loadScript : request.script,
                                         QStringLiteral("--settings"), run->dir->filePath(QStringLiteral("settings")), copy});
    run->started.start();
    campaign.running.push_back(std::move(run));
}

// Counts the message boxes of a run's output under its kind.
void CountMessages(Tally& tally, const Run& run, const QByteArray& stdoutText)
{
    for (const QByteArray& line : stdoutText.split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (entry.value(QStringLiteral("type")).toString() == QLatin1String("msgbox"))
            // The copy's own folder is named GAME, so that equal messages count as one.
            ++tally.messages[entry.value(QStringLiteral("text")).toString().replace(run.dir->filePath(QStringLiteral("game")), QStringLiteral("GAME")).simplified().left(160)];
    }
}

// Keeps the copy of a run that failed under --out, with its damage and the
// player's error output, and says where.
void KeepFailure(Campaign& campaign, const Run& run, bool hung, bool report, const QByteArray& err)
{
    ++campaign.failures;
    const QString keep = campaign.request.out + QStringLiteral("/failed-%1").arg(campaign.failures);
    CopyFolder(run.dir->filePath(QStringLiteral("game")), keep + QStringLiteral("/game"));
    QFile note(keep + QStringLiteral("/damage.txt"));
    note.open(QIODevice::WriteOnly);
    note.write(QStringLiteral("%1 (%2): %3\n%4\nexit %5\n").arg(run.damage.file, run.damage.kind, run.damage.how,
                                                            hung ? QStringLiteral("hung") : QString()).arg(run.process->exitCode()).toUtf8());
    note.write(err);
    std::fprintf(stderr, "damage_game: %s: %s (%s) kept in %s\n", hung ? "hang" : report ? "sanitizer report" : "crash",
                 qPrintable(run.damage.file), qPrintable(run.damage.how), qPrintable(keep));
}

// Counts what became of a run that ended or hung.
void Finish(Campaign& campaign, Run& run, bool hung)
{
    Tally& tally = campaign.tallies[run.damage.kind];
    ++tally.copies;
    const QByteArray err = run.process->readAllStandardError();
    const QByteArray stdoutText = run.process->readAllStandardOutput();
    const bool report = err.contains("ERROR: AddressSanitizer") || err.contains("runtime error:") || err.contains("ERROR: LeakSanitizer");
    const bool crashed = !hung && (run.process->exitStatus() == QProcess::CrashExit || run.process->exitCode() > 1);
    if (hung)
        ++tally.hangs;
    else if (report)
        ++tally.reports;
    else if (crashed)
        ++tally.crashes;
    CountMessages(tally, run, stdoutText);
    if (hung || report || crashed)
        KeepFailure(campaign, run, hung, report, err);
    ++campaign.done;
    if (campaign.done % 50 == 0) {
        std::fprintf(stderr, "damage_game: %d of %lld played\n", campaign.done, static_cast<long long>(campaign.total));
        WriteReport(campaign, false);
    }
}

// Plays every copy, --jobs at a time; one that runs past --timeout is
// killed and counts as hung.
void PlayAll(Campaign& campaign)
{
    while (!campaign.queue.empty() || !campaign.running.empty()) {
        while (static_cast<int>(campaign.running.size()) < campaign.request.jobs && !campaign.queue.empty())
            StartNext(campaign);
        for (auto r = campaign.running.begin(); r != campaign.running.end();) {
            Run& run = **r;
            bool ended = run.process->waitForFinished(50);
            const bool hung = !ended && run.started.elapsed() > campaign.request.timeoutMs;
            if (hung) {
                run.process->kill();
                run.process->waitForFinished();
                ended = true;
            }
            if (ended) {
                Finish(campaign, run, hung);
                r = campaign.running.erase(r);
            } else {
                ++r;
            }
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const std::optional<Request> request = ReadCommandLine(app);
    if (!request)
        return 2;
    QDir().mkpath(request->out);
    Campaign campaign{.request = *request, .environment = PlayerEnvironment(), .damager = Damager(request->seed)};
    std::map<QString, QStringList> files = FilesByKind(request->game);
    if (request->saveName)
        campaign.loadScript = PrepareSavedGame(*request, campaign.environment, files);
    campaign.queue = ChooseCopies(*request, files);
    campaign.total = static_cast<qsizetype>(campaign.queue.size());
    PlayAll(campaign);
    WriteReport(campaign, true);
    return campaign.failures == 0 ? 0 : 1;
}
