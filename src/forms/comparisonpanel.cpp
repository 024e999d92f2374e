#include "forms/comparisonpanel.h"

#include "controls/headercustomctrl.h"
#include "controls/listctrlreport.h"
#include "doc/plyforgedoc.h"
#include "forms/shownnumber.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString Shown(double value) { return std::isfinite(value) ? ShownNumber::Text(value) : QString(); }

QString Percent(double value) { return std::isfinite(value) ? QString::number(value, 'f', 2) : QString(); }

} // namespace

CComparisonPanel::CComparisonPanel(QWidget* parent)
    : QGroupBox(tr("Predicted (laminate) vs measured (series)"), parent), m_direction(new QComboBox),
      m_criterion(new QComboBox), m_table(new CListCtrlReport), m_note(new QLabel)
{
    setObjectName("ComparisonPanel");
    m_direction->setObjectName("ComparisonDirection");
    m_direction->addItem(tr("x (along the laminate's x axis)"), "x");
    m_direction->addItem(tr("y (across it)"), "y");
    m_criterion->setObjectName("ComparisonCriterion");
    for (const FailureCriterion criterion : kFailureCriteria)
        m_criterion->addItem(tr(FailureCriterionTitle(criterion)), static_cast<int>(criterion));
    m_criterion->setCurrentIndex(static_cast<int>(FailureCriterion::TsaiWu));
    m_table->setObjectName("ComparisonTable");
    for (const QString& title : {tr("Property"), tr("Predicted"), tr("Measured mean"), tr("Measured SD"), tr("n"),
                                 tr("Measured B-basis"), tr("Difference (%)")})
        m_table->InsertColumn(title, 110);
    m_table->setColumnWidth(0, 170);
    m_table->Header()->SetBackColor(QColor(0xE6, 0xE6, 0xE6));
    m_table->SizeLastColumnToFill();
    // Its three rows, so the chart below keeps the room.
    m_table->setFixedHeight(m_table->horizontalHeader()->height() +
                            3 * m_table->verticalHeader()->defaultSectionSize() + 2 * m_table->frameWidth() +
                            m_table->horizontalScrollBar()->sizeHint().height() + 2);
    m_note->setObjectName("ComparisonNote");
    m_note->setWordWrap(true);

    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(tr("Test direction")));
    choices->addWidget(m_direction);
    choices->addSpacing(12);
    choices->addWidget(new QLabel(tr("Criterion")));
    choices->addWidget(m_criterion);
    choices->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(m_table);
    layout->addWidget(m_note);
    for (QComboBox* box : {m_direction, m_criterion}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            Fill();
            Q_EMIT ComparisonChanged();
        });
    }
    setVisible(false);
}

void CComparisonPanel::Show(const CPlyforgeDoc* doc)
{
    m_doc = doc;
    setVisible(doc && !doc->laminate.laminae.empty() && !doc->specimens.empty());
    Fill();
}

void CComparisonPanel::Fill()
{
    m_table->DeleteAllItems();
    m_comparison.reset();
    if (!m_doc || m_doc->laminate.laminae.empty() || m_doc->specimens.empty())
        return;
    // The laminate's constants are the last theory run's; before one there is nothing to predict.
    if (m_doc->laminate.Ex == 0) {
        m_note->setText(tr("Calculate the laminate (Theoretical Formula) to see its prediction beside this series."));
        m_table->setVisible(false);
        return;
    }
    const auto direction =
        m_direction->currentData().toString() == "y" ? SeriesComparison::Direction::Y : SeriesComparison::Direction::X;
    const auto criterion = static_cast<FailureCriterion>(m_criterion->currentData().toInt());
    m_comparison = CompareSeries(m_doc->laminate, m_doc->failure, m_doc->specimens, direction, criterion);
    const SeriesComparison& c = *m_comparison;
    m_table->setVisible(true);
    m_table->AppendRow({tr("Modulus (GPa)"), Shown(c.predicted_modulus), Shown(c.measured_modulus_mean),
                        Shown(c.measured_modulus_sd), QString::number(c.modulus_n), QString(),
                        Percent(c.modulus_difference)});
    m_table->AppendRow({tr("First-ply failure (MPa)"), Shown(c.fpf), Shown(c.measured_strength_mean), QString(),
                        QString(), Shown(c.measured_b_basis), Percent(c.fpf_difference)});
    m_table->AppendRow({tr("Last-ply failure (MPa)"), Shown(c.lpf), Shown(c.measured_strength_mean), QString(),
                        QString(), Shown(c.measured_b_basis), Percent(c.lpf_difference)});
    QString note = tr("Differences are 100 (predicted - measured) / measured, against the mean. The chart draws "
                      "the predicted line up to first-ply failure, dashed, and the last-ply failure stress.");
    if (!std::isfinite(c.fpf))
        note += ' ' + tr("No failure stress is predicted: give the laminae their strengths.");
    else if (!std::isfinite(c.lpf))
        note += ' ' + tr("Last-ply failure needs strengths for every lamina.");
    m_note->setText(note);
}
