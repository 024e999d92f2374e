#pragma once

#include "experiment/experimentspecimen.h"
#include "mechanics/laminationtheory.h"
#include "theory/lamina.h"

#include <memory>
#include <optional>
#include <vector>

// Every input of one project, as read from a project file, before it replaces the
// records of a document.
struct ProjectData {
    int lamina_count = 0;
    double compliance_scale_factor = 0.01;
    int current_lamina_id = 0;
    std::vector<std::unique_ptr<Lamina>> laminae;
    std::optional<LaminateLoad> load_case; // the laminate's, for its ply stresses
    FailureSettings failure;

    int specimen_count = 0;
    double elastic_min = 0.1;
    double elastic_max = 0.3;
    ModulusMethod modulus_method = ModulusMethod::Chord;
    int current_specimen_id = 0;
    std::vector<std::unique_ptr<ExperimentSpecimen>> specimens;
};
