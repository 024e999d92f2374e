#include <QtCharts/QChart>
#include "controls/listctrlreport.h"
