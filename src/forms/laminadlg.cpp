#include "forms/laminadlg.h"

#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "controls/undocommands.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "doc/projectschema.h"
#include "forms/formtext.h"
#include "forms/plyinputs.h"
#include "guibase/captions.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <limits>
#include <string>

namespace {


// The position in kLaminaInputNames of the first input of the ply row; those before
// it are the fibre's three, then the matrix's.
constexpr int kFirstPlyInput = 6;

void SetUpGrid(CListCtrlReport* grid, const QStringList& titles, const QList<int>& widths, int rows)
{
    for (int i = 0; i < titles.size(); ++i)
        grid->InsertColumn(titles[i], widths[i]);
    grid->Header()->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    grid->SizeLastColumnToFill();
    // Tall enough for its fixed rows and no more.
    const int height = grid->horizontalHeader()->height() + rows * grid->verticalHeader()->defaultSectionSize() +
                       2 * grid->frameWidth() + 2;
    grid->setFixedHeight(height);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

} // namespace

CLaminaDlg::CLaminaDlg(QWidget* parent)
    : QWidget(parent), m_constituentGrid(new CListCtrlReport), m_laminaGrid(new CListCtrlReport),
      m_plyInputs(new CPlyInputs(&m_undo, this))
{
    setObjectName("LaminaDlg");
    m_constituentGrid->setObjectName("ConstituentGrid");
    m_laminaGrid->setObjectName("LaminaGrid");
    InitControls();
}

void CLaminaDlg::InitControls()
{
    auto* material = new QGroupBox(tr("Material Properties"));
    auto* materialLayout = new QVBoxLayout(material);
    materialLayout->setContentsMargins(24, 12, 24, 12);
    materialLayout->setSpacing(14);
    SetUpGrid(m_constituentGrid, {"", tr("Name"), tr("Density(mg/m3)"), tr("Young's Modulus(GPa)"), tr("Possion's Ratio")},
              {60, 130, 130, 150, 120}, 2);
    m_constituentGrid->setMinimumWidth(600);
    SetUpGrid(m_laminaGrid, {tr("FAW(%)"), tr("Thickness(mm)"), tr("Angle(degree)"), tr("xi")}, {110, 130, 130, 110}, 1);
    m_laminaGrid->setMinimumWidth(500);
    m_constituentGrid->AppendRowText("Fiber", 0);
    m_constituentGrid->AppendRowText("Matrix", 0);
    LoadConstituentRow(0, nullptr);
    LoadConstituentRow(1, nullptr);
    m_laminaGrid->AppendRow({"0.3", "1.0", "45.0", "1.0"});
    LoadLaminaRow(nullptr);
    materialLayout->addWidget(m_plyInputs->SourceChoice(), 0, Qt::AlignLeft);
    materialLayout->addWidget(m_constituentGrid, 0, Qt::AlignLeft);
    materialLayout->addWidget(m_plyInputs->PlyGrid(), 0, Qt::AlignLeft);
    materialLayout->addWidget(m_laminaGrid, 0, Qt::AlignLeft);
    auto* strengths = new QGroupBox(tr("Strengths (MPa)"));
    auto* strengthLayout = new QVBoxLayout(strengths);
    strengthLayout->setContentsMargins(24, 12, 24, 12);
    strengthLayout->addWidget(m_plyInputs->StrengthGrid(), 0, Qt::AlignLeft);
    strengthLayout->addWidget(m_plyInputs->SourceNote());
    auto* blank = new QLabel(tr("Leave them blank for a lamina that is not assessed for failure. ST, the transverse "
                                "shear strength, is Yc/2 when blank."));
    blank->setWordWrap(true);
    strengthLayout->addWidget(blank);

    auto makeFactorGroup = [this](const QString& title, int first) {
        auto* group = new QGroupBox(title);
        auto* grid = new QGridLayout(group);
        grid->setContentsMargins(18, 12, 18, 12);
        grid->setHorizontalSpacing(16);
        const char* labels[2] = {"S Matrix Scale Factor", "C Matrix Scale Factor"};
        for (int i = 0; i < 2; ++i) {
            auto* edit = new QLineEdit;
            edit->setObjectName(QString("ScaleFactor%1").arg(first + i));
            edit->setFixedWidth(90);
            m_scaleEdits[first + i] = edit;
            grid->addWidget(new QLabel(tr(labels[i])), i, 0);
            grid->addWidget(edit, i, 1);
        }
        return group;
    };
    auto* factors = new QHBoxLayout;
    factors->setSpacing(24);
    factors->addWidget(makeFactorGroup(tr("Stiffness Matrix"), 0));
    factors->addWidget(makeFactorGroup(tr("Stiffness Matrix with Angle"), 2));
    factors->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addWidget(material, 0, Qt::AlignLeft);
    layout->addWidget(strengths, 0, Qt::AlignLeft);
    layout->addLayout(factors);
    layout->addStretch();
    SetScaleFactors(m_sScaleFactor, m_cScaleFactor, m_sAngleScaleFactor, m_cAngleScaleFactor);

    // The number cells are marked while they hold no number; a decimal comma reads
    // as in the readings grid.
    const auto numbersFrom = [](int first) {
        return [first](int, int column, const std::string& text) {
            double value = 0;
            return column < first || ParseReadingCell(text, value) ? QString() : tr("Not a number.");
        };
    };
    // The "Fiber" and "Matrix" labels are never written, and the rows are fixed.
    m_constituentGrid->SetEditable([](int, int column) { return column != 0; });
    m_laminaGrid->SetEditable([](int, int) { return true; });
    m_constituentGrid->SetFixedRows(true);
    m_constituentGrid->SetMaxTextLength(1, static_cast<int>(ProjectSchema::kMaxNameLength));
    m_laminaGrid->SetFixedRows(true);
    m_constituentGrid->Model()->SetCellCheck(numbersFrom(2));
    m_laminaGrid->Model()->SetCellCheck(numbersFrom(0));
    connect(m_constituentGrid, &CListCtrlReport::CellsEdited, this, &CLaminaDlg::Modified);
    connect(m_laminaGrid, &CListCtrlReport::CellsEdited, this, &CLaminaDlg::Modified);
    // Every typed cell, paste and factor is an undo step.
    for (CListCtrlReport* grid : {m_constituentGrid, m_laminaGrid}) {
        grid->SetUndoStack(&m_undo);
        PassUndoKeys(grid);
    }
    for (QLineEdit* edit : m_scaleEdits)
        TrackEdit(edit, &m_undo);
    connect(&m_undo, &FormUndoStack::Changed, this, &CLaminaDlg::Modified);
    for (QLineEdit* edit : m_scaleEdits)
        connect(edit, &QLineEdit::textEdited, this, &CLaminaDlg::Modified);
    connect(m_plyInputs, &CPlyInputs::Modified, this, &CLaminaDlg::Modified);
    connect(m_plyInputs, &CPlyInputs::SourceChanged, this, &CLaminaDlg::ShowSourceRows);
    ShowSourceRows();
    connect(m_constituentGrid, &CListCtrlReport::GridClicked, this, &CLaminaDlg::OnClickConstituentGrid);
    connect(m_laminaGrid, &CListCtrlReport::GridClicked, this, &CLaminaDlg::OnClickLaminaGrid);
}

void CLaminaDlg::ShowSourceRows()
{
    // FAW and xi belong to the micromechanics, which a ply given by its constants skips.
    const bool ply = m_plyInputs->FromPlyConstants();
    m_constituentGrid->setVisible(!ply);
    m_plyInputs->PlyGrid()->setVisible(ply);
    m_laminaGrid->setColumnHidden(0, ply);
    m_laminaGrid->setColumnHidden(3, ply);
}

void CLaminaDlg::OnClickConstituentGrid(const QPoint& pos)
{
    m_constituentGrid->EndCellEdit();
    if (m_constituentGrid->selectionModel()->hasSelection())
        m_constituentGrid->BeginCellEdit(pos);
}

void CLaminaDlg::OnClickLaminaGrid(const QPoint& pos)
{
    m_laminaGrid->EndCellEdit();
    if (m_laminaGrid->selectionModel()->hasSelection())
        m_laminaGrid->BeginCellEdit(pos);
}

void CLaminaDlg::mousePressEvent(QMouseEvent* event)
{
    m_constituentGrid->EndCellEdit();
    m_laminaGrid->EndCellEdit();
    QWidget::mousePressEvent(event);
}

void CLaminaDlg::SetScaleFactors(double s, double c, double s_angle, double c_angle)
{
    m_sScaleFactor = s;
    m_cScaleFactor = c;
    m_sAngleScaleFactor = s_angle;
    m_cAngleScaleFactor = c_angle;
    const double values[4] = {s, c, s_angle, c_angle};
    for (int i = 0; i < 4; ++i)
        SetEditText(m_scaleEdits[i], FormNumberText(values[i]));
}

QString CLaminaDlg::ReadScaleFactors(int id)
{
    double* members[4] = {&m_sScaleFactor, &m_cScaleFactor, &m_sAngleScaleFactor, &m_cAngleScaleFactor};
    const char* names[4] = {"S Matrix Scale Factor", "C Matrix Scale Factor", "S Matrix Scale Factor with Angle",
                            "C Matrix Scale Factor with Angle"};
    for (int i = 0; i < 4; ++i) {
        double value = 0;
        const std::string text(TrimWhitespace(m_scaleEdits[i]->text().toStdString()));
        if (text.empty() || !ParseNumber(text, value))
            return tr("Please enter a number.") + Place(id, names[i], m_scaleEdits[i]->text());
        *members[i] = value;
    }
    return {};
}

// The second line of a message: "Theoretical Lamina #3, Thickness(mm): "thick"".
QString CLaminaDlg::Place(int id, const QString& field, const QString& text)
{
    return QString("\n%1, %2: \"%3\"").arg(captions::TheoryLaminaTitle(id), field, text);
}

QString CLaminaDlg::UnreadMessage(int id, const UnreadField& cell) const
{
    const int index = LaminaInputIndex(cell.field);
    const QString text = QString::fromStdString(cell.text);
    if (index >= kFirstStrengthInput)
        return QString::fromUtf8(msg::kEnterNumber) +
               Place(id, tr("Strengths") + ", " + CPlyInputs::StrengthTitles()[index - kFirstStrengthInput], text);
    if (index >= kFirstPlyConstantInput)
        return QString::fromUtf8(msg::kEnterNumber) +
               Place(id, tr("Ply") + ", " + CPlyInputs::PlyTitles()[index - kFirstPlyConstantInput], text);
    if (index >= kFirstPlyInput) {
        const int column = index - kFirstPlyInput;
        return QString::fromUtf8(msg::kLaminaFieldNumber[column]) + Place(id, m_laminaGrid->Model()->ColumnTitle(column), text);
    }
    const int row = index / 3;
    const int column = 2 + index % 3;
    const QString field =
        m_constituentGrid->GetItemText(row, 0) + ", " + m_constituentGrid->Model()->ColumnTitle(column);
    return QString::fromUtf8(msg::kEnterNumber) + Place(id, field, text);
}

bool CLaminaDlg::ReadConstituentRow(int row, ConstituentMaterial& material, std::vector<UnreadField>& unread)
{
    if (row > 1)
        return false;
    m_constituentGrid->EndCellEdit();
    material.name = m_constituentGrid->GetItemText(row, 1).toStdString();
    double* fields[3] = {&material.density, &material.youngs_modulus, &material.poissons_ratio};
    const size_t before = unread.size();
    for (int column = 2; column <= 4; ++column) {
        std::string text = m_constituentGrid->GetItemText(row, column).toStdString();
        if (!ParseReadingCell(text, *fields[column - 2])) {
            // Kept as typed; the input itself is no number until it is corrected.
            *fields[column - 2] = std::numeric_limits<double>::quiet_NaN();
            unread.push_back({kLaminaInputNames[row * 3 + column - 2], std::move(text)});
        }
    }
    return unread.size() == before;
}

bool CLaminaDlg::ReadLaminaRow(Lamina& lamina, std::vector<UnreadField>& unread)
{
    m_laminaGrid->EndCellEdit();
    double* fields[4] = {&lamina.FAW, &lamina.thickness, &lamina.angle, &lamina.xi};
    const size_t before = unread.size();
    for (int column = 0; column < 4; ++column) {
        std::string text = m_laminaGrid->GetItemText(0, column).toStdString();
        if (!ParseReadingCell(text, *fields[column])) {
            *fields[column] = std::numeric_limits<double>::quiet_NaN();
            unread.push_back({kLaminaInputNames[kFirstPlyInput + column], std::move(text)});
        }
    }
    return unread.size() == before;
}

bool CLaminaDlg::SaveToLamina(int id, UnreadCells unread)
{
    CPlyforgeDoc* doc = m_document ? m_document() : nullptr;
    if (!doc)
        return false;
    // A factor that is not a number stops the commit before anything is stored.
    const QString problem = ReadScaleFactors(id);
    if (!problem.isEmpty() && unread != UnreadCells::Quiet) {
        ShowMessageBox(this, problem);
        return false;
    }
    Lamina& lamina = doc->laminate.FindOrCreateLamina(id);
    std::vector<UnreadField> cells;
    ReadConstituentRow(0, lamina.fiber, cells);
    ReadConstituentRow(1, lamina.matrix, cells);
    ReadLaminaRow(lamina, cells);
    m_plyInputs->Read(lamina, cells);
    lamina.unread_cells = std::move(cells);
    if (!lamina.unread_cells.empty() && unread == UnreadCells::Refuse) {
        ShowMessageBox(this, UnreadMessage(id, lamina.unread_cells.front()));
        return false;
    }
    if (!problem.isEmpty())
        return true; // quiet: the record keeps its own factors
    lamina.S_scale_factor = m_sScaleFactor;
    lamina.C_scale_factor = m_cScaleFactor;
    lamina.S_angle_scale_factor = m_sAngleScaleFactor;
    lamina.C_angle_scale_factor = m_cAngleScaleFactor;
    return true;
}

void CLaminaDlg::LoadConstituentRow(int row, const Lamina* lamina)
{
    if (row > 1)
        return;
    m_constituentGrid->EndCellEdit();
    if (!lamina) {
        m_constituentGrid->SetItemText(row, 1, tr("untitle"));
        for (int column = 2; column <= 4; ++column)
            m_constituentGrid->SetItemText(row, column, "0.0");
        return;
    }
    const ConstituentMaterial& material = row == 0 ? lamina->fiber : lamina->matrix;
    m_constituentGrid->SetItemText(row, 1, QString::fromStdString(material.name));
    m_constituentGrid->SetItemText(row, 2, FormNumberText(material.density));
    m_constituentGrid->SetItemText(row, 3, FormNumberText(material.youngs_modulus));
    m_constituentGrid->SetItemText(row, 4, FormNumberText(material.poissons_ratio));
    for (const UnreadField& cell : lamina->unread_cells) {
        const int index = LaminaInputIndex(cell.field);
        if (index >= 0 && index < kFirstPlyInput && index / 3 == row)
            m_constituentGrid->SetItemText(row, 2 + index % 3, QString::fromStdString(cell.text));
    }
}

void CLaminaDlg::LoadLaminaRow(const Lamina* lamina)
{
    m_plyInputs->Load(lamina);
    m_laminaGrid->EndCellEdit();
    if (!lamina) {
        const char* defaults[4] = {"0.3", "1.0", "45.0", "1.0"};
        for (int column = 0; column < 4; ++column)
            m_laminaGrid->SetItemText(0, column, defaults[column]);
        return;
    }
    const double values[4] = {lamina->FAW, lamina->thickness, lamina->angle, lamina->xi};
    for (int column = 0; column < 4; ++column)
        m_laminaGrid->SetItemText(0, column, FormNumberText(values[column]));
    for (const UnreadField& cell : lamina->unread_cells) {
        if (const int index = LaminaInputIndex(cell.field); index >= kFirstPlyInput && index < kFirstPlyConstantInput)
            m_laminaGrid->SetItemText(0, index - kFirstPlyInput, QString::fromStdString(cell.text));
    }
}
