#include "run/display_settings.h"

#include "run/context.h"

namespace run {

int GetScreenWidth(Context& rt)
{
    return rt.display.mode().width();
}

int GetScreenHeight(Context& rt)
{
    return rt.display.mode().height();
}

bool IsAtGameResolution(Context& rt)
{
    Project& p = rt.project;
    p.SavedScreenWidth = GetScreenWidth(rt);
    p.SavedScreenHeight = GetScreenHeight(rt);
    const int w = p.SavedScreenWidth;
    const int h = p.SavedScreenHeight;
    return (p.Resolution == 0 && w == 640 && h == 480) || (p.Resolution == 1 && w == 800 && h == 600)
        || (p.Resolution == 2 && w == 1024 && h == 768);
}

bool IsSmallFonts(Context& rt)
{
    // The system font is 16 pixels high at 96 dots per inch.
    const double fontHeight = 16.0 * rt.display.logicalDpi() / 96.0;
    return !(fontHeight > 16.0 + 1e-9);
}

QString ResolutionLabelText(Context& rt)
{
    QString s = rt.strings(7);
    if (s.size() >= 2 && s.endsWith(u'.'))
        s.chop(1);
    if (s.size() >= 8 && (s.right(7).toLower() == QLatin1String("640x480") || s.right(7) == QLatin1String("640*480")))
        s.chop(7);
    if (s.size() >= 10 && (s.right(9).toLower() == QLatin1String("640 x 480") || s.right(9) == QLatin1String("640 * 480")))
        s.chop(9);
    while (s.endsWith(u' '))
        s.chop(1);
    switch (rt.project.Resolution) {
    case 0: s += QStringLiteral(" 640x480."); break;
    case 1: s += QStringLiteral(" 800x600."); break;
    case 2: s += QStringLiteral(" 1024x768."); break;
    default: break;
    }
    return s;
}

} // namespace run

namespace run {

void SwitchToGameResolution(Context& rt)
{
    if (IsAtGameResolution(rt))
        return;
    switch (rt.project.Resolution) {
    case 0: SetDisplayMode(rt, 640, 480); break;
    case 1: SetDisplayMode(rt, 800, 600); break;
    case 2: SetDisplayMode(rt, 1024, 768); break;
    default: return;
    }
    rt.clock().sleep(1000);
}

void SetDisplayMode(Context& rt, int width, int height)
{
    if (!rt.display.setMode(QSize(width, height)))
        rt.ShowErrorReport(QStringLiteral(" Unable to change display resolution. Mode not supported."));
}

void RestoreDisplayMode(Context& rt)
{
    const Project& p = rt.project;
    if (p.DisplayChangeMode == 1 && (GetScreenWidth(rt) != p.SavedScreenWidth || GetScreenHeight(rt) != p.SavedScreenHeight))
        SetDisplayMode(rt, p.SavedScreenWidth, p.SavedScreenHeight);
}

} // namespace run
