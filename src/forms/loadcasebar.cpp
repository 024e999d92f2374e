#include "forms/loadcasebar.h"

#include "forms/formtext.h"
#include "guibase/messagebox.h"
#include "util/numberparser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr const char* kNames[6] = {"Nx", "Ny", "Nxy", "Mx", "My", "Mxy"};

double& Component(LaminateLoad& load, size_t k) { return k < 3 ? load.N[k] : load.M[k - 3]; }

} // namespace

LoadCaseBar::LoadCaseBar(QWidget* parent) : QWidget(parent)
{
    setObjectName("LoadCaseBar");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(new QLabel(tr("Load case")));
    for (size_t k = 0; k < 6; ++k) {
        row->addSpacing(k == 3 ? 12 : 4);
        row->addWidget(new QLabel(kNames[k]));
        m_edits[k] = new QLineEdit;
        m_edits[k]->setObjectName(QString("Load%1Edit").arg(kNames[k]));
        m_edits[k]->setMinimumWidth(36); // the row fits a narrow results view too
        m_edits[k]->setMaximumWidth(80);
        m_edits[k]->setToolTip(k < 3 ? tr("Force resultant, N/mm") : tr("Moment resultant, N mm/mm"));
        connect(m_edits[k], &QLineEdit::returnPressed, this, &LoadCaseBar::Apply);
        row->addWidget(m_edits[k]);
    }
    auto* apply = new QPushButton(tr("Apply load"));
    apply->setObjectName("ApplyLoadButton");
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, &LoadCaseBar::Apply);
    auto* clear = new QPushButton(tr("No load"));
    clear->setObjectName("ClearLoadButton");
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, [this] {
        SetLoad(std::nullopt);
        emit LoadCleared();
    });
    row->addSpacing(12);
    row->addWidget(apply);
    row->addWidget(clear);
    row->addStretch();
}

void LoadCaseBar::SetLoad(const std::optional<LaminateLoad>& load)
{
    for (size_t k = 0; k < 6; ++k) {
        LaminateLoad shown = load.value_or(LaminateLoad());
        m_edits[k]->setText(load ? FormNumberText(Component(shown, k)) : QString());
    }
}

bool LoadCaseBar::Apply()
{
    LaminateLoad load;
    for (size_t k = 0; k < 6; ++k) {
        const QString text = m_edits[k]->text();
        if (!ParseCell(text.toStdString(), Component(load, k))) {
            ShowMessageBox(this, tr("Please enter a number.") + QString("\nLoad case, %1: \"%2\"").arg(kNames[k], text));
            return false;
        }
    }
    emit LoadApplied(load);
    return true;
}
