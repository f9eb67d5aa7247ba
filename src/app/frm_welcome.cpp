#include "app/frm_welcome.h"

#include "app/frm_run_from_cd.h"
#include "app/logo_pictures.h"
#include "app/runtime.h"
#include "app/startup.h"
#include "base/color.h"
#include "base/failure.h"
#include "engine/game.h"
#include "run/display_settings.h"
#include "run/media_names.h"
#include "saves/frm_load_game.h"

#include <QDir>
#include <QFontMetrics>
#include <QJsonObject>
#include <QWindow>

namespace app {

namespace {

using Kind = platform::Element::Kind;

const QColor kDesignTextColor(128, 0, 255);
// A deep indigo (0x00BBGGRR) behind the design colours; schemes replace it.
constexpr int kWelcomeBackground = 0x281216;

QFont timesNewRoman(double points, bool bold = false)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

FrmWelcome::FrmWelcome(Runtime& rt) : m_rt(rt), m_window(std::make_unique<platform::SceneWindow>(QStringLiteral("frmWelcome")))
{
    m_window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Window);
    m_backColor = base::ColorFromBgr(kWelcomeBackground);
    m_window->setBackground(m_backColor);
    m_window->onKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) { Form_KeyDown(key, modifiers); };
    m_window->onCloseRequest = [this] {
        Form_Unload();
        return true;
    };
    m_window->onActivate = [this] { Form_Activate(); };
    m_window->onBackgroundMove = [this](Qt::MouseButtons buttons) { Form_MouseMove(buttons); };
    createElements();
    for (const char* name : {"txtAdventureName", "txtVersion", "txtAuthor", "lblAuthor", "lblEmail", "lblHomepage"})
        element(QString::fromLatin1(name))->onMove = [this](Qt::MouseButtons buttons, QPointF) { Form_MouseMove(buttons); };
    element(QStringLiteral("txtEmail"))->onClick = [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            txtEmail_Click();
    };
    element(QStringLiteral("txtHomepage"))->onClick = [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            txtHomepage_Click();
    };
    element(QStringLiteral("imgLogo"))->onClick = [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            imgLogo_Click();
    };
}

FrmWelcome::~FrmWelcome() = default;

