#pragma once
// The skin compiled into the program (scripts/make-skin, src/shared/resource_ids.h): pictures by resource
// number and the program's mouse pointer, for every window.
#include <windows.h>

#include "forms/picture.h"
#include "shared/resource_ids.h"

namespace qr::skin {

// A skin picture, e.g. skin::Picture(IDB_SS_LOAD); empty when the resource is missing.
forms::Picture Picture(int resourceId);
// The custom 32 x 32 pointer (hot spot 12, 1). Shared by the system for the program's lifetime: never
// destroy it.
HCURSOR Pointer();

}  // namespace qr::skin
