#include "forms/plyinputs.h"

#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "controls/reportmodel.h"
#include "controls/undocommands.h"
#include "forms/formtext.h"
#include "theory/lamina.h"
#include "util/numberparser.h"
#include "util/stringfunction.h"

#include <QComboBox>
#include <QLabel>
#include <QHeaderView>

#include <cmath>
#include <limits>

namespace {

constexpr int kPlyCells = 6;
constexpr int kStrengthCells = 6;

void SetUpRow(CListCtrlReport* grid, const QStringList& titles, int width)
{
    for (const QString& title : titles)
        grid->InsertColumn(title, width);
    grid->Header()->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    grid->SizeLastColumnToFill();
    grid->AppendRow(QStringList(titles.size(), QString()));
    grid->setFixedHeight(grid->horizontalHeader()->height() + grid->verticalHeader()->defaultSectionSize() +
                         2 * grid->frameWidth() + 2);
    grid->setMinimumWidth(width * static_cast<int>(titles.size()) + 20);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->SetEditable([](int, int) { return true; });
    grid->SetFixedRows(true);
    // Blank is allowed: a value not given.
    grid->Model()->SetCellCheck([](int, int, const std::string& text) {
        double value = 0;
        return TrimWhitespace(text).empty() || ParseReadingCell(text, value) ? QString()
                                                                             : QObject::tr("Not a number.");
    });
}

// "" for a value not given, else the form's text of the number.
QString Shown(double value) { return std::isnan(value) ? QString() : FormNumberText(value); }

} // namespace

CPlyInputs::CPlyInputs(FormUndoStack* undo, QObject* parent)
    : QObject(parent), m_source(new QComboBox), m_plyGrid(new CListCtrlReport), m_strengthGrid(new CListCtrlReport),
      m_sourceNote(new QLabel)
{
    m_sourceNote->setObjectName("ValueSourceNote");
    m_sourceNote->setWordWrap(true);
    m_source->setObjectName("LaminaSource");
    m_plyGrid->setObjectName("PlyGrid");
    m_strengthGrid->setObjectName("StrengthGrid");
    m_source->addItems({tr("From fibre and matrix"), tr("From ply constants")});
    SetUpRow(m_plyGrid, PlyTitles(), 100);
    SetUpRow(m_strengthGrid, StrengthTitles(), 90);
    TrackCombo(m_source, undo);
    connect(m_source, &QComboBox::currentIndexChanged, this, &CPlyInputs::SourceChanged);
    connect(m_source, &QComboBox::currentIndexChanged, this, &CPlyInputs::Modified);
    for (CListCtrlReport* grid : {m_plyGrid, m_strengthGrid}) {
        grid->SetUndoStack(undo);
        PassUndoKeys(grid);
        connect(grid, &CListCtrlReport::CellsEdited, this, &CPlyInputs::Modified);
        connect(grid, &CListCtrlReport::GridClicked, grid, [grid](const QPoint& pos) {
            grid->EndCellEdit();
            if (grid->selectionModel()->hasSelection())
                grid->BeginCellEdit(pos);
        });
    }
    Load(nullptr);
}

QStringList CPlyInputs::PlyTitles()
{
    return {tr("E1(GPa)"), tr("E2(GPa)"), tr("G12(GPa)"), tr("v12"), tr("v23"), tr("Density(g/cm3)")};
}

QStringList CPlyInputs::StrengthTitles()
{
    return {tr("Xt"), tr("Xc"), tr("Yt"), tr("Yc"), tr("S"), tr("ST")};
}

bool CPlyInputs::FromPlyConstants() const { return m_source->currentIndex() == 1; }

