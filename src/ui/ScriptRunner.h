#pragma once

#include <optional>
#include <string>

#include "script/ScriptFile.h"
#include "ui/Context.h"

namespace vxa {

// Shows kScriptDamaged; the run then ends silently.
void ScriptError(Context& c);

// Writes each plan item's path into column 5 of its entry's row; the later of
// two items for one entry wins. Items that name no entry of the table (a
// negative index, or one not below the entry count) get no cell.
void ShowListInGrid(Context& c);

// Reads and validates the script at `path`. An invalid script gets
// ScriptError and nullopt, and changes nothing. Throws IoError when the file
// cannot be read.
std::optional<Script> OpenScript(Context& c, const std::string& path);

// What a run replaces before the summary is shown, kept so that a run that
// ends without loading anything can put it back.
struct PlanSnapshot {
    std::string InPath;
    std::string OutPath;
    ReplRec Replacements;
};

// Makes the script's paths and plan the current ones (and its items the
// script list); returns what they replaced.
PlanSnapshot InstallScript(AppState& s, const Script& script);
void RestorePlan(AppState& s, PlanSnapshot saved);

enum class ProceedOutcome {
    Compiled,       // loaded, planned and written to the output archive
    NotLoaded,      // the load was stopped or failed: nothing was written
    InputMissing,   // no input archive, or one that cannot be opened: nothing was loaded
    NoOutput,       // loaded and planned, but no output archive was chosen
    CompileFailed,  // the compile failed and said why; the output is unchanged
};

// "Proceed >>>" with the installed script: loads InPath in script mode behind
// the progress dialog, shows the plan, asks for an output archive if none is
// set, and compiles. A failed compile is shown as the compile button shows
// it. The progress dialog is closed at every end of the run.
ProceedOutcome ProceedWithScript(Context& c);

// Installs a valid script, shows the summary and acts on its answer.
void RunScript(Context& c, const Script& script);

}  // namespace vxa
