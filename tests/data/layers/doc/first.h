#pragma once
#include "doc/second.h"
