#pragma once

#include "mechanics/matrix3.h"
#include "util/calclog.h"
#include "util/formattext.h"
#include "util/trace.h"

#include <ostream>

// The in-plane engineering constants of a compliance matrix B held at scale k
// (k times B is in 1/GPa), written into the record's Ex, Ey, Gxy, NUxy, NUyx,
// ETAxyx and ETAxyy: a rotated ply and a homogenized laminate read them alike.
template <class Record>
void SetEngineeringConstants(Record& r, const Matrix3& B, double k)
{
    r.Ex = 1 / (k * B(0, 0));
    r.Ey = 1 / (k * B(1, 1));
    r.Gxy = 1 / (k * B(2, 2));
    r.NUxy = -(r.Ex * B(0, 1) * k);
    r.NUyx = -(r.Ey * B(0, 1) * k);
    r.ETAxyx = r.Ex * B(0, 2) * k;
    r.ETAxyy = r.Ey * B(1, 2) * k;
}

// The constants' log lines (moduli with moduli_format, e.g. "Ex=%gGPa\nEy=...")
// and their trace lines.
template <class Record>
void WriteEngineeringConstants(const Record& r, std::ostream& log, const char* moduli_format, Trace& trace)
{
    WriteLogBlock(log, FormatText(moduli_format, r.Ex, r.Ey, r.Gxy));
    WriteLogBlock(log, FormatText("NUxy=%g\nNUyx=%g\n", r.NUxy, r.NUyx));
    WriteLogBlock(log, FormatText("ETAxyx=%g\nETAxyy=%g\n", r.ETAxyx, r.ETAxyy));

    trace.Write(FormatText("Ex=%f\nEy=%f\nGxy=%f\n", r.Ex, r.Ey, r.Gxy));
    trace.Write(FormatText("NUxy=%f\nNUyx=%f\n", r.NUxy, r.NUyx));
    trace.Write(FormatText("ETAxyx=%f\nETAxyy=%f\n", r.ETAxyx, r.ETAxyy));
}
