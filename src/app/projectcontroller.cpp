#include "app/projectcontroller.h"

#include "app/projectfiles.h"
#include "doc/calculationchecks.h"
#include "doc/plyforgedoc.h"
#include "doc/readingsbatch.h"
#include "doc/seriesimport.h"
#include "experiment/importresult.h"
#include "guibase/messagebox.h"
#include "model/projectdocument.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

ProjectController::ProjectController(ProjectDocument& project, ProjectFiles& files, QWidget* window)
    : QObject(window), m_project(project), m_files(files), m_window(window)
{
}

bool ProjectController::AskReplace() const
{
    if (m_askReplace)
        return m_askReplace();
    return QMessageBox::question(m_window, tr("Import series"),
                                 tr("The series replaces the specimens of this project and their readings.")) ==
           QMessageBox::Yes;
}

bool ProjectController::AskKeepLink(const QString& file) const
{
    if (m_askKeepLink)
        return m_askKeepLink(file);
    QMessageBox box(QMessageBox::Question, tr("Save Project"),
                    tr("The readings were changed since they were read from %1.").arg(file), QMessageBox::NoButton,
                    m_window);
    QPushButton* keep = box.addButton(tr("Keep the link to %1 and drop the edits").arg(file), QMessageBox::AcceptRole);
    QPushButton* store = box.addButton(tr("Store the readings in the project"), QMessageBox::RejectRole);
    box.setDefaultButton(store); // edits are never dropped unasked
    box.setEscapeButton(store);
    box.exec();
    return box.clickedButton() == keep;
}

// Specimens whose readings were edited since they were read from the readings file
// the project names: each keeps the link, its edits dropped and the file read again,
// or stores its readings in the project (the writer stores edited readings), as the
// user answers; stored lists those. False after a message when a file cannot be
// read again.
bool ProjectController::SettleEditedLinks(const std::function<void(const ExperimentSpecimen&)>& reread,
                                          std::vector<ExperimentSpecimen*>& stored)
{
    for (const auto& specimen : m_project.Doc()->specimens) {
        if (!specimen->readings_link || specimen->ReadingsAsLinked())
            continue;
        if (!AskKeepLink(QString::fromStdString(specimen->readings_link->path))) {
            stored.push_back(specimen.get());
            continue;
        }
        std::string error;
        if (!ReadingsBatch::ReadAgain(*specimen, error)) {
            ShowMessageBox(this, tr("The project was not saved: the readings file could not be read again.\n%1")
                                     .arg(QString::fromStdString(error)));
            return false;
        }
        m_project.InputsChanged({ProjectChange::Kind::Record, ProjectSide::Experiment, specimen->id});
        if (reread)
            reread(*specimen);
    }
    return true;
}

// After a save, the cells kept as text, the first few named: the save wrote them, but
// not as numbers.
void ProjectController::TellKeptCells() const
{
    const std::vector<std::string> places = CalculationChecks::UnreadPlaces(*m_project.Doc());
    if (places.empty())
        return;
    constexpr size_t kNamed = 5;
    QString text = places.size() == 1
                       ? tr("Saved. 1 cell could not be read and is kept as text:")
                       : tr("Saved. %1 cells could not be read and are kept as text:").arg(places.size());
    for (size_t i = 0; i < std::min(places.size(), kNamed); ++i)
        text += "\n" + QString::fromStdString(places[i]);
    if (places.size() > kNamed)
        text += "\n" + tr("and %1 more").arg(places.size() - kNamed);
    ShowMessageBox(this, text);
}

bool ProjectController::Save(const QString& path, bool experiment_shown,
                             const std::function<void(const ExperimentSpecimen&)>& reread)
{
    CPlyforgeDoc* doc = m_project.Doc();
    if (!doc)
        return false;
    std::vector<ExperimentSpecimen*> stored;
    if (!SettleEditedLinks(reread, stored))
        return false;
    // The file names the one record on screen, so that opening shows it again.
    const int lamina_id = doc->current_lamina_id;
    const int specimen_id = doc->current_specimen_id;
    (experiment_shown ? doc->current_lamina_id : doc->current_specimen_id) = 0;
    struct Restore {
        CPlyforgeDoc* doc;
        int lamina, specimen;
        ~Restore()
        {
            doc->current_lamina_id = lamina;
            doc->current_specimen_id = specimen;
        }
    } restore{doc, lamina_id, specimen_id};
    if (!m_files.Write(*doc, path))
        return false;
    for (ExperimentSpecimen* specimen : stored)
        specimen->readings_link.reset(); // the readings are the project's from now on
    TellKeptCells();
    return true;
}

bool ProjectController::ImportSeries(const QStringList& paths)
{
    CPlyforgeDoc* doc = m_project.Doc();
    if (!doc || paths.isEmpty())
        return false;
    // A fresh form leaves one reading of 0: that is no readings to lose.
    const auto nonZero = [](const std::vector<double>& series) {
        return std::any_of(series.begin(), series.end(), [](double v) { return v != 0; });
    };
    const bool hasReadings = std::any_of(doc->specimens.begin(), doc->specimens.end(), [&](const auto& s) {
        return s->load_series.size() > 1 || nonZero(s->load_series) || nonZero(s->strain_series) ||
               nonZero(s->stress_series);
    });
    if (hasReadings && !AskReplace())
        return false;
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    SpecimenList series;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        series = ReadSeries(files);
    } catch (const ImportError& error) {
        QApplication::restoreOverrideCursor();
        ShowMessageBox(this, tr("The series could not be imported.\n%1").arg(QString::fromStdString(error.what())));
        return false;
    }
    QApplication::restoreOverrideCursor();
    // One step: Undo gives back the specimens the series replaced.
    m_project.ReplaceSeries(std::move(series));
    return true;
}
