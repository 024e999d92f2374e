#pragma once

#include <QString>
#include <QVector>

class QApplication;

// The application looks, by their command IDs (205-210, 215-219): a Qt style and
// a palette each. 219 (Windows 7) is the look of a first start.
class AppLook {
public:
    struct Look {
        int id;
        const char* name;
        const char* label;
    };

    static constexpr int kWindows7 = 219;
    static const QVector<Look>& Looks();
    static bool IsKnown(int id);
    // Applies the look to the application; an unknown ID takes the Office 2007 blue one.
    static void Apply(int id);
};
