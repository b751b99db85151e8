#pragma once

#include <string>
#include <vector>

namespace vxa::bench {

// `vxa-bench gen OUT [options]`: writes one synthetic archive. `args` starts
// with OUT. Returns the exit status.
int GenCommand(const std::vector<std::string>& args);

}  // namespace vxa::bench
