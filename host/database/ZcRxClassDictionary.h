#pragma once
// Internal: the class dictionary as the host sees it beyond the public lookups. The dynamic
// linker walks it when it unloads a plug-in, to retire the classes whose creators lie in the
// plug-in's code before that code is unmapped.
#include <vector>

#include "zcad/rx/ZcRxClass.h"

namespace vtcad::db {

// Every class found by name now (retired classes are not), in registration order.
std::vector<ZcRxClass*> registeredClasses();

}  // namespace vtcad::db