void FrmWelcome::createElements()
{
    auto label = [this](const QString& name, int l, int t, int w, int h, const QString& text, bool shown) {
        platform::Element* e = m_window->create(Kind::Label, name);
        e->setGeometryTwips(l, t, w, h);
        e->setText(text);
        e->setFont(timesNewRoman(11.25));
        e->setForeColor(kDesignTextColor);
        e->setShown(shown);
        return e;
    };
    platform::Element* name = label(QStringLiteral("txtAdventureName"), -120, 240, 4995, 735, QStringLiteral("..."), true);
    name->setFont(timesNewRoman(26.25));
    name->setForeColor(Qt::white);
    name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    const QString designButtons[] = {QStringLiteral("Start"), QStringLiteral("Load"), QStringLiteral("Exit")};
    for (int i = 0; i < 3; ++i) {
        platform::Element* b = label(QStringLiteral("lblButton(%1)").arg(i), 0, 1080 + 480 * i, 4785, 300, designButtons[i], true);
        b->setFont(timesNewRoman(14.25, true));
        b->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        b->setCursor(Qt::PointingHandCursor);
        b->onClick = [this, i](Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                lblButton_Click(static_cast<std::int16_t>(i));
        };
        platform::Element* img = m_window->create(Kind::Image, QStringLiteral("Img(%1)").arg(i));
        img->setGeometryTwips(0, 1080 + 480 * i, 4785, 300);
        img->setShown(false);
        img->setCursor(Qt::PointingHandCursor);
        img->onClick = [this, i](Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                Img_Click(static_cast<std::int16_t>(i));
        };
    }
    m_window->create(Kind::Image, QStringLiteral("Img(3)"))->setShown(false);

    platform::Element* chk = m_window->create(Kind::CheckBox, QStringLiteral("chkResolution"));
    chk->setGeometryTwips(240, 2925, 195, 195);
    chk->setShown(false);
    chk->onClick = [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            lblResolution_Click();
    };
    platform::Element* res = label(QStringLiteral("lblResolution"), 525, 2880, 4305, 315, QStringLiteral("Change display resolution to 640 x 480."), false);
    res->onClick = [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            lblResolution_Click();
    };

    label(QStringLiteral("txtVersion"), 240, 3120, 4515, 255, QString(), false);
    label(QStringLiteral("lblAuthor"), 240, 3360, 1200, 255, QStringLiteral("Created by:"), false);
    label(QStringLiteral("txtAuthor"), 1440, 3360, 3315, 255, QStringLiteral("Author"), false);
    label(QStringLiteral("lblEmail"), 240, 3600, 1200, 255, QStringLiteral("E-mail:"), false);
    label(QStringLiteral("txtEmail"), 1440, 3600, 3315, 255, QStringLiteral("e-mail"), false)->setCursor(Qt::PointingHandCursor);
    label(QStringLiteral("lblHomepage"), 240, 3840, 1200, 255, QStringLiteral("Website:"), false);
    label(QStringLiteral("txtHomepage"), 1440, 3840, 3315, 255, QString(), false)->setCursor(Qt::PointingHandCursor);

    for (int k = 0; k < 4; ++k) {
        platform::Element* logo = m_window->create(Kind::Image, QStringLiteral("imgLogos(%1)").arg(k));
        logo->setPicture(LogoPicture(k));
        logo->setShown(false);
    }
    platform::Element* logo = m_window->create(Kind::Image, QStringLiteral("imgLogo"));
    logo->setPicture(LogoPicture(0));
}

void FrmWelcome::centre()
{
    const int screenW = run::GetScreenWidth(m_rt) * 15;
    const int screenH = run::GetScreenHeight(m_rt) * 15;
    m_top = screenH / 2 - m_height / 2;
    m_left = screenW / 2 - m_width / 2;
}

void FrmWelcome::applyGeometry()
{
    m_window->setFixedSize(m_width / 15, m_height / 15);
    m_window->setSceneSize(m_width / 15, m_height / 15);
    m_window->move(m_left / 15, m_top / 15);
    m_window->setWindowTitle(m_caption);
}

