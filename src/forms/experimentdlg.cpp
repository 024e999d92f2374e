#include "forms/experimentdlg.h"

#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "controls/undocommands.h"
#include "doc/messages.h"
#include "doc/plyforgedoc.h"
#include "doc/projectschema.h"
#include "forms/formtext.h"
#include "guibase/droppedfiles.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"

#include "forms/columnchoicedialog.h"
#include "forms/filedialogs.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

// The grid's rows: load, strain and stress of each reading.
std::vector<double> RowMajor(const std::vector<double>& load, const std::vector<double>& strain,
                             const std::vector<double>& stress)
{
    std::vector<double> rows(load.size() * 3);
    for (size_t i = 0; i < load.size(); ++i) {
        rows[3 * i] = load[i];
        rows[3 * i + 1] = strain[i];
        rows[3 * i + 2] = stress[i];
    }
    return rows;
}
} // namespace

CExperimentDlg::CExperimentDlg(QWidget* parent)
    : QWidget(parent), m_nameEdit(new QLineEdit), m_widthEdit(new QLineEdit), m_thicknessEdit(new QLineEdit),
      m_initialize(new QPushButton(tr("Initialize"))), m_import(new QPushButton(tr("Import..."))),
      m_grid(new CListCtrlReport)
{
    setObjectName("ExperimentDlg");
    m_nameEdit->setObjectName("SpecimenIdEdit");
    m_nameEdit->setFixedWidth(110);
    m_nameEdit->setMaxLength(static_cast<int>(ProjectSchema::kMaxNameLength)); // as a project keeps it
    m_nameEdit->setToolTip(tr("The specimen's own ID, as the lab or its testing machine writes it; "
                              "the results list and chart name the specimen by it"));
    m_widthEdit->setObjectName("WidthEdit");
    m_thicknessEdit->setObjectName("ThicknessEdit");
    m_initialize->setObjectName("InitializeButton");
    m_grid->setObjectName("ReadingsGrid");
    m_widthEdit->setFixedWidth(80);
    m_thicknessEdit->setFixedWidth(80);
    m_initialize->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new QLabel(tr("Width")));
    top->addWidget(m_widthEdit);
    top->addSpacing(16);
    top->addWidget(new QLabel(tr("Thickness")));
    top->addWidget(m_thicknessEdit);
    top->addSpacing(24);
    top->addWidget(m_initialize);
    m_import->setObjectName("ImportButton");
    m_import->setAutoDefault(false);
    m_import->setToolTip(tr("Read Load, Strain and Stress from a testing machine's text export (CSV)"));
    top->addWidget(m_import);
    top->addStretch();

    m_grid->InsertColumn("Load(N)", 120);
    m_grid->InsertColumn("Strain(%)", 120);
    m_grid->InsertColumn("Stress(N/mm2)", 120);
    m_grid->Header()->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    m_grid->SizeLastColumnToFill();
    m_grid->setFixedWidth(420);
    // Every reading can be typed, and typing goes on below the last row.
    m_grid->SetEditable([](int, int) { return true; });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    // The ID on a line of its own: the line below keeps its place and fits beside the results.
    auto* idLine = new QHBoxLayout;
    idLine->setSpacing(8);
    idLine->addWidget(new QLabel(tr("Specimen ID")));
    idLine->addWidget(m_nameEdit);
    idLine->addStretch();
    layout->addLayout(idLine);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1, Qt::AlignLeft);

    connect(m_initialize, &QPushButton::clicked, this, &CExperimentDlg::InitializeAsStep);
    connect(m_grid, &CListCtrlReport::CellsEdited, this, &CExperimentDlg::Modified);
    connect(m_import, &QPushButton::clicked, this, [this] {
        const QString path = FileDialogs::AskOpenPath(this, tr("Import Tensile Test"),
                                                      tr("Text exports (*.csv *.txt *.dat);;All files (*)"));
        if (!path.isEmpty())
            ImportFile(path);
    });
    m_grid->Model()->SetCellCheck([](int, int, const std::string& text) {
        double value = 0;
        return ParseReadingCell(text, value)
                   ? QString()
                   : tr("Not a number. The text is kept as typed; Calculate waits until it is corrected.");
    });
    // A file dropped on the grid is imported.
    m_grid->viewport()->setAcceptDrops(true);
    m_grid->viewport()->installEventFilter(this);
    // Every edit, paste, import and Initialize is an undo step; undoing one changes
    // the project as much as doing it did.
    m_grid->SetUndoStack(&m_undo);
    TrackEdit(m_nameEdit, &m_undo);
    TrackEdit(m_widthEdit, &m_undo);
    TrackEdit(m_thicknessEdit, &m_undo);
    PassUndoKeys(m_grid);
    connect(&m_undo, &FormUndoStack::Changed, this, &CExperimentDlg::Modified);
    connect(m_grid, &CListCtrlReport::GridClicked, this, &CExperimentDlg::OnClickGrid);
    OnInitialize();
}

