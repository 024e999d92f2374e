#include "mechanics/matrix3.h"

#include "util/formattext.h"
#include "util/trace.h"

#include <algorithm>
#include <charconv>
#include <cmath>

std::string MatrixLogText(const Matrix3& matrix)
{
    const Matrix3& m = matrix;
    return FormatText(" %5.2f %5.2f %5.2f\n %5.2f %5.2f %5.2f\n %5.2f %5.2f %5.2f\n", m(0, 0), m(0, 1),
                      m(0, 2), m(1, 0), m(1, 1), m(1, 2), m(2, 0), m(2, 1), m(2, 2));
}

void PrintMatrixToLog(const Matrix3& matrix, std::ostream& log) { log << MatrixLogText(matrix); }

std::string MatrixTraceText(const Matrix3& matrix)
{
    // Same text as Eigen's operator<< on a default stream, without a stringstream
    // per coefficient: a stream prints a double as "%.6g", which to_chars with the
    // general format and precision 6 reproduces without the locale.
    struct Cell {
        char text[32];
        size_t size;
    };
    Cell cells[3][3];
    size_t width = 0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            Cell& cell = cells[i][j];
            const double value = matrix(i, j);
            if (std::isnan(value)) { // to_chars spells it differently from printf
                const std::string text = FormatText("%.6g", value);
                cell.size = text.copy(cell.text, sizeof cell.text);
            } else {
                const auto result = std::to_chars(cell.text, cell.text + sizeof cell.text, value,
                                                  std::chars_format::general, 6);
                cell.size = static_cast<size_t>(result.ptr - cell.text);
            }
            width = std::max(width, cell.size);
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
            text.append(width - cells[i][j].size, ' ');
            text.append(cells[i][j].text, cells[i][j].size);
        }
    }
    text += '\n';
    return text;
}

void PrintMatrixToTrace(const Matrix3& matrix, Trace& trace) { trace.Write(MatrixTraceText(matrix)); }
