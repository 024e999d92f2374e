#include <QtCharts/QChart>
#include "controls/listctrlreport.h"
#include "app/mainframe.h"
