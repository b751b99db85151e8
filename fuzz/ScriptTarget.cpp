#include <string>

#include "FuzzTargets.h"
#include "script/ScriptFile.h"
#include "script/ScriptHandlers.h"
#include "support/FakeView.h"
#include "support/MemoryFileSystem.h"

namespace vxa::fuzz {

// Reads the bytes as a script file: what is accepted must obey the validity
// rules and survive a save and a second read unchanged; a run that is
// refused or cancelled must leave the program as it was.
int ScriptTarget(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto script = ParseScript(text);
    if (script) {
        const ReplRec& items = script->Items;
        FUZZ_CHECK(!script->In.empty());
        FUZZ_CHECK(items.Count >= 1);
        FUZZ_CHECK(items.Indices.size() == static_cast<std::size_t>(items.Count));
        FUZZ_CHECK(items.Paths.size() == static_cast<std::size_t>(items.Count));
        FUZZ_CHECK(ScriptValueRoundTrips(script->In) && ScriptValueRoundTrips(script->Out));
        for (std::int32_t i = 0; i < items.Count; ++i) {
            FUZZ_CHECK(items.Indices[i] != -2);
            FUZZ_CHECK(!items.Paths[i].empty() && ScriptValueRoundTrips(items.Paths[i]));
        }
        FUZZ_CHECK(ParseScript(FormatScript(script->In, script->Out, items)) == script);
    }

    test::MemoryFileSystem fs;
    fs.put("/s.vxc", text);
    AppState state;
    state.InPath = "/before.vxa";
    state.Replacements.append(0, "/before.wav");
    test::FakeView view(state.Table);
    Context c{state, view, fs};
    view.dialogAnswers.push_back("/s.vxc");
    view.summaryAnswers.push_back(SummaryResult::Cancel);
    RsBtnClick(c);
    FUZZ_CHECK(view.messages.size() == (script ? 0u : 1u));
    FUZZ_CHECK(state.InPath == "/before.vxa" && state.OutPath.empty());
    FUZZ_CHECK(state.Replacements.Count == 1 && state.Replacements.Paths[0] == "/before.wav");
    return 0;
}

}  // namespace vxa::fuzz
