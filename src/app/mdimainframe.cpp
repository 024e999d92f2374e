#include "app/mdimainframe.h"

#include "app/childframe.h"
#include "app/mditabarea.h"
#include "doc/plyforgedoc.h"
#include "guibase/messagebox.h"

CMDIMainFrame::CMDIMainFrame(QWidget* parent) : QMainWindow(parent), m_tabArea(new MdiTabArea(this))
{
    setCentralWidget(m_tabArea);
}

CChildFrame* CMDIMainFrame::ActiveChild() const { return m_tabArea->ActiveChild(); }

CPlyforgeDoc* CMDIMainFrame::ActiveDocument() const
{
    CChildFrame* child = ActiveChild();
    return child ? child->Document() : nullptr;
}

CChildFrame* CMDIMainFrame::CreateChild(int template_index, const std::shared_ptr<CPlyforgeDoc>& doc,
                                        bool new_group)
{
    auto* child = new CChildFrame(doc, template_index);
    const CMultiDocTemplate& docTemplate = m_templates.at(static_cast<size_t>(template_index));
    // The view sets its frame's caption as it is made.
    child->SetView(docTemplate.create_view ? docTemplate.create_view(child) : new QWidget);
    ChildCreated(child);
    m_tabArea->AddChild(child, new_group);
    return child;
}

QWidget* CMDIMainFrame::OpenDocumentFile(int template_index)
{
    auto doc = std::make_shared<CPlyforgeDoc>(&m_messages, Listener());
    doc->OnNewDocument();
    DocumentCreated(doc);
    CChildFrame* child = CreateChild(template_index, doc, false);
    m_tabArea->Activate(child);
    return child->View();
}

QWidget* CMDIMainFrame::OpenOrActivateChild(int template_index, const std::shared_ptr<CPlyforgeDoc>& doc,
                                            bool create, bool same_group)
{
    CChildFrame* found = nullptr;
    if (doc) {
        for (CChildFrame* child : m_tabArea->Children()) {
            if (child->Document() == doc.get() && child->TemplateIndex() == template_index) {
                found = child;
                break;
            }
        }
    }
    if (!found) {
        if (!create || !doc)
            return nullptr;
        found = CreateChild(template_index, doc, !same_group);
    }
    m_tabArea->Activate(found);
    return found->View();
}
