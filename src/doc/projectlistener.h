#pragma once

// What a document reports about its project to whoever shows it (the desktop
// window updates its ribbon and tree); other hosts need not listen.
class ProjectListener {
public:
    virtual ~ProjectListener() = default;
    // A fresh project: no laminae, no specimens, the offered ranges and factors.
    virtual void ProjectInitialised() = 0;
    // The number of theory laminae was set; a project holds no specimens then.
    virtual void LaminaCountChanged(int count) = 0;
};
