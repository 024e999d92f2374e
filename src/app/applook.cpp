#include "app/applook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>

namespace {

// c1 mixed into c2 by share (0 to 1) of c1.
QColor Mix(QColor c1, QColor c2, double share)
{
    const auto mix = [share](int a, int b) { return static_cast<int>(a * share + b * (1 - share) + 0.5); };
    return QColor(mix(c1.red(), c2.red()), mix(c1.green(), c2.green()), mix(c1.blue(), c2.blue()));
}

// The disabled group from the active one: text about halfway to its background, so
// that a disabled button or label reads as one on a light look and on the dark one
// alike. Setting a role for every group (as the looks do) would give disabled text
// the enabled colour. The bevels soften towards the window.
void SetDisabledColors(QPalette& p)
{
    constexpr double kInk = 0.45;
    const auto set = [&p](QPalette::ColorRole role, QColor color) { p.setColor(QPalette::Disabled, role, color); };
    const QColor window = p.color(QPalette::Active, QPalette::Window);
    const QColor button = p.color(QPalette::Active, QPalette::Button);
    set(QPalette::WindowText, Mix(p.color(QPalette::Active, QPalette::WindowText), window, kInk));
    // A disabled edit has the window's colour for its paper, as Fusion's own palette gives it.
    set(QPalette::Base, window);
    set(QPalette::Text, Mix(p.color(QPalette::Active, QPalette::Text), window, kInk));
    set(QPalette::ButtonText, Mix(p.color(QPalette::Active, QPalette::ButtonText), button, kInk));
    set(QPalette::PlaceholderText, Mix(p.color(QPalette::Active, QPalette::PlaceholderText), window, kInk));
    set(QPalette::Button, button);
    set(QPalette::Light, Mix(p.color(QPalette::Active, QPalette::Light), window, 0.5));
    set(QPalette::Midlight, Mix(p.color(QPalette::Active, QPalette::Midlight), window, 0.5));
    // A selection in a disabled list: grey, its text still readable on it.
    const QColor highlight = Mix(p.color(QPalette::Active, QPalette::Mid), window, 0.6);
    set(QPalette::Highlight, highlight);
    set(QPalette::HighlightedText, Mix(p.color(QPalette::Active, QPalette::WindowText), highlight, kInk + 0.2));
}

QPalette LightPalette(QColor window, QColor base, QColor highlight, QColor button)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, base.darker(104));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(QPalette::ToolTipText, Qt::black);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, window.lighter(140));
    p.setColor(QPalette::Midlight, window.lighter(115));
    p.setColor(QPalette::Mid, window.darker(130));
    p.setColor(QPalette::Dark, window.darker(200));
    p.setColor(QPalette::Shadow, window.darker(300));
    p.setColor(QPalette::PlaceholderText, QColor(120, 120, 120));
    return p;
}

QPalette DarkPalette()
{
    QPalette p = LightPalette(QColor(45, 45, 48), QColor(30, 30, 30), QColor(0, 122, 204), QColor(60, 60, 64));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, QColor(235, 235, 235));
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, QColor(235, 235, 235));
    p.setColor(QPalette::Light, QColor(80, 80, 85));
    p.setColor(QPalette::Mid, QColor(90, 90, 95));
    p.setColor(QPalette::Dark, QColor(160, 160, 165));
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    return p;
}

QPalette PaletteFor(int id)
{
    switch (id) {
    case 205: return LightPalette(QColor(212, 208, 200), Qt::white, QColor(10, 36, 106), QColor(212, 208, 200));
    case 206: return LightPalette(QColor(219, 216, 209), Qt::white, QColor(49, 106, 197), QColor(238, 238, 238));
    case 207: return LightPalette(QColor(236, 233, 216), Qt::white, QColor(49, 106, 197), QColor(244, 243, 238));
    case 208: return LightPalette(QColor(195, 218, 249), Qt::white, QColor(49, 106, 197), QColor(221, 236, 254));
    case 209: return LightPalette(QColor(236, 233, 216), Qt::white, QColor(51, 94, 168), QColor(246, 245, 240));
    case 210: return LightPalette(QColor(233, 236, 240), Qt::white, QColor(51, 153, 255), QColor(245, 246, 248));
    case 215: return LightPalette(QColor(191, 219, 255), Qt::white, QColor(51, 102, 204), QColor(221, 235, 255));
    case 216: return DarkPalette();
    case 217: return LightPalette(QColor(221, 225, 231), Qt::white, QColor(83, 104, 140), QColor(237, 239, 243));
    case 218: return LightPalette(QColor(196, 214, 227), Qt::white, QColor(43, 111, 168), QColor(222, 233, 241));
    case 219: return LightPalette(QColor(240, 240, 240), Qt::white, QColor(51, 153, 255), QColor(250, 250, 250));
    default: return LightPalette(QColor(191, 219, 255), Qt::white, QColor(51, 102, 204), QColor(221, 235, 255));
    }
}

} // namespace

const QVector<AppLook::Look>& AppLook::Looks()
{
    static const QVector<Look> looks = {
        {205, "ID_VIEW_APPLOOK_WIN_2000", "Windows &2000"},
        {206, "ID_VIEW_APPLOOK_OFF_XP", "Office &XP"},
        {207, "ID_VIEW_APPLOOK_WIN_XP", "&Windows XP"},
        {208, "ID_VIEW_APPLOOK_OFF_2003", "Office 200&3"},
        {209, "ID_VIEW_APPLOOK_VS_2005", "Visual Studio 200&5"},
        {210, "ID_VIEW_APPLOOK_VS_2008", "Visual Studio 200&8"},
        {215, "ID_VIEW_APPLOOK_OFF_2007_BLUE", "Office 2007 (&Blue Style)"},
        {216, "ID_VIEW_APPLOOK_OFF_2007_BLACK", "Office 2007 (B&lack Style)"},
        {217, "ID_VIEW_APPLOOK_OFF_2007_SILVER", "Office 2007 (&Silver Style)"},
        {218, "ID_VIEW_APPLOOK_OFF_2007_AQUA", "Office 2007 (&Aqua Style)"},
        {219, "ID_VIEW_APPLOOK_WINDOWS_7", "Win&dows 7"},
    };
    return looks;
}

bool AppLook::IsKnown(int id)
{
    for (const Look& look : Looks()) {
        if (look.id == id)
            return true;
    }
    return false;
}

void AppLook::Apply(int id)
{
    if (qApp->style()->name().compare("fusion", Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStringLiteral("Fusion"));
    QPalette palette = PaletteFor(id);
    SetDisabledColors(palette);
    QApplication::setPalette(palette);
}
