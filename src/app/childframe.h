#pragma once

#include <QWidget>

#include <memory>

class CPlyforgeDoc;

// One window of a project, shown as a tab: it hosts one view and shares the
// project's document with the project's other windows. Its caption is its tab's
// label, and windows are found by caption.
class CChildFrame : public QWidget {
    Q_OBJECT

public:
    CChildFrame(std::shared_ptr<CPlyforgeDoc> doc, int template_index, QWidget* parent = nullptr);
    ~CChildFrame() override;

    void SetView(QWidget* view);
    QWidget* View() const { return m_view; }
    CPlyforgeDoc* Document() const { return m_doc.get(); }
    const std::shared_ptr<CPlyforgeDoc>& SharedDocument() const { return m_doc; }
    int TemplateIndex() const { return m_templateIndex; }

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }

    // The frame that hosts widget, or nullptr.
    static CChildFrame* Of(const QWidget* widget);

private:
    std::shared_ptr<CPlyforgeDoc> m_doc;
    int m_templateIndex;
    QWidget* m_view = nullptr;
};
