#include "theory/abaquscard.h"

#include "util/calclog.h"
#include "util/formattext.h"
#include "util/trace.h"

void Laminate::TranslateForAbaqus(std::ostream& log, Trace& trace)
{
    // ABAQUS wants MPa; both transverse shear moduli take the in-plane value.
    E1 = Ex * 1000;
    E2 = Ey * 1000;
    NU12 = NUxy;
    G12 = Gxy * 1000;
    G13 = G12;
    G23 = G12;

    WriteLogHeading(log, "Translat for ABAQUS");
    WriteLogBlock(log, FormatText("E1=%g\nE2=%g\nNU12=%g\n", E1, E2, NU12));
    WriteLogBlock(log, FormatText("G12=%g\nG13=%g\nG23=%g\n", G12, G13, G23));
    trace.Write(FormatText("E1=%f\nE2=%f\nNU12=%f\n", E1, E2, NU12));
    trace.Write(FormatText("G12=%f\nG13=%f\nG23=%f\n", G12, G13, G23));
}

std::string MakeAbaqusCard(const Laminate& laminate, std::string_view lineEnd)
{
    std::string card;
    card += "*Material, name=Composite";
    card += lineEnd;
    card += "*Elastic, type=LAMINA";
    card += lineEnd;
    card += FormatText("%f, %f, %f, %f, %f, %f", laminate.E1, laminate.E2, laminate.NU12,
                       laminate.G12, laminate.G13, laminate.G23);
    card += lineEnd;
    return card;
}
