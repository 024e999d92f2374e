#pragma once

#include "app/doctemplate.h"
#include "guibase/messagebox.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CChildFrame;
class CPlyforgeDoc;
class ProjectListener;
class MdiTabArea;

// The main window's management of project windows: opening a new project's main
// window, and opening or activating a window of the active project by caption.
class CMDIMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMDIMainFrame(QWidget* parent = nullptr);

    void SetTemplates(const std::array<CMultiDocTemplate, 4>& templates) { m_templates = templates; }
    MdiTabArea* TabArea() const { return m_tabArea; }

    CChildFrame* ActiveChild() const;
    // Where this window's projects and calculations show their messages.
    MessageSink& Messages() { return m_messages; }
    CPlyforgeDoc* ActiveDocument() const;

    // A new, empty project shown in a window of this template; it becomes active.
    QWidget* OpenDocumentFile(int template_index);

    // The view of the project's window of this template, activated; a window is made
    // from the template first when there is none and create is set.
    QWidget* OpenOrActivateChild(int template_index, const std::shared_ptr<CPlyforgeDoc>& doc, bool create,
                                 bool same_group);

protected:
    // Who hears what a project's document reports (the ribbon, the tree).
    virtual ProjectListener* Listener() { return nullptr; }
    // Called for each new project's document, before its first window is made.
    virtual void DocumentCreated(const std::shared_ptr<CPlyforgeDoc>& doc) { Q_UNUSED(doc); }
    // Called for each new window once its view is made, before it is shown.
    virtual void ChildCreated(CChildFrame* child) { Q_UNUSED(child); }
    CChildFrame* CreateChild(int template_index, const std::shared_ptr<CPlyforgeDoc>& doc, bool new_group);

    std::array<CMultiDocTemplate, 4> m_templates{};
    MdiTabArea* m_tabArea;
    WindowMessageSink m_messages{this};
};
