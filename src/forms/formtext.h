#pragma once

#include <QString>

// A number as a form shows it: the shortest text that reads back to the same
// double, so showing a record again never alters it.
QString FormNumberText(double value);