void CExperimentDlg::InitializeAsStep()
{
    m_grid->EndCellEdit();
    m_undo.beginMacro(tr("Initialize"));
    m_undo.push(new ReplaceRowsCommand(m_grid->Model(), ReportModel::Rows{{"", "", ""}, {}, 1}, tr("Initialize")));
    for (QLineEdit* edit : {m_widthEdit, m_thicknessEdit})
        m_undo.push(new LineEditCommand(edit, edit->text(), FormNumberText(0)));
    m_undo.push(new LineEditCommand(m_nameEdit, m_nameEdit->text(), QString()));
    m_undo.endMacro();
}

void CExperimentDlg::OnInitialize()
{
    m_grid->EndCellEdit();
    m_grid->DeleteAllItems();
    m_grid->AppendRowText(QString(), 0);
    SetSpecimenSize(0, 0);
    SetEditText(m_nameEdit, QString());
    m_undo.Forget();
}

void CExperimentDlg::SetSpecimenSize(double width, double thickness)
{
    m_specimenWidth = width;
    m_specimenThickness = thickness;
    SetEditText(m_widthEdit, FormNumberText(width));
    SetEditText(m_thicknessEdit, FormNumberText(thickness));
}

QString CExperimentDlg::ReadSize(int id)
{
    QLineEdit* edits[2] = {m_widthEdit, m_thicknessEdit};
    double* members[2] = {&m_specimenWidth, &m_specimenThickness};
    const char* fields[2] = {"Width", "Thickness"};
    for (int i = 0; i < 2; ++i) {
        double value = 0;
        const std::string text(TrimWhitespace(edits[i]->text().toStdString()));
        if (text.empty() || !ParseNumber(text, value))
            return tr("Please enter a number.") +
                   QString("\nSpecimen %1, %2: \"%3\"").arg(id).arg(fields[i], edits[i]->text());
        *members[i] = value;
    }
    return {};
}

bool CExperimentDlg::ReadColumn(std::vector<double>& series, int column, std::vector<UnreadCell>& unread)
{
    series.clear();
    series.shrink_to_fit();
    const ReportModel* model = m_grid->Model();
    const int rows = m_grid->GetItemCount();
    series.reserve(static_cast<size_t>(rows));
    const size_t before = unread.size();
    for (int row = 0; row < rows; ++row) {
        double value = 0;
        if (!model->CellNumber(row, column, value)) {
            std::string text = model->CellUtf8(row, column);
            if (!ParseReadingCell(text, value)) {
                // Kept as typed; the reading itself is no number until it is corrected.
                value = std::numeric_limits<double>::quiet_NaN();
                unread.push_back({row, column, std::move(text)});
            }
        }
        series.push_back(value);
    }
    return unread.size() == before;
}

