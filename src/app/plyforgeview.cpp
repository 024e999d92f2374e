#include "app/plyforgeview.h"

#include "app/childframe.h"
#include "doc/plyforgedoc.h"
#include "controls/formundostack.h"
#include "forms/experimentdlg.h"
#include "forms/laminadlg.h"
#include "guibase/captions.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>

CPlyforgeView::CPlyforgeView(CChildFrame* frame, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_scroll(new QScrollArea(this)), m_picture(new QLabel(this)),
      m_pictureSource(":/images/mainview.png")
{
    setObjectName("PlyforgeView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_picture->setObjectName("MainViewPicture");
    m_picture->setAlignment(Qt::AlignCenter);
    // The picture shrinks with a small window instead of pushing the panes away.
    m_picture->setMinimumSize(1, 1);
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_picture->setStyleSheet("background: white;");
    layout->addWidget(m_picture);
    // Forms keep a readable size and scroll when the window is smaller.
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->hide();
    layout->addWidget(m_scroll);
    m_frame->SetCaption(captions::kTheoreticalLamina);
}

CPlyforgeView::~CPlyforgeView() = default;

CPlyforgeDoc* CPlyforgeView::ActiveDocument() const
{
    return m_documentProvider ? m_documentProvider() : m_frame->Document();
}

void CPlyforgeView::ShowForm(QWidget* form)
{
    if (m_pCurrentForm == form)
        return;
    if (m_pCurrentForm)
        m_pCurrentForm->hide();
    m_picture->hide();
    m_scroll->show();
    // The scroll area owns one widget at a time; the other form stays alive, hidden.
    if (QWidget* previous = m_scroll->takeWidget())
        previous->setParent(this), previous->hide();
    m_scroll->setWidget(form);
    form->show();
    m_pCurrentForm = form;
    Q_EMIT FormShown();
}

void CPlyforgeView::SetProjectStack(QUndoStack* stack)
{
    m_projectStack = stack;
    if (m_pLaminaDlg)
        m_pLaminaDlg->UndoStack()->Attach(stack, [this](int id) { ShowTheoryLamina(id, true), Q_EMIT RecordRevealed(true, id); });
    if (m_pExperimentDlg)
        m_pExperimentDlg->UndoStack()->Attach(
            stack, [this](int id) { ShowExperimentLamina(id, true), Q_EMIT RecordRevealed(false, id); });
}

void CPlyforgeView::CreateLaminaDlg()
{
    m_pLaminaDlg = new CLaminaDlg(this);
    m_pLaminaDlg->SetDocumentProvider([this] { return ActiveDocument(); });
    // Each step goes into the record at once: the project holds what the form shows.
    connect(m_pLaminaDlg->UndoStack(), &FormUndoStack::Changed, this, [this](int id) {
        if (CPlyforgeDoc* doc = ActiveDocument(); doc && doc->current_lamina_id == id)
            m_pLaminaDlg->SaveToLamina(id, CLaminaDlg::UnreadCells::Quiet);
        Q_EMIT RecordEdited(true, id);
    });
    SetProjectStack(m_projectStack);
}

void CPlyforgeView::CreateExperimentDlg()
{
    m_pExperimentDlg = new CExperimentDlg(this);
    m_pExperimentDlg->SetDocumentProvider([this] { return ActiveDocument(); });
    connect(m_pExperimentDlg->UndoStack(), &FormUndoStack::Changed, this, [this](int id) {
        if (CPlyforgeDoc* doc = ActiveDocument(); doc && doc->current_specimen_id == id)
            m_pExperimentDlg->SaveToSpecimen(id, CExperimentDlg::UnreadCells::Quiet);
        Q_EMIT RecordEdited(false, id);
    });
    SetProjectStack(m_projectStack);
}

QUndoStack* CPlyforgeView::UndoStack() const
{
    if (m_projectStack)
        return m_projectStack;
    if (m_pCurrentForm && m_pCurrentForm == m_pLaminaDlg)
        return m_pLaminaDlg->UndoStack()->Stack();
    if (m_pCurrentForm && m_pCurrentForm == m_pExperimentDlg)
        return m_pExperimentDlg->UndoStack()->Stack();
    return nullptr;
}

bool CPlyforgeView::SwitchRecord(QWidget* form, int& current, int id, QString (*caption)(int),
                                 const std::function<bool(int)>& commit)
{
    ShowForm(form);
    m_frame->SetCaption(caption(id));
    if (current > 0 && !commit(current)) {
        // The form still holds the record it could not commit: the caption says so.
        m_frame->SetCaption(caption(current));
        return false;
    }
    current = id;
    return true;
}

void CPlyforgeView::LoadTheoryLamina(const CPlyforgeDoc& doc, int id)
{
    Lamina* lamina = doc.laminate.FindLamina(id);
    m_pLaminaDlg->LoadConstituentRow(0, lamina);
    m_pLaminaDlg->LoadConstituentRow(1, lamina);
    m_pLaminaDlg->LoadLaminaRow(lamina);
    if (lamina)
        m_pLaminaDlg->SetScaleFactors(lamina->S_scale_factor, lamina->C_scale_factor,
                                      lamina->S_angle_scale_factor, lamina->C_angle_scale_factor);
    else
        m_pLaminaDlg->SetScaleFactors(0.01, 1.0, 0.01, 1.0);
}

void CPlyforgeView::CommitTheoryLamina(int id)
{
    const CPlyforgeDoc* doc = ActiveDocument();
    if (m_pLaminaDlg && doc && doc->current_lamina_id == id)
        m_pLaminaDlg->SaveToLamina(id, CLaminaDlg::UnreadCells::Quiet);
}

void CPlyforgeView::ReloadTheoryLamina(int id)
{
    const CPlyforgeDoc* doc = ActiveDocument();
    if (m_pLaminaDlg && doc && doc->current_lamina_id == id)
        LoadTheoryLamina(*doc, id);
}

int CPlyforgeView::ShowTheoryLamina(int id, bool quiet)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return -1;
    if (!m_pLaminaDlg)
        CreateLaminaDlg();
    const auto mode = quiet ? CLaminaDlg::UnreadCells::Quiet : CLaminaDlg::UnreadCells::Refuse;
    if (!SwitchRecord(m_pLaminaDlg, doc->current_lamina_id, id, captions::TheoryLaminaTitle,
                      [&](int shown) { return m_pLaminaDlg->SaveToLamina(shown, mode); }))
        return -1;
    LoadTheoryLamina(*doc, id);
    m_pLaminaDlg->UndoStack()->SetRecord(id);
    m_pLaminaDlg->UndoStack()->Forget(); // a form on its own undoes within the lamina shown
    return 1;
}

int CPlyforgeView::ShowExperimentLamina(int id, bool quiet)
{
    CPlyforgeDoc* doc = ActiveDocument();
    if (!doc)
        return -1;
    if (!m_pExperimentDlg)
        CreateExperimentDlg();
    const auto mode = quiet ? CExperimentDlg::UnreadCells::Quiet : CExperimentDlg::UnreadCells::Tell;
    if (!SwitchRecord(m_pExperimentDlg, doc->current_specimen_id, id, captions::ExperimentLaminaTitle,
                      [&](int shown) { return m_pExperimentDlg->SaveToSpecimen(shown, mode); }))
        return -1;
    m_pExperimentDlg->UndoStack()->SetRecord(id);
    if (ExperimentSpecimen* specimen = doc->FindSpecimen(id)) {
        m_pExperimentDlg->SetSpecimenSize(specimen->width, specimen->thickness);
        m_pExperimentDlg->LoadFromSpecimen(*specimen);
    } else {
        m_pExperimentDlg->OnInitialize();
    }
    return 1;
}

void CPlyforgeView::contextMenuEvent(QContextMenuEvent* event)
{
    // The "Edit" menu acts on the widget that has the keyboard focus.
    QMenu menu(this);
    if (QUndoStack* stack = UndoStack()) {
        QAction* undo = stack->createUndoAction(&menu, tr("&Undo"));
        undo->setShortcut(QKeySequence::Undo);
        QAction* redo = stack->createRedoAction(&menu, tr("&Redo"));
        redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
        menu.addActions({undo, redo});
        menu.addSeparator();
    }
    QWidget* target = QApplication::focusWidget();
    auto* edit = qobject_cast<QLineEdit*>(target);
    QAction* cut = menu.addAction(tr("Cu&t\tCtrl+X"));
    QAction* copy = menu.addAction(tr("&Copy\tCtrl+C"));
    QAction* paste = menu.addAction(tr("&Paste\tCtrl+V"));
    cut->setEnabled(edit != nullptr);
    QAction* chosen = menu.exec(event->globalPos());
    if (!chosen || !target || (chosen != cut && chosen != copy && chosen != paste))
        return;
    if (edit) {
        if (chosen == cut)
            edit->cut();
        else if (chosen == copy)
            edit->copy();
        else
            edit->paste();
        return;
    }
    // Grids and other widgets take the usual keys.
    const int key = chosen == copy ? Qt::Key_C : chosen == paste ? Qt::Key_V : Qt::Key_X;
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(target, &press);
}

void CPlyforgeView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Shown whole, never enlarged beyond its own size.
    const QSize room = m_picture->contentsRect().size();
    if (m_pictureSource.width() <= room.width() && m_pictureSource.height() <= room.height())
        m_picture->setPixmap(m_pictureSource);
    else
        m_picture->setPixmap(m_pictureSource.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void CPlyforgeView::paintEvent(QPaintEvent*)
{
    if (ShowsPicture()) {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
    }
}
