#pragma once

#include "util/trace.h"

#include <Eigen/Dense>

#include <ostream>
#include <string>

// Every lamina and laminate matrix: 3x3 doubles, rows and columns in the order
// normal 1, normal 2, in-plane shear.
using Matrix3 = Eigen::Matrix3d;

// Each element as " %5.2f", one line per row.
void PrintMatrixToLog(const Matrix3& matrix, std::ostream& log);
std::string MatrixLogText(const Matrix3& matrix);

// Eigen's default stream layout (six significant digits, right-aligned to the widest
// coefficient, one space between coefficients) followed by a line break.
void PrintMatrixToTrace(const Matrix3& matrix, Trace& trace);
std::string MatrixTraceText(const Matrix3& matrix);