void FrmWelcome::Form_Load()
{
    run::Project& p = m_rt.project;
    base::SkipOnFailure([&] {
        centre();
        m_width = 4800;
    });
    // Folders, only the first time (a CD game keeps the folders it chose).
    base::SkipOnFailure([&] {
        if (!p.ProjectPath.isEmpty())
            return;
        SetProjectFolders(p, m_rt.options().projectDir);
    });
    m_rt.frame.ClearFrameHeader();
    p.assignDefaults();
    base::SkipOnFailure([&] { LoadInterfaceStrings(m_rt); });
    // Without settings the player may still go on with the defaults.
    const QString general = p.ConfigPath + QStringLiteral("General");
    if (!m_rt.files.fileExists(general)) {
        const auto answer = m_rt.msgBox(m_rt.strings(29),
                                        m_rt.strings(33) + u' ' + general + QStringLiteral("\r\n\r\n") + m_rt.strings(34)
                                            + QStringLiteral("\r\n\r\n") + m_rt.strings(32),
                                        platform::MsgIcon::Exclamation, platform::MsgButtons::OkCancel);
        if (answer == platform::MsgAnswer::Cancel) {
            Form_Unload();
            return;
        }
    }
    base::SkipOnFailure([&] { ReadProjectSettings(m_rt); });
    // The information lines, each shown only when the game gives it.
    const int line = 255;
    int y = 3000;
    base::SkipOnFailure([&] { element(QStringLiteral("txtAdventureName"))->setText(p.GameName); });
    base::SkipOnFailure([&] {
        platform::Element* version = element(QStringLiteral("txtVersion"));
        if (!p.GameVersion.isEmpty()) {
            version->setText(p.GameVersion);
            version->setTop(y);
            y += line;
            version->setShown(true);
        } else {
            version->setText(QString());
            version->setShown(false);
        }
    });
    const std::pair<const QString*, QString> infoLines[] = {
        {&p.AuthorName, QStringLiteral("Author")},
        {&p.AuthorEmail, QStringLiteral("Email")},
        {&p.AuthorWebSite, QStringLiteral("Homepage")},
    };
    for (const auto& info : infoLines) {
        base::SkipOnFailure([&] {
            const auto& [value, suffix] = info;
            if (value->isEmpty())
                return;
            platform::Element* text = element(QStringLiteral("txt") + suffix);
            platform::Element* caption = element(QStringLiteral("lbl") + suffix);
            text->setText(*value);
            text->setTop(y);
            caption->setTop(y);
            y += line;
            text->setShown(true);
            caption->setShown(true);
        });
    }
    base::SkipOnFailure([&] {
        platform::Element* chk = element(QStringLiteral("chkResolution"));
        platform::Element* lbl = element(QStringLiteral("lblResolution"));
        if (!run::IsAtGameResolution(m_rt) && p.DisplayChangeMode == 1) {
            chk->setValue(1);
            chk->setTop(y + 45);
            lbl->setTop(y);
            y += line;
            chk->setShown(true);
            lbl->setShown(true);
        } else {
            chk->setShown(false);
            lbl->setShown(false);
        }
    });
    base::SkipOnFailure([&] {
        m_height = y + 150;
        m_caption = p.GameName;
        centre();
    });
    // From here a failure is reported once, after all steps ran.
    bool failed = false;
    failed |= !base::SkipOnFailure([&] {
        const auto stored = m_rt.settings.value(QStringLiteral("Games"), p.ProjectKey, QStringLiteral("ChangeResolution"));
        const QString text = stored.value_or(QStringLiteral("1")).trimmed();
        bool ok = false;
        const int v = text.toInt(&ok);
        if (!ok)
            throw base::Failure("Type mismatch");
        element(QStringLiteral("chkResolution"))->setValue(v);
    });
    failed |= !base::SkipOnFailure([&] { UseScheme(p.SchemeName); });
    failed |= !base::SkipOnFailure([&] {
        element(QStringLiteral("lblAuthor"))->setText(m_rt.strings(4));
        element(QStringLiteral("lblEmail"))->setText(m_rt.strings(5));
        element(QStringLiteral("lblHomepage"))->setText(m_rt.strings(6));
    });
    failed |= !base::SkipOnFailure([&] { element(QStringLiteral("lblResolution"))->setText(run::ResolutionLabelText(m_rt)); });
    failed |= !base::SkipOnFailure([&] { layoutLoadButtonAndLogo(); });
    if (failed)
        m_rt.ShowErrorReport(QStringLiteral(" Error loading project information."));
    applyGeometry();
}

void FrmWelcome::showTextButton(int index)
{
    platform::Element* button = element(QStringLiteral("lblButton(%1)").arg(index));
    button->setText(m_rt.strings(index + 1));
    // Sized to its text, about the centre it was designed around.
    const QFontMetrics metrics(button->font());
    const int w = (metrics.horizontalAdvance(button->text()) + 4) * 15;
    const int h = metrics.height() * 15;
    const int centre = button->left() + button->width() / 2;
    button->setGeometryTwips(centre - w / 2, button->top(), w, h);
    button->setShown(true);
}

