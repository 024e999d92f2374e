#pragma once

#include "mechanics/laminationtheory.h"

#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;

// The laminate's load case as the user enters it: force resultants Nx, Ny, Nxy
// (N/mm) and moment resultants Mx, My, Mxy (N mm/mm). An empty box is 0.
class LoadCaseBar : public QWidget {
    Q_OBJECT

public:
    explicit LoadCaseBar(QWidget* parent = nullptr);

    // Shows the project's load case; none leaves the boxes empty.
    void SetLoad(const std::optional<LaminateLoad>& load);
    QLineEdit* Edit(int k) const { return m_edits[static_cast<size_t>(k)]; }
    // Reads the boxes and emits LoadApplied; a box that is not a number gets a
    // message naming it, and nothing changes.
    bool Apply();

signals:
    void LoadApplied(const LaminateLoad& load);
    void LoadCleared();

private:
    std::array<QLineEdit*, 6> m_edits{};
};
