#pragma once
/// Public headers of this area (filled in as the area grows).
#include <mox/rt.h>
