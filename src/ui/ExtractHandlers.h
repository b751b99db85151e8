#pragma once

#include <string>

#include "core/EntryFiles.h"
#include "ui/Context.h"

namespace vxa {

// Whether "Extract entry..." may act on grid row `row`, and "Extract all..."
// at all: only on a completely loaded archive, and not on a blank row.
bool CanExtractEntry(const AppState& s, int row);
bool CanExtractAll(const AppState& s);

// "Extract all": every entry with stored bytes into `dir`, each under its
// EntryFileName. When files of those names exist there already, one Yes/No
// question comes first. Throws IoError; the files written until then stay.
ExtractOutcome ExtractAll(Context& c, const std::string& dir, const ExtractProgress& progress);

}  // namespace vxa
