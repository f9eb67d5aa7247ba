#include "run/context.h"

#include "base/failure.h"
#include "pictures/picture_decoder.h"
#include "platform/input_observer.h"
#include "platform/qt_dialogs.h"
#include "platform/scripted_dialogs.h"

#include <QDesktopServices>
#include <QFont>
#include <QJsonObject>
#include <QUrl>

namespace run {

Context::Context(const RuntimeOptions& options)
    : codePage(options.codePage), display(options.screen), m_options(options), m_pictures(options.pictureMemory)
{
    // Fonts that games name, mapped to installed fonts of the same metrics
    // (fontconfig knows the first three; the last is a bitmap font of old
    // systems whose nearest outline font has Arial's metrics).
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    drives = options.mountTable ? platform::Drives::fromMountTable(*options.mountTable) : platform::Drives::fromSystem();
    std::map<QChar, QString> roots;
    for (const platform::Drives::Drive& d : drives.drives())
        roots[d.letter] = d.root;
    files.setDriveRoots(std::move(roots));
    if (options.scripted) {
        log.setEnabled(true);
        m_clock = std::make_unique<platform::VirtualClock>(options.startTime);
        auto scripted = std::make_unique<platform::ScriptedDialogs>(log);
        m_scripted = scripted.get();
        m_dialogs = std::move(scripted);
    } else {
        m_clock = std::make_unique<platform::RealClock>();
        m_dialogs = std::make_unique<platform::QtDialogs>();
    }
}

Context::~Context() = default;

formats::QuotedFieldReader Context::openReader(const QString& path) const
{
    return formats::QuotedFieldReader(files.readAll(path, platform::FileResolver::kRecordFileLimit), codePage);
}

base::LazyImage Context::LoadPicture(const QString& path)
{
    return m_pictures.load(files.resolve(path).value_or(std::filesystem::path()), [&] {
        base::LazyImage image = pictures::ReadPicture(files.readAll(path));
        if (image.isNull())
            throw base::Failure(QStringLiteral("Invalid picture: %1").arg(path));
        return image;
    });
}

platform::MsgAnswer Context::msgBox(const QString& title, const QString& text, platform::MsgIcon icon,
                                    platform::MsgButtons buttons, std::optional<platform::MsgAnswer> defaultButton)
{
    readAloud(title);
    readAloud(text);
    platform::MsgBox box;
    box.title = title;
    box.text = text;
    box.icon = icon;
    box.buttons = buttons;
    box.defaultButton = defaultButton;
    const platform::MsgAnswer answer = m_dialogs->show(box);
    if (m_inputObserver)
        m_inputObserver->answered(box, answer);
    return answer;
}

void Context::readAloud(const QString& text)
{
    if (m_reader)
        m_reader(text);
}

bool Context::shellOpen(const QString& url)
{
    if (m_options.scripted) {
        log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("call")}, {QStringLiteral("call"), QStringLiteral("open ") + url}});
        return true;
    }
    return QDesktopServices::openUrl(QUrl(url));
}

void Context::ShowErrorReport(const QString& detail)
{
    msgBox(strings(29), strings(30) + QStringLiteral("\r\n\r\n") + strings(31) + detail, platform::MsgIcon::Critical);
}

} // namespace run
