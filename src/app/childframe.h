#pragma once

#include <QWidget>

#include <memory>

class CPlyforgeDoc;
class QScrollArea;

// One window of a project, shown as a tab: it hosts one view and shares the
// project's document with the project's other windows. Windows are found by
// caption; the tab's label is the caption, after the project's file name when
// the window shows it.
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
    void SetFileName(const QString& name);
    QString TabLabel() const;

    // The frame that hosts widget, or nullptr.
    static CChildFrame* Of(const QWidget* widget);

Q_SIGNALS:
    void TabLabelChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowViewHeight();

    QString m_fileName;
    std::shared_ptr<CPlyforgeDoc> m_doc;
    int m_templateIndex;
    QWidget* m_view = nullptr;
    QScrollArea* m_scroll = nullptr;
};
