#pragma once
// The resource number of the program's icon: the executable's first icon group, so Explorer and
// shortcuts show it. A plain macro, so the resource compiler can read it too.
#define IDI_QR_APP 1
