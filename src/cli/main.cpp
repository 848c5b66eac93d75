// ostrana-get: the window's downloads from a terminal, over SSH or from a timer.
// The command line is read, Ctrl-C is watched, and the command runs.

#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "cli/Account.h"
#include "cli/GetCommand.h"
#include "cli/Interrupt.h"
#include "cli/Options.h"

namespace {

int TerminalColumns(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

}  // namespace

int main(int argc, char** argv) {
  const QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  const cli::TParsedCommand parsed = cli::ParseGetOptions(args, QDir::currentPath());
  if (!parsed.Options) {
    std::fputs(parsed.Error.toUtf8().constData(), stderr);
    if (!parsed.Error.endsWith(u'\n')) std::fputc('\n', stderr);
    return cli::kExitUsage;
  }

  cli::TOutput output;
  output.OutIsTerminal = isatty(STDOUT_FILENO) == 1;
  output.ErrIsTerminal = isatty(STDERR_FILENO) == 1;
  output.Columns = TerminalColumns(parsed.Options->Json ? STDERR_FILENO : STDOUT_FILENO);

  try {
    // The first Ctrl-C asks the command to stop, as "Stop" does; the second
    // ends the program at once (the interrupt's own handler does that).
    const cli::TInterrupt interrupt;
    std::atomic<bool> stop{false}, done{false};
    std::thread watch([&] {
      while (!done) {
        if (!interrupt.WaitForStop(std::chrono::milliseconds(100))) continue;
        stop = true;
        std::fputs("\nostrana-get: stopping; press Ctrl-C again to end at once\n", stderr);
        return;
      }
    });
    const int status = cli::RunGetCommand(*parsed.Options, output, stop);
    done = true;
    watch.join();
    return status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ostrana-get: %s\n", error.what());
    return cli::kExitIncomplete;
  }
}
