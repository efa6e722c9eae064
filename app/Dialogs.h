// The dialog interface of the window lives beside the curve store, so that the measurement
// workflows below app/ can ask through it too.
#pragma once

#include "plot/curves/Dialogs.h"
