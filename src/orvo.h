#pragma once

// Umbrella header: every public header of the Orvo suite.

#include "platform/core/exceptions.h"
#include "platform/core/tcurrency.h"
#include "platform/core/tdatetime.h"
#include "platform/core/texceptionhandler.h"
#include "platform/core/tset.h"
#include "platform/core/tvariant.h"

#include "platform/data/tfieldtype.h"
