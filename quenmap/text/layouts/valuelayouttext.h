#pragma once
// The generic readers and writers of the record, single-value, list and
// companion-list layouts, as one layout table.

#include "layouttable.h"

namespace quenmap {

const LayoutTable& valueLayoutTable();

}  // namespace quenmap