void FrmWelcome::UseScheme(const QString& schemeName)
{
    const QString folder = m_rt.project.SchemesPath + schemeName + QDir::separator();
    const QString file = folder + QStringLiteral("Scheme.txt");
    if (!m_rt.files.fileExists(file)) {
        for (int i = 0; i < 3; ++i) {
            base::SkipOnFailure([&] {
                element(QStringLiteral("Img(%1)").arg(i))->setShown(false);
                showTextButton(i);
            });
        }
        return;
    }
    std::optional<formats::QuotedFieldReader> reader;
    try {
        reader.emplace(m_rt.openReader(file));
        for (int i = 0; i < 3; ++i)
            reader->skip();
        const double n = formats::QuotedFieldReader::fieldNumber(reader->readString());
        if (n == 0)
            return;
        // Only the first four pictures have widgets; the rest are read and
        // dropped, as far as the file goes.
        const long long count = n > 0 && n < 1e9 ? static_cast<long long>(n) : 0;
        for (long long i = 0; i < count; ++i) {
            if (i > 3) {
                if (reader->atEnd())
                    break;
                reader->skip();
                continue;
            }
            QString field = QStringLiteral("[default]");
            base::SkipOnFailure([&] { field = reader->readString(); });
            platform::Element* img = element(QStringLiteral("Img(%1)").arg(i));
            const QString lower = field.toLower();
            if (lower == QLatin1String("[none]") || lower == QLatin1String("[default]")) {
                img->clearPicture();
                img->setShown(false);
            } else {
                // A picture that cannot be loaded leaves the one before.
                base::SkipOnFailure([&] {
                    img->setPicture(m_rt.LoadPicture(folder + field));
                    img->setPictureFile(field);
                    // Button pictures sit in the middle of their row.
                    if (i < 3)
                        img->setLeft((4800 - img->width()) / 2);
                });
                img->setShown(true);
            }
        }
    } catch (const base::Failure&) {
        // A bad count abandons the scheme.
        return;
    }
    base::SkipOnFailure([&] {
        platform::Element* tile = element(QStringLiteral("Img(3)"));
        tile->setShown(false);
        m_window->setBackgroundTile(tile->picture());
    });
    for (int i = 0; i < 3; ++i) {
        base::SkipOnFailure([&] {
            if (!element(QStringLiteral("Img(%1)").arg(i))->hasPicture())
                showTextButton(i);
            else
                element(QStringLiteral("lblButton(%1)").arg(i))->setShown(false);
        });
    }
    // From here a failing step abandons the rest; nothing is ever reported.
    base::SkipOnFailure([&] {
        const double v = formats::QuotedFieldReader::fieldNumber(reader->readString());
        if (v == 0)
            return;
        auto colour = [&] {
            const double value = formats::QuotedFieldReader::fieldNumber(reader->readString());
            if (value < -2147483648.0 || value > 4294967295.0)
                throw base::Failure("Overflow: colour");
            return base::ColorFromBgr(static_cast<std::int32_t>(static_cast<std::int64_t>(value)));
        };
        m_backColor = colour();
        m_window->setBackground(m_backColor);
        element(QStringLiteral("txtAdventureName"))->setForeColor(colour());
        const QColor text = colour();
        for (const char* name : {"lblResolution", "txtVersion", "lblAuthor", "lblEmail", "lblHomepage", "txtAuthor", "txtEmail", "txtHomepage"})
            element(QString::fromLatin1(name))->setForeColor(text);
        if (v >= 4) {
            const QColor buttons = colour();
            for (int i = 0; i < 3; ++i)
                element(QStringLiteral("lblButton(%1)").arg(i))->setForeColor(buttons);
        }
        if (reader->atEnd())
            return;
        for (int i = 0; i < 3; ++i)
            reader->skip();
        const double hideName = formats::QuotedFieldReader::fieldNumber(reader->readString());
        element(QStringLiteral("txtAdventureName"))->setShown(hideName == 0);
        if (reader->atEnd())
            return;
        reader->skip();
        m_rt.project.LogoVariant = reader->readInt16();
        m_rt.project.LogoAlternate = reader->readBoolean();
    });
}

