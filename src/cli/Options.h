#pragma once
// The command line of ostrana-get: what to do (download names, run the
// batch, print the index of names, fetch the thumbnails, or print the help
// or the version) and how, read into one struct; or why the line cannot be
// run, for stderr (the caller then ends with kExitUsage).

#include <QString>
#include <QStringList>
#include <optional>

#include "download/Resolution.h"

namespace cli {

enum class TGetMode {
  Download,    // NAME...: each name in turn
  Batch,       // --batch: the ticked entries of Batch.ini
  ListNames,   // --names: the site's index of names, one per line
  Thumbnails,  // --thumbnails: the thumbnail pass into AllGirls/
  Help,        // --help (or -h): anywhere before "--", it wins over all else
  Version,     // --version
};

struct TGetOptions {
  TGetMode Mode = TGetMode::Download;
  QStringList Names;  // Download: as given, in order; each has a folder under Wallpapers/
  QString Dir;        // absolute and clean; the current folder unless --dir says otherwise
  std::optional<int> Threads;        // 1 to 50; none: Settings.ini's [Last Session]
  std::optional<download::TResParams> Sizes;   // none: Settings.ini's [Last Session]
  bool Quiet = false;                // print only failures
  bool Json = false;                 // print the final account as JSON
};

// The options, or the text to print on stderr.
struct TParsedCommand {
  std::optional<TGetOptions> Options;
  QString Error;  // "ostrana-get: <why>" and a pointer to --help, when Options is none
};

// Reads `args` (without the program's own name). `currentDir` (absolute) is
// the default folder and what a relative --dir is taken from; nothing on
// disk is looked at. Options take their value as "--opt=value" or
// "--opt value"; "--" ends the options, so a name may begin with "-".
TParsedCommand ParseGetOptions(const QStringList& args, const QString& currentDir);

// The text --help prints: the usage, the options and the exit statuses.
QString HelpText();
// The text --version prints: "ostrana-get <version>".
QString VersionText();

}  // namespace cli
