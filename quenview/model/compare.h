#pragma once
// The comparison of two boards: blocks paired by id (the n-th block of an id
// with the n-th of the same id), every changed value with both values, and
// the ident and service records field by field.

#include "model.h"

namespace quenview {

Comparison compareReports(Report before, Report after);

}  // namespace quenview
