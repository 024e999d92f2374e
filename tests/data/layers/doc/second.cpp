#include "doc/second.h"

#include "doc/first.h"
