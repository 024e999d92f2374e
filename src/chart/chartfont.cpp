#include "chart/chartfont.h"

#include <QStringList>

#include <algorithm>
#include <cctype>

namespace OrvaneChart {

QFont ChartFont::Make(const std::string& fontFile, double size)
{
    std::string name = fontFile;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (const size_t dot = name.rfind('.'); dot != std::string::npos)
        name.erase(dot);

    QFont font;
    const bool serif = name.rfind("times", 0) == 0;
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    // Liberation has the metrics of the Windows fonts; DejaVu is on nearly every system.
    const QStringList families =
        serif ? QStringList{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif"),
                            QStringLiteral("serif")}
              : QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                            QStringLiteral("sans-serif")};
    font.setFamilies(families);
    // The Windows file names end in their style: "bd" bold, "i" italic, "bi" both.
    std::string style;
    if (serif)
        style = name.substr(5);
    else if (name.rfind("arial", 0) == 0)
        style = name.substr(5);
    font.setBold(style == "bd" || style == "bi" || style == "bdi");
    font.setItalic(style == "i" || style == "bi" || style == "bdi");
    font.setPointSizeF(size > 0 ? size : 8);
    return font;
}

} // namespace OrvaneChart
