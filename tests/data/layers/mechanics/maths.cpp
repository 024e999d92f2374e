#include "theory/lamina.h"
#include "util/formattext.h"
