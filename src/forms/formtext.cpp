#include "forms/formtext.h"

#include "util/numbertext.h"

QString FormNumberText(double value) { return QString::fromStdString(ShortestNumberText(value)); }
