#include "mechanics/matrix3.h"

#include "util/formattext.h"
#include "util/traceoutput.h"

#include <algorithm>

std::string MatrixLogText(const Matrix3& matrix)
{
    std::string text;
    text.reserve(3 * 3 * 8);
    for (Eigen::Index i = 0; i < matrix.rows(); ++i) {
        for (Eigen::Index j = 0; j < matrix.cols(); ++j)
            text += FormatText(" %5.2f", matrix(i, j));
        text += '\n';
    }
    return text;
}

void PrintMatrixToLog(const Matrix3& matrix, std::ostream& log) { log << MatrixLogText(matrix); }

std::string MatrixTraceText(const Matrix3& matrix)
{
    // Same text as Eigen's operator<< on a default stream, without a stringstream
    // per coefficient: a stream prints a double as "%.6g".
    std::string cells[3][3];
    size_t width = 0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            cells[i][j] = FormatText("%.6g", matrix(i, j));
            width = std::max(width, cells[i][j].size());
        }
    }
    std::string text;
    text.reserve(3 * (3 * (width + 1)));
    for (int i = 0; i < 3; ++i) {
        if (i)
            text += '\n';
        for (int j = 0; j < 3; ++j) {
            if (j)
                text += ' ';
            text.append(width - cells[i][j].size(), ' ');
            text += cells[i][j];
        }
    }
    text += '\n';
    return text;
}

void PrintMatrixToTrace(const Matrix3& matrix) { TraceOutput::Write(MatrixTraceText(matrix)); }
