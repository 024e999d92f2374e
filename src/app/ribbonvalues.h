#pragma once

#include "model/projectdocument.h"

#include <QObject>
#include <QString>

#include <optional>

class CRibbonBar;

// The project's values on the ribbon (the scale factor, the elastic range, the
// modulus method): shown from the project as it changes, and stored into it, each
// changed one an undo step, as they are typed or chosen.
class RibbonValues : public QObject {
    Q_OBJECT

public:
    RibbonValues(CRibbonBar& ribbon, ProjectDocument& project, QObject* parent);

    // Stores the values of side that are numbers. With tell, a value of side that is
    // not a number stops it: false after "숫자를 입력하세요" naming the edit, and
    // nothing of that side is stored.
    bool Commit(ProjectSide side, bool tell);
    // The number in a ribbon edit by the number rule; without one, the message naming it.
    std::optional<double> Read(int edit, QString* problem) const;

private:
    // Only the side that changed: the other side's boxes may hold text being typed.
    void Show(bool theory, bool experiment);

    CRibbonBar& m_ribbon;
    ProjectDocument& m_project;
};
