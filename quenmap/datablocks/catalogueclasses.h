#pragma once
// Every named block class of the catalogue (the table classes aside).

#include "catalogue/namedblocks.h"
#include "catalogue/specialblocks.h"
#include "commonrecords.h"
#include "hwdatablockend.h"
#include "hwdatablockident.h"
