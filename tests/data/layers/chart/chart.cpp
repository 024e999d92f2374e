#  include "forms/resultexpview.h"