bool CExperimentDlg::SaveToSpecimen(int id, UnreadCells unread)
{
    CPlyforgeDoc* doc = m_document ? m_document() : nullptr;
    if (!doc)
        return false;
    m_grid->EndCellEdit();
    // A size that is not a number stops here: no older value stands in for it.
    const QString problem = ReadSize(id);
    if (!problem.isEmpty() && unread != UnreadCells::Quiet) {
        ShowMessageBox(this, problem);
        return false;
    }
    ExperimentSpecimen& specimen = doc->FindOrCreateSpecimen(id);
    specimen.name = std::string(TrimWhitespace(m_nameEdit->text().toStdString()));
    if (problem.isEmpty()) {
        specimen.width = m_specimenWidth;
        specimen.thickness = m_specimenThickness;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<UnreadCell> cells;
    ReadColumn(specimen.load_series, 0, cells);
    ReadColumn(specimen.strain_series, 1, cells);
    ReadColumn(specimen.stress_series, 2, cells);
    std::sort(cells.begin(), cells.end(), [](const UnreadCell& a, const UnreadCell& b) {
        return std::tie(a.row, a.column) < std::tie(b.row, b.column);
    });
    specimen.unread_cells = std::move(cells);
    QApplication::restoreOverrideCursor();
    if (!specimen.unread_cells.empty() && unread == UnreadCells::Tell)
        ShowMessageBox(this, QString::fromUtf8(msg::kNotANumber) + "\n" +
                       QString::fromStdString(UnreadCellPlace(id, specimen.unread_cells.front())));
    return true;
}

void CExperimentDlg::LoadFromSpecimen(const ExperimentSpecimen& specimen)
{
    if (!m_document || !m_document())
        return;
    m_grid->EndCellEdit();
    m_grid->DeleteAllItems();
    SetEditText(m_nameEdit, QString::fromStdString(specimen.name));
    const size_t n = specimen.load_series.size();
    if (specimen.strain_series.size() != n || specimen.stress_series.size() != n) {
        ShowMessageBox(this, QString::fromUtf8(msg::kUnequalSeries));
        return;
    }
    m_grid->Model()->SetNumberRows(RowMajor(specimen.load_series, specimen.strain_series, specimen.stress_series));
    for (const UnreadCell& cell : specimen.unread_cells)
        m_grid->Model()->SetCellUtf8(cell.row, cell.column, cell.text);
    m_undo.Forget();
}

void CExperimentDlg::OnClickGrid(const QPoint& pos)
{
    m_grid->EndCellEdit();
    // The clicked cell is where the next paste starts, and a reading can be typed there.
    if (m_grid->selectionModel()->hasSelection())
        m_grid->BeginCellEdit(pos);
}

void CExperimentDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape neither close nor reset the form.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CExperimentDlg::mousePressEvent(QMouseEvent* event)
{
    m_grid->EndCellEdit();
    QWidget::mousePressEvent(event);
}

bool CExperimentDlg::ImportFile(const QString& path)
{
    ImportResult table;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        table = TensileImport::ReadFile(path.toStdString());
        if (table.needs_column_choice) {
            // The last choice is offered again, as exports of one machine look alike.
            QSettings settings;
            ImportOptions options;
            options.load_column = settings.value("Import/LoadColumn", 0).toInt();
            options.strain_column = settings.value("Import/StrainColumn", 1).toInt();
            options.stress_column = settings.value("Import/StressColumn", 2).toInt();
            QApplication::restoreOverrideCursor();
            bool chosen = false;
            if (m_chooseColumns) {
                chosen = m_chooseColumns(table, options);
            } else {
                ColumnChoiceDialog dialog(table, options, this);
                chosen = dialog.exec() == QDialog::Accepted;
                options = dialog.Choice();
            }
            if (!chosen)
                return false;
            settings.setValue("Import/LoadColumn", options.load_column);
            settings.setValue("Import/StrainColumn", options.strain_column);
            settings.setValue("Import/StressColumn", options.stress_column);
            QApplication::setOverrideCursor(Qt::WaitCursor);
            table = TensileImport::ReadFile(path.toStdString(), options);
        }
        // Refused, not cut short by the ID box: the name a project keeps is the whole ID.
        if (const std::string problem = ProjectSchema::NameLengthProblem(table.specimen_name); !problem.empty())
            throw ImportError(path.toStdString() + ": the Specimen ID " + problem);
    } catch (const ImportError& error) {
        QApplication::restoreOverrideCursor();
        ShowMessageBox(this, tr("The file could not be imported.\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    m_grid->EndCellEdit();
    const int rows = static_cast<int>(table.load.size());
    // One step: the readings, and the ID, width and thickness the machine wrote above them.
    m_undo.beginMacro(tr("Import"));
    m_undo.push(new ReplaceRowsCommand(
        m_grid->Model(), ReportModel::Rows{{}, RowMajor(table.load, table.strain, table.stress), rows}, tr("Import")));
    for (const auto& [edit, value] : {std::pair{m_widthEdit, table.width}, std::pair{m_thicknessEdit, table.thickness}})
        if (std::isfinite(value))
            m_undo.push(new LineEditCommand(edit, edit->text(), FormNumberText(value)));
    if (!table.specimen_name.empty())
        m_undo.push(new LineEditCommand(m_nameEdit, m_nameEdit->text(), QString::fromStdString(table.specimen_name)));
    m_undo.endMacro();
    QApplication::restoreOverrideCursor(); // the undo step told that the form changed
    return true;
}

bool CExperimentDlg::eventFilter(QObject* watched, QEvent* event)
{
    // A file dropped on the grid is imported.
    QStringList paths;
    if (watched == m_grid->viewport() && TakeFileDrop(event, paths)) {
        if (!paths.isEmpty())
            ImportFile(paths.first());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
