#pragma once

#include <string>

namespace vxa {

// Named temporary files must not outlive the process that writes them. A
// kill -9 cannot be caught, but SIGINT, SIGTERM and SIGHUP can: once the
// handlers are installed, such a signal removes every file still
// registered, then ends the process as the signal would have.

// Installs the handlers; a signal the process was started ignoring (nohup)
// stays ignored. Called first thing by each program.
void InstallTempFileCleanup();

// Registers and forgets a temporary file. Up to eight at once are kept;
// a path that does not fit the table is not registered.
void RegisterTempFile(const std::string& path) noexcept;
void ForgetTempFile(const std::string& path) noexcept;

}  // namespace vxa
