#include <QString>
#include "forms/laminadlg.h"
