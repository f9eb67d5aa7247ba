#include "support/player.h"

#include "support/game_folder.h"

namespace testsupport {

run::RuntimeOptions ScriptedOptions(const QString& folder, QSize screen)
{
    run::RuntimeOptions options;
    options.projectDir = folder;
    options.scripted = true;
    options.screen = screen;
    options.startTime = QDateTime(QDate(2026, 1, 1), QTime(10, 0));
    return options;
}

std::unique_ptr<app::Runtime> AuthorsDemoRun(const QString& folder)
{
    if (!CopyFolder(QStringLiteral(LOOM_DEMO_DIR), folder))
        return nullptr;
    run::RuntimeOptions options = ScriptedOptions(folder, QSize(1024, 768));
    options.debug = true;
    return std::make_unique<app::Runtime>(options);
}

Player::Player(const GameFolder& folder, QSize screen) : Player(ScriptedOptions(folder.path(), screen)) {}

Player::Player(const run::RuntimeOptions& options) : m_rt(std::make_unique<app::Runtime>(options)) {}

void Player::start()
{
    welcome().ClickButton(0);
}

std::vector<QString> TakeMessageTexts(app::Runtime& rt)
{
    std::vector<QString> texts;
    for (const QJsonObject& box : rt.log.ofType(QStringLiteral("msgbox")))
        texts.push_back(box.value(QStringLiteral("text")).toString());
    rt.log.clear();
    return texts;
}

std::vector<QString> Player::takeMessages()
{
    return TakeMessageTexts(*m_rt);
}

std::vector<QString> Player::mediaCalls() const
{
    std::vector<QString> calls;
    for (const QJsonObject& e : m_rt->log.ofType(QStringLiteral("media")))
        calls.push_back(e.value(QStringLiteral("call")).toString());
    return calls;
}

QString Player::errorReport(const QString& detail)
{
    return QStringLiteral("An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit.\r\n\r\nError description:")
        + detail;
}

} // namespace testsupport
