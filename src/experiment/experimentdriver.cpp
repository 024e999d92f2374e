#include "experiment/experimentdriver.h"

#include "util/calclog.h"
#include "util/formattext.h"

void EvaluateAllSpecimens(const SpecimenList& specimens, double elastic_min, double elastic_max,
                          std::ostream& log)
{
    WriteLogHeading(log, "##Result for Experimental Calculation");
    WriteLogBlock(log, FormatText("Elastic Range Min=%g\nElastic Range Max=%g\n", elastic_min,
                                  elastic_max));
    for (const auto& specimen : specimens) {
        if (!specimen->Evaluate(elastic_min, elastic_max)) {
            specimen->valid = 0;
            continue;
        }
        WriteLogBlock(log, FormatText("##id:%d\nWidth=%g\nThickness=%g\nLoad Max.=%g\nStrength:%g\n"
                                      "Strain:%g\nModulus=%g\n",
                                      specimen->id, specimen->width, specimen->thickness,
                                      specimen->load_max, specimen->strength, specimen->strain,
                                      specimen->modulus));
    }
}