void FrmWelcome::layoutLoadButtonAndLogo()
{
    const run::Project& p = m_rt.project;
    if (p.HideLoadButton) {
        element(QStringLiteral("Img(1)"))->setShown(false);
        element(QStringLiteral("lblButton(1)"))->setShown(false);
        element(QStringLiteral("lblButton(2)"))->setTop(1560);
    }
    if (element(QStringLiteral("lblButton(1)"))->text().isEmpty()) {
        element(QStringLiteral("lblButton(1)"))->setShown(false);
        element(QStringLiteral("lblButton(2)"))->setTop(1560);
    }
    platform::Element* logo = element(QStringLiteral("imgLogo"));
    logo->setShown(true);
    logo->bringToFront();
    logo->setTop(-720);
    logo->setLeft(p.LogoAlternate ? 4440 : 4560);
    int k = -1;
    if (p.LogoVariant == 0)
        k = p.LogoAlternate ? 2 : 0;
    else if (p.LogoVariant == 1)
        k = p.LogoAlternate ? 3 : 1;
    if (k >= 0)
        logo->setPicture(element(QStringLiteral("imgLogos(%1)").arg(k))->lazyPicture());
}

void FrmWelcome::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Escape:
        Form_Unload();
        break;
    case Qt::Key_Tab:
        moveFocus(!(modifiers & Qt::ShiftModifier));
        break;
    case Qt::Key_Backtab:
        moveFocus(false);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pressFocused(false);
        break;
    case Qt::Key_Space:
        pressFocused(true);
        break;
    default:
        break;
    }
}

platform::Element* FrmWelcome::focusStop(int stop) const
{
    if (stop == kResolutionStop) {
        platform::Element* label = element(QStringLiteral("lblResolution"));
        return label->shown() && element(QStringLiteral("chkResolution"))->shown() ? label : nullptr;
    }
    // A button is its text or, with a scheme, its picture.
    if (platform::Element* label = element(QStringLiteral("lblButton(%1)").arg(stop)); label->shown())
        return label;
    if (platform::Element* picture = element(QStringLiteral("Img(%1)").arg(stop)); picture->shown())
        return picture;
    return nullptr;
}

QString FrmWelcome::focusedElement() const
{
    const platform::Element* e = focusStop(m_focus);
    if (!e)
        e = focusStop(0);
    return e ? e->name() : QString();
}

void FrmWelcome::moveFocus(bool forward)
{
    for (int step = 1; step <= kResolutionStop + 1; ++step) {
        const int stop = (m_focus + (forward ? step : kResolutionStop + 1 - step)) % (kResolutionStop + 1);
        if (focusStop(stop)) {
            m_focus = stop;
            break;
        }
    }
    for (int i = 0; i < 3; ++i) {
        element(QStringLiteral("lblButton(%1)").arg(i))->setFocusFrame(false);
        element(QStringLiteral("Img(%1)").arg(i))->setFocusFrame(false);
    }
    element(QStringLiteral("lblResolution"))->setFocusFrame(false);
    if (platform::Element* e = focusStop(m_focus))
        e->setFocusFrame(true);
}

void FrmWelcome::pressFocused(bool space)
{
    const int stop = focusStop(m_focus) ? m_focus : 0;
    if (stop == kResolutionStop) {
        if (space)
            lblResolution_Click();
        else
            ClickButton(0);
        return;
    }
    ClickButton(static_cast<std::int16_t>(stop));
}

void FrmWelcome::lblResolution_Click()
{
    platform::Element* chk = element(QStringLiteral("chkResolution"));
    chk->setValue(chk->value() != 0 ? 0 : 1);
}

void FrmWelcome::ClickButton(std::int16_t index)
{
    if ((index == 0 || index == 1) && !run::ChooseCDFolders(m_rt)) {
        // The CD dialog first; the button acts once it closes with a drive.
        setTopMost(false);
        m_rt.CDCancelled = false;
        m_rt.frmRunFromCD().show([this, index] {
            if (m_rt.CDCancelled) {
                setTopMost(true);
                return;
            }
            m_rt.clock().doEvents();
            pressButton(index);
        });
        return;
    }
    pressButton(index);
}

