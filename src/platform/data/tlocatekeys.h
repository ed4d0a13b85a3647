#pragma once

#include "platform/core/tvariant.h"
#include "platform/data/tdatasetenums.h"

namespace orvo {

/// Whether a record's key values match the sought ones as Locate decides, for datasets that
/// search their source without fetching records: `values` and `keys` are arrays for several
/// key fields; with loPartialKey only the last may be a prefix; loCaseInsensitive folds case
/// by Unicode.
bool LocateKeysMatch(const TVariant& values, const TVariant& keys, TLocateOptions options);

} // namespace orvo
