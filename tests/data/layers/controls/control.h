#pragma once
#include "app/messagebox.h"
