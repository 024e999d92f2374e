#pragma once

// What the document asks of the main frame when a project is set up: the ribbon's
// values and the menu tree. The desktop frame implements it; other hosts may
// ignore the calls.
class FrameLink {
public:
    virtual ~FrameLink() = default;
    // Count edit "count", compliance scale factor "0.01".
    virtual void SetTheoryRibbonValues(int count) = 0;
    // Count edit "count", elastic range "0.1" and "0.3".
    virtual void SetExperimentRibbonValues(int count) = 0;
    // The theory count edit shows count ("%d").
    virtual void ShowTheoryLaminaCount(int count) = 0;
    virtual void RebuildMenuTree(int theory_count, int experiment_count) = 0;
};
