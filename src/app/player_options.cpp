#include "app/player_options.h"

#include "app/recent_games.h"
#include "base/failure.h"
#include "run/context.h"

#include <algorithm>
#include <array>

namespace app {

namespace {

const QString kApplication = QStringLiteral("loomplay");
// The defaults are the keys of one section; each game's own options are a
// record of a list, keyed by the game's folder, beside the recent games.
const QString kDefaults = QStringLiteral("Options");
const QString kGames = QStringLiteral("Game options");
const QString kFolder = QStringLiteral("folder");

const QString kDisplay = QStringLiteral("display");
const QString kScaling = QStringLiteral("scaling");
const QString kMaster = QStringLiteral("master volume");
const QString kMusic = QStringLiteral("music volume");
const QString kSounds = QStringLiteral("sounds volume");
const QString kVideo = QStringLiteral("video volume");
const QString kMute = QStringLiteral("mute");
const QString kSoundFont = QStringLiteral("soundfont");
const QString kCodePage = QStringLiteral("code page");
const QString kSpeech = QStringLiteral("speech");
const QString kFocusRing = QStringLiteral("focus ring");

const QString kFullScreen = QStringLiteral("full screen");
const QString kWindow = QStringLiteral("window");

constexpr std::array<std::pair<platform::Scaling, const char*>, 3> kScalings{{
    {platform::Scaling::Smooth, "smooth"},
    {platform::Scaling::Sharp, "sharp"},
    {platform::Scaling::WholeSteps, "whole"},
}};

QString yesNo(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

platform::SettingsStore::Record recordOf(const PlayerOptions& o)
{
    return {
        {kDisplay, o.fullScreen ? kFullScreen : kWindow},
        {kScaling, PlayerOptions::scalingName(o.scaling)},
        {kMaster, QString::number(o.volumes.master)},
        {kMusic, QString::number(o.volumes.music)},
        {kSounds, QString::number(o.volumes.sounds)},
        {kVideo, QString::number(o.volumes.video)},
        {kMute, yesNo(o.volumes.mute)},
        {kSoundFont, o.soundFont},
        {kCodePage, o.codePage},
        {kSpeech, yesNo(o.speech)},
        {kFocusRing, yesNo(o.focusRing)},
    };
}

// Changes the options by what a record says, value by value; what it does
// not hold or holds wrongly stays as it was.
void overlay(PlayerOptions& o, const std::function<std::optional<QString>(const QString& key)>& value)
{
    const auto flag = [&](const QString& key, bool& into) {
        if (const std::optional<QString> v = value(key); v == QLatin1String("true") || v == QLatin1String("false"))
            into = *v == QLatin1String("true");
    };
    const auto volume = [&](const QString& key, int& into) {
        bool number = false;
        const int v = value(key).value_or(QString()).toInt(&number);
        if (number && v >= 0 && v <= devices::Volumes::Full)
            into = v;
    };
    if (const std::optional<QString> v = value(kDisplay); v == kFullScreen || v == kWindow)
        o.fullScreen = *v == kFullScreen;
    if (const std::optional<platform::Scaling> s = PlayerOptions::scalingNamed(value(kScaling).value_or(QString())))
        o.scaling = *s;
    volume(kMaster, o.volumes.master);
    volume(kMusic, o.volumes.music);
    volume(kSounds, o.volumes.sounds);
    volume(kVideo, o.volumes.video);
    flag(kMute, o.volumes.mute);
    if (const std::optional<QString> v = value(kSoundFont))
        o.soundFont = *v;
    if (const std::optional<QString> v = value(kCodePage); v && !v->isEmpty())
        o.codePage = *v;
    flag(kSpeech, o.speech);
    flag(kFocusRing, o.focusRing);
}

std::vector<platform::SettingsStore::Record> gameRecords(const platform::SettingsStore& store)
{
    return store.list(kApplication, kGames);
}

// Whether a record holds the options of the game kept under key.
bool isGame(const platform::SettingsStore::Record& record, const QString& key)
{
    const auto at = record.find(kFolder);
    return at != record.end() && at->second == key;
}

} // namespace

QString PlayerOptions::scalingName(platform::Scaling scaling)
{
    for (const auto& [s, name] : kScalings) {
        if (s == scaling)
            return QString::fromLatin1(name);
    }
    return QString();
}

std::optional<platform::Scaling> PlayerOptions::scalingNamed(const QString& name)
{
    for (const auto& [s, n] : kScalings) {
        if (name == QLatin1String(n))
            return s;
    }
    return std::nullopt;
}

PlayerOptions PlayerOptions::defaults(const platform::SettingsStore& store)
{
    PlayerOptions o;
    try {
        overlay(o, [&](const QString& key) { return store.value(kApplication, kDefaults, key); });
    } catch (const base::Failure&) {
        // Settings that cannot be read leave the program's own defaults.
    }
    return o;
}

PlayerOptions PlayerOptions::forGame(const platform::SettingsStore& store, const QString& folder)
{
    PlayerOptions o = defaults(store);
    const QString key = RecentGames::key(folder);
    for (const platform::SettingsStore::Record& record : gameRecords(store)) {
        if (!isGame(record, key))
            continue;
        overlay(o, [&](const QString& k) -> std::optional<QString> {
            const auto found = record.find(k);
            return found == record.end() ? std::nullopt : std::optional<QString>(found->second);
        });
        break;
    }
    return o;
}

bool PlayerOptions::hasOwn(const platform::SettingsStore& store, const QString& folder)
{
    const QString key = RecentGames::key(folder);
    const std::vector<platform::SettingsStore::Record> records = gameRecords(store);
    return std::any_of(records.begin(), records.end(), [&](const platform::SettingsStore::Record& r) { return isGame(r, key); });
}

void PlayerOptions::saveAsDefaults(platform::SettingsStore& store) const
{
    for (const auto& [key, value] : recordOf(*this))
        store.setValue(kApplication, kDefaults, key, value);
}

void PlayerOptions::saveForGame(platform::SettingsStore& store, const QString& folder) const
{
    const QString key = RecentGames::key(folder);
    std::vector<platform::SettingsStore::Record> records = gameRecords(store);
    std::erase_if(records, [&](const platform::SettingsStore::Record& r) { return isGame(r, key); });
    platform::SettingsStore::Record own = recordOf(*this);
    own[kFolder] = key;
    records.push_back(std::move(own));
    store.setList(kApplication, kGames, records);
}

void PlayerOptions::forgetGame(platform::SettingsStore& store, const QString& folder)
{
    const QString key = RecentGames::key(folder);
    std::vector<platform::SettingsStore::Record> records = gameRecords(store);
    const std::size_t before = records.size();
    std::erase_if(records, [&](const platform::SettingsStore::Record& r) { return isGame(r, key); });
    if (records.size() != before)
        store.setList(kApplication, kGames, records);
}

void PlayerOptions::applyTo(run::RuntimeOptions& options, const std::function<bool(const QString& option)>& given) const
{
    const auto by = [&](const char* option) { return given && given(QString::fromLatin1(option)); };
    if (!by("windowed") && !by("fullscreen"))
        options.fullScreen = fullScreen;
    if (!by("scaling"))
        options.scaling = scaling;
    // --mute stops sound before any reaches the output; the volumes, mute
    // among them, are the player's choices within it.
    options.volumes = volumes;
    if (!by("soundfont"))
        options.soundFont = soundFont;
    if (!by("codepage"))
        options.codePage = codePage;
    if (!by("speech"))
        options.speech = speech;
    if (!by("no-focus-ring"))
        options.focusRing = focusRing;
}

} // namespace app
