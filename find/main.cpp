// halvorine-find [OPTIONS] TEXT PATH...: the window's layer search from the
// command line. Everything but the process set-up lives in halvorine_find.
#include "Console.h"
#include "FindOptions.h"
#include "FindRun.h"
#include "platform/qt/PosixFileSystem.h"
#include "psd/ReadAheadPolicy.h"

#include <csignal>

#include <unistd.h>

int main(int argc, char** argv) {
    using hv::find::CommandLine;
    // A reader that goes away shows up as a failed write, and a stdout closed
    // from the start writes to /dev/null: both end the search quietly.
    std::signal(SIGPIPE, SIG_IGN);
    // Past a file-size limit a write fails (EFBIG) instead of ending the
    // process: a full output is reported, a full layer cache turns itself off.
    std::signal(SIGXFSZ, SIG_IGN);
    hv::find::keepStandardDescriptorsOpen();
    hv::psd::returnLargeBuffersWhenFreed();

    const CommandLine commandLine = hv::find::parseCommandLine({argv + 1, argv + argc});
    switch (commandLine.action) {
    case CommandLine::Action::Help: return hv::find::writeAll(STDOUT_FILENO, hv::find::helpText()) == 0 ? 0 : 2;
    case CommandLine::Action::Version: return hv::find::writeAll(STDOUT_FILENO, hv::find::versionText()) == 0 ? 0 : 2;
    case CommandLine::Action::UsageError:
        hv::find::writeAll(STDERR_FILENO, "halvorine-find: " + commandLine.error
                                              + "\nTry 'halvorine-find --help' for more information.\n");
        return 2;
    case CommandLine::Action::Search: break;
    }
    for (const std::string& warning : commandLine.warnings)
        hv::find::writeAll(STDERR_FILENO, "halvorine-find: " + warning + "\n");

    hv::PosixFileSystem fileSystem;
    hv::find::OutputStream out(STDOUT_FILENO);
    hv::find::ProgressLine progress(STDERR_FILENO, ::isatty(STDERR_FILENO) == 1);
    hv::find::ErrorLog errors(STDERR_FILENO, progress);
    return hv::find::FindRun(commandLine.options, fileSystem, out, errors, progress).run();
}