void CPlyInputs::Load(const Lamina* lamina)
{
    const Lamina fresh;
    const Lamina& from = lamina ? *lamina : fresh;
    m_plyGrid->EndCellEdit();
    m_strengthGrid->EndCellEdit();
    SetComboChoice(m_source, from.source == LaminaSource::PlyConstants ? 1 : 0);
    const PlyConstants& p = from.ply;
    // A new ply shows blanks to fill, rather than zeros that would be refused.
    const double ply[kPlyCells] = {p.E1, p.E2, p.G12, p.nu12, p.nu23, p.density};
    for (int column = 0; column < kPlyCells; ++column)
        m_plyGrid->SetItemText(0, column, lamina || column == 4 ? Shown(ply[column]) : QString());
    const PlyStrengths& s = from.strength;
    const double strength[kStrengthCells] = {s.Xt, s.Xc, s.Yt, s.Yc, s.S, s.ST};
    for (int column = 0; column < kStrengthCells; ++column)
        m_strengthGrid->SetItemText(0, column, Shown(strength[column]));
    for (const UnreadField& cell : from.unread_cells) {
        const int index = LaminaInputIndex(cell.field);
        if (index >= kFirstStrengthInput)
            m_strengthGrid->SetItemText(0, index - kFirstStrengthInput, QString::fromStdString(cell.text));
        else if (index >= kFirstPlyConstantInput)
            m_plyGrid->SetItemText(0, index - kFirstPlyConstantInput, QString::fromStdString(cell.text));
    }
    ShowSources(from.sources);
}

void CPlyInputs::ShowSources(const std::map<std::string, ValueSource>& sources)
{
    // Each value a series gave says so in its tooltip, and all of them under the grids.
    std::map<int, QString> notes; // by input index
    QStringList lines;
    for (const auto& [field, source] : sources) {
        const QString line = tr("%1: %2 of the series %3 (n = %4, %5)")
                                 .arg(QString::fromStdString(field), tr(StatisticTitle(source.statistic)),
                                      QString::fromStdString(source.series))
                                 .arg(source.n)
                                 .arg(QString::fromStdString(source.date));
        notes[SourcedInputIndex(field)] = line;
        lines << line;
    }
    for (const auto& [grid, first] :
         {std::pair{m_plyGrid, kFirstPlyConstantInput}, {m_strengthGrid, kFirstStrengthInput}}) {
        grid->Model()->SetCellNote([notes, first = first](int row, int column) {
            const auto note = notes.find(first + column);
            return row == 0 && note != notes.end() ? note->second : QString();
        });
    }
    m_sourceNote->setText(lines.isEmpty() ? QString() : tr("From test series: %1.").arg(lines.join("; ")));
    m_sourceNote->setVisible(!lines.isEmpty());
}

void CPlyInputs::ReadRow(CListCtrlReport* grid, int first, int count, Lamina& lamina,
                         std::vector<UnreadField>& unread)
{
    for (int column = 0; column < count; ++column) {
        std::string text = grid->GetItemText(0, column).toStdString();
        double& value = lamina.Input(first + column);
        if (TrimWhitespace(text).empty()) {
            value = std::numeric_limits<double>::quiet_NaN(); // not given
        } else if (!ParseReadingCell(text, value)) {
            value = std::numeric_limits<double>::quiet_NaN();
            unread.push_back({kLaminaInputNames[first + column], std::move(text)});
        }
    }
}

void CPlyInputs::Read(Lamina& lamina, std::vector<UnreadField>& unread)
{
    m_plyGrid->EndCellEdit();
    m_strengthGrid->EndCellEdit();
    std::map<std::string, double> given; // the values the series gave, to tell one typed over
    for (const auto& [field, source] : lamina.sources)
        given[field] = lamina.Input(SourcedInputIndex(field));
    lamina.source = FromPlyConstants() ? LaminaSource::PlyConstants : LaminaSource::FibreMatrix;
    // The ply's row belongs to the record only when it is the source, as in the project file.
    if (FromPlyConstants()) {
        ReadRow(m_plyGrid, kFirstPlyConstantInput, kPlyCells, lamina, unread);
        if (std::isnan(lamina.ply.nu23) && TrimWhitespace(m_plyGrid->GetItemText(0, 4).toStdString()).empty())
            lamina.ply.nu23 = 0.3;
    }
    ReadRow(m_strengthGrid, kFirstStrengthInput, kStrengthCells, lamina, unread);
    for (const auto& [field, value] : given) {
        if (!(lamina.Input(SourcedInputIndex(field)) == value))
            lamina.sources.erase(field);
    }
    ShowSources(lamina.sources);
}