void FrmWelcome::pressButton(std::int16_t index)
{
    if (index == 0) {
        engine::Game& game = m_rt.game();
        const platform::Element* chk = element(QStringLiteral("chkResolution"));
        if (chk->value() == 1 && chk->shown() && m_rt.project.DisplayChangeMode == 1) {
            hideWindow();
            run::SwitchToGameResolution(m_rt);
        }
        game.ResetAll();
        hideWindow();
        game.StartNewGame();
        game.show();
    } else if (index == 1) {
        setTopMost(false);
        saves::FrmLoadGame& dialog = m_rt.frmLoadGame();
        dialog.LoadSaveGames();
        dialog.show();
    } else if (index == 2) {
        Form_Unload();
    }
}

void FrmWelcome::Form_Activate()
{
    if (!run::IsSmallFonts(m_rt)) {
        const auto answer = m_rt.msgBox(QStringLiteral("!!!"), m_rt.strings(40) + QStringLiteral("\r\n\r\n") + m_rt.strings(41),
                                        platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo, platform::MsgAnswer::No);
        if (answer == platform::MsgAnswer::No) {
            Form_Unload();
            return;
        }
    }
    setTopMost(true);
}

void FrmWelcome::setTopMost(bool topMost)
{
    m_topMost = topMost;
    // Through the native window, so the window is not hidden and shown again.
    if (QWindow* handle = m_window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, topMost);
    else
        m_window->setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
}

void FrmWelcome::Form_MouseMove(Qt::MouseButtons buttons)
{
    if (buttons != Qt::LeftButton)
        return;
    if (QWindow* handle = m_window->windowHandle())
        handle->startSystemMove();
}

void FrmWelcome::offerLink(const QString& title, const QString& question, platform::MsgIcon icon, const QString& url)
{
    // The question must not hide behind a top-most window; a failure to
    // open the link is ignored.
    base::SkipOnFailure([&] {
        setTopMost(false);
        if (m_rt.msgBox(title, question, icon, platform::MsgButtons::YesNo) == platform::MsgAnswer::No)
            setTopMost(true);
        else
            m_rt.shellOpen(url);
    });
}

void FrmWelcome::txtEmail_Click()
{
    const QString address = element(QStringLiteral("txtEmail"))->text();
    offerLink(m_rt.project.GameName, m_rt.strings(13) + u' ' + address + QStringLiteral(" ?"), platform::MsgIcon::Question,
              QStringLiteral("mailto:") + address);
}

void FrmWelcome::txtHomepage_Click()
{
    const QString site = element(QStringLiteral("txtHomepage"))->text();
    offerLink(m_rt.project.GameName, m_rt.strings(14) + u' ' + site + QStringLiteral(" ? ") + m_rt.strings(15),
              platform::MsgIcon::Question, site);
}

void FrmWelcome::imgLogo_Click()
{
    const QString site = QString::fromLatin1(kProductWebSite);
    offerLink(QStringLiteral("Storyloom"),
              QStringLiteral("For details and downloads, visit: ") + site
                  + QStringLiteral("\r\n\r\nDo you want to visit it now? (You must be connected to the Internet)"),
              platform::MsgIcon::Information, site);
}

void FrmWelcome::Form_Unload()
{
    base::SkipOnFailure([&] {
        m_rt.settings.setValue(QStringLiteral("Games"), m_rt.project.ProjectKey, QStringLiteral("ChangeResolution"),
                               QString::number(element(QStringLiteral("chkResolution"))->value()));
    });
    m_rt.EndProgram();
}

void FrmWelcome::show()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void FrmWelcome::hideWindow()
{
    m_window->hide();
}

} // namespace app
