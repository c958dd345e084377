#pragma once
// The row-by-column table block classes.

#include "hwtabledatablock.h"
