#include "cli/Session.h"

#include <new>
#include <ostream>

#include "core/Compiler.h"
#include "core/Loader.h"

namespace vxa::cli {

bool Session::load(const std::string& path) {
    LoadObserver quiet;
    const bool noStop = false;
    try {
        if (LoadArchive(Fs, path, Archive, quiet, noStop) == LoadOutcome::FileMissing) {
            message("File doesn't exist !!!");
            return false;
        }
    } catch (const IoError& e) {
        ioError(path, e.what());
        return false;
    } catch (const std::bad_alloc&) {
        ioError(path, kOutOfMemory);
        return false;
    }
    return true;
}

bool Session::compile(const std::string& output) {
    try {
        CompileArchive(Fs, Archive, Plan, output);
        return true;
    } catch (const CompileRefused& e) {
        message(e.what());
    } catch (const IoError& e) {
        ioError(e.path().empty() ? output : e.path(), e.what());
    } catch (const std::bad_alloc&) {
        ioError(output, kOutOfMemory);
    }
    return false;
}

void Session::message(const std::string& text) {
    std::string line = text;
    for (char& ch : line) {
        if (ch == '\r')
            ch = '\n';
    }
    Err << line << '\n';
}

void Session::ioError(const std::string& path, const std::string& text) {
    Err << "vxa-tool: " << (path.empty() ? "" : path + ": ") << text << '\n';
}

}  // namespace vxa::cli
