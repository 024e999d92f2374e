#include "app/mainframe.h"
