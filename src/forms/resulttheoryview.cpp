#include "forms/resulttheoryview.h"

#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "forms/filedialogs.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "guibase/savedfile.h"
#include "theory/abaquscard.h"
#include "forms/laminatetext.h"
#include "forms/envelopechart.h"
#include "forms/loadcasebar.h"
#include "forms/strengthtable.h"
#include "theory/strengthanalysis.h"
#include "theory/fesection.h"
#include "theory/laminateanalysis.h"
#include "util/formattext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

QString G(double value) { return QString::fromStdString(FormatText("%g", value)); }

CListCtrlReport* MakeList(const QStringList& titles, const char* name)
{
    auto* list = new CListCtrlReport;
    list->setObjectName(name);
    for (const QString& title : titles)
        list->InsertColumn(title, 100);
    list->Header()->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    list->SizeLastColumnToFill();
    return list;
}

} // namespace

CResultTheoryView::CResultTheoryView(QWidget* parent)
    : QWidget(parent), m_laminaeList(MakeList({"No.", "Fiber", "Matrix", "FAW", "Thickness", "Angle"}, "LaminaeList")),
      m_homogenizationList(MakeList({"Properties", "Unit", "Value"}, "HomogenizationList")),
      m_abaqusList(MakeList({"Properties", "Unit", "Value"}, "AbaqusList")), m_cardBox(new QPlainTextEdit),
      m_laminateBox(new QPlainTextEdit), m_loadBar(new LoadCaseBar), m_stateBanner(new ResultStateBanner),
      m_strengthList(MakeList({"Ply", "Maximum stress", "Maximum strain", "Tsai-Hill", "Tsai-Wu", "Hashin", "Puck"},
                              "StrengthList")),
      m_strengthNote(new QLabel), m_envelope(new CEnvelopeChart)
{
    setObjectName("ResultTheoryView");
    // The window that hosts the view takes this caption.
    setWindowTitle(captions::kTheoryResult);
    m_cardBox->setObjectName("CardBox");
    m_cardBox->setReadOnly(true);
    m_cardBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_cardBox->setFixedHeight(90);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    m_cardBox->setFont(mono);
    m_laminateBox->setObjectName("LaminateBox");
    m_laminateBox->setReadOnly(true);
    m_laminateBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_laminateBox->setFont(mono);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 10, 12, 10);
    outer->setSpacing(6);
    outer->addWidget(m_stateBanner, 0, Qt::AlignLeft);
    auto* layout = new QGridLayout;
    outer->addLayout(layout, 1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(6);
    layout->setHorizontalSpacing(12);
    layout->addWidget(new QLabel(tr("Information for laminate")), 0, 0, 1, 2);
    layout->addWidget(m_laminaeList, 1, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Material properties for laminate(Homogenization)")), 2, 0);
    layout->addWidget(new QLabel(tr("Translat for ABAQUS")), 2, 1);
    layout->addWidget(m_homogenizationList, 3, 0);
    layout->addWidget(m_abaqusList, 3, 1);
    auto* cardRow = new QHBoxLayout;
    cardRow->addWidget(new QLabel(tr("Material properties card")));
    cardRow->addStretch();
    auto* exportCard = new QPushButton(tr("Export card..."));
    exportCard->setObjectName("ExportCardButton");
    exportCard->setAutoDefault(false);
    connect(exportCard, &QPushButton::clicked, this, &CResultTheoryView::OnExportCard);
    cardRow->addWidget(exportCard);
    auto* exportSection = new QPushButton(tr("Export FE section..."));
    exportSection->setObjectName("ExportFeSectionButton");
    exportSection->setAutoDefault(false);
    exportSection->setToolTip(tr("The laminate as a composite shell section for ABAQUS or CalculiX"));
    connect(exportSection, &QPushButton::clicked, this, &CResultTheoryView::OnExportFeSection);
    cardRow->addWidget(exportSection);
    layout->addLayout(cardRow, 4, 0, 1, 2);
    layout->addWidget(m_cardBox, 5, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Laminate (classical lamination theory)")), 6, 0, 1, 2);
    layout->addWidget(m_loadBar, 7, 0, 1, 2);
    layout->addWidget(m_laminateBox, 8, 0, 1, 2);
    layout->addWidget(new QLabel(tr("Strength under the load case (strength ratio R and failure mode)")), 9, 0, 1, 2);
    m_strengthNote->setObjectName("StrengthNote");
    m_strengthNote->setWordWrap(true);
    m_envelope->SetInputFiles([this] { return InputFiles(); });
    // Room for a ratio and the longest mode name, "matrix_compression".
    for (int column = 1; column < 7; ++column)
        m_strengthList->setColumnWidth(column, 170);
    m_strengthList->setColumnWidth(0, 110);
    layout->addWidget(m_strengthNote, 10, 0, 1, 2);
    layout->addWidget(m_strengthList, 11, 0);
    layout->addWidget(m_envelope, 11, 1);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(8, 2); // the laminate's matrices need the room more than the laminae list
    layout->setRowStretch(11, 2);
    const int rows = m_homogenizationList->verticalHeader()->defaultSectionSize();
    const int listHeight = m_homogenizationList->horizontalHeader()->height() + 7 * rows + 6;
    m_homogenizationList->setFixedHeight(listHeight);
    m_abaqusList->setFixedHeight(listHeight);
    m_laminaeList->setMinimumHeight(m_laminaeList->horizontalHeader()->height() + 4 * rows + 6);
    m_laminateBox->setMinimumHeight(8 * m_laminateBox->fontMetrics().lineSpacing());
    InitLists();
}

void CResultTheoryView::InitLists() { FillLabels(); }

void CResultTheoryView::FillLabels()
{
    for (const char* label : {"Ex", "Ey", "Gxy", "NUxy", "NUyx", "ETAxyx", "ETAxyy"})
        m_homogenizationList->AppendRowText(label, 0);
    for (int row = 0; row < 3; ++row)
        SetValue(m_homogenizationList, row, 1, "GPa");
    for (const char* label : {"E1", "E2", "NU12", "G12", "G13", "G23"})
        m_abaqusList->AppendRowText(label, 0);
    for (int row : {0, 1, 3, 4, 5})
        SetValue(m_abaqusList, row, 1, "MPa");
}

void CResultTheoryView::SetValue(CListCtrlReport* list, int row, int column, const QString& text)
{
    if (list->GetItemCount() <= row) {
        ShowMessageBox(this, QStringLiteral("There is no data."));
        return;
    }
    list->SetItemText(row, column, text);
}

void CResultTheoryView::SetProject(ProjectDocument* project)
{
    m_project = project;
    connect(project, &ProjectDocument::Changed, this, [this](const ProjectChange& change) {
        // A load case changes the ply stresses at once: they follow from the stored results.
        const ProjectDocument::ResultState state = m_project->Results(ProjectSide::Theory);
        if (change.kind == ProjectChange::Kind::Settings && change.side == ProjectSide::Theory &&
            state != ProjectDocument::ResultState::NotCalculated)
            Refresh(m_project->Doc());
        ShowResultState(state);
    });
    ShowResultState(project->Results(ProjectSide::Theory));
}

void CResultTheoryView::ShowResultState(ProjectDocument::ResultState state) { m_stateBanner->ShowState(state); }

void CResultTheoryView::Refresh(const CPlyforgeDoc* doc)
{
    if (!doc)
        return;
    m_laminaeList->DeleteAllItems();
    m_homogenizationList->DeleteAllItems();
    m_abaqusList->DeleteAllItems();
    FillLabels();
    m_cardText.clear();
    m_sectionText.clear();
    m_cardBox->setPlainText(m_cardText);
    m_laminateBox->clear();
    m_loadBar->SetLoad(doc->load_case);
    const Laminate& laminate = doc->laminate;
    StrengthTable::Fill(m_strengthList, nullptr);
    m_envelope->Show(nullptr, nullptr);
    if (laminate.laminae.empty())
        return;
    for (const auto& lamina : laminate.laminae) {
        // A ply given by its constants has no constituents and no fibre fraction to show.
        const bool ply = lamina->source == LaminaSource::PlyConstants;
        m_laminaeList->AppendRow({QString::number(lamina->id),
                                  ply ? tr("(ply constants)") : QString::fromStdString(lamina->fiber.name),
                                  ply ? QString() : QString::fromStdString(lamina->matrix.name),
                                  ply ? QString() : G(lamina->FAW), G(lamina->thickness), G(lamina->angle)});
    }
    const QStringList properties = LaminateText::HomogenizedValues(laminate);
    for (int row = 0; row < properties.size(); ++row)
        SetValue(m_homogenizationList, row, 2, properties[row]);
    const double abaqus[6] = {laminate.E1, laminate.E2, laminate.NU12, laminate.G12, laminate.G13, laminate.G23};
    for (int row = 0; row < 6; ++row)
        SetValue(m_abaqusList, row, 2, G(abaqus[row]));
    m_cardText = QString::fromStdString(MakeAbaqusCard(laminate, "\r\n"));
    m_sectionText = QString::fromStdString(FeSection(laminate));
    m_cardBox->setPlainText(m_cardText);
    LaminateAnalysis analysis;
    if (analysis.Run(laminate, doc->load_case))
        m_laminateBox->setPlainText(LaminateText(analysis).Text());
    else // never an older stack's matrices under this one's card
        m_laminateBox->setPlainText(QString::fromStdString(CalculationChecks::SingularStiffnessCause(*doc)));
    ShowStrength(*doc);
}

void CResultTheoryView::ShowStrength(const CPlyforgeDoc& doc)
{
    constexpr int kEnvelopeDirections = 360;
    const bool assessed = doc.laminate.AnyAssessed();
    StrengthAnalysis analysis;
    const bool shown = assessed && doc.load_case &&
                       analysis.Run(doc.laminate, *doc.load_case, doc.failure,
                                    {kFailureCriteria.begin(), kFailureCriteria.end()}, kEnvelopeDirections);
    StrengthTable::Fill(m_strengthList, shown ? &analysis : nullptr);
    m_envelope->Show(shown ? &analysis : nullptr, doc.load_case ? &*doc.load_case : nullptr);
    if (shown)
        m_strengthNote->setText(tr("The lowest ratio of each criterion is marked: its first ply to fail. A ply's "
                                   "ratio is the lesser of its two faces'."));
    else if (!assessed)
        m_strengthNote->setText(tr("No lamina has strengths: give a lamina its strengths (Xt, Xc, Yt, Yc, S) in its "
                                   "form to assess it."));
    else if (!doc.load_case)
        m_strengthNote->setText(tr("Enter a load case above to assess the plies' strength."));
    else
        m_strengthNote->setText(tr("The laminate's stiffness cannot be inverted: no strength can be assessed."));
}

QString CResultTheoryView::StrengthNote() const { return m_strengthNote->text(); }

bool CResultTheoryView::ExportCard(const QString& path)
{
    if (m_cardText.isEmpty()) {
        ShowMessageBox(this, tr("There is no material card yet: press \"Calculate\" first."));
        return false;
    }
    // An input file of this platform: the card's lines end in LF.
    QString text = m_cardText;
    text.replace("\r\n", "\n");
    return WriteInputFile(path, text, tr("The card"));
}

bool CResultTheoryView::ExportFeSection(const QString& path)
{
    if (m_sectionText.isEmpty()) {
        ShowMessageBox(this, tr("There is no laminate yet: press \"Calculate\" first."));
        return false;
    }
    return WriteInputFile(path, m_sectionText, tr("The FE section"));
}

bool CResultTheoryView::WriteInputFile(const QString& path, const QString& text, const QString& what)
{
    if (const QString reason = WriteSavedFile(path, text.toUtf8(), InputFiles()); !reason.isEmpty()) {
        ShowMessageBox(this, tr("%1 could not be written to %2: %3").arg(what, path, reason));
        return false;
    }
    return true;
}

void CResultTheoryView::OnExportCard()
{
    const QString path = FileDialogs::AskSavePath(this, tr("Export Material Card"), "Composite.inp",
                                                      tr("ABAQUS input (*.inp);;All files (*)"));
    if (!path.isEmpty() && ExportCard(path))
        FileDialogs::RememberFolderOf(path);
}

void CResultTheoryView::OnExportFeSection()
{
    const QString path = FileDialogs::AskSavePath(this, tr("Export FE Section"), "LaminateSection.inp",
                                                  tr("ABAQUS or CalculiX input (*.inp);;All files (*)"));
    if (!path.isEmpty() && ExportFeSection(path))
        FileDialogs::RememberFolderOf(path);
}
