#include "cli/Options.h"

#include <QDir>
#include <QRegularExpression>
#include <array>

#include "cli/TerminalText.h"
#include "control/LastSession.h"
#include "download/DiskLayout.h"

namespace cli {

namespace {

const QString kProgram = QStringLiteral("ostrana-get");

enum class TKey { Batch, Names, Thumbnails, Dir, Threads, Sizes, AllSizes, Quiet, Json };

struct TKnownOption {
  const char* Name;
  TKey Key;
  const char* Value;  // what the option takes, for messages; nullptr for none
};

constexpr std::array<TKnownOption, 9> kKnownOptions{{
    {"--batch", TKey::Batch, nullptr},
    {"--names", TKey::Names, nullptr},
    {"--thumbnails", TKey::Thumbnails, nullptr},
    {"--dir", TKey::Dir, "a folder"},
    {"--threads", TKey::Threads, "a number"},
    {"--sizes", TKey::Sizes, "a list of sizes"},
    {"--all-sizes", TKey::AllSizes, nullptr},
    {"--quiet", TKey::Quiet, nullptr},
    {"--json", TKey::Json, nullptr},
}};

const TKnownOption* FindOption(const QString& name) {
  for (const TKnownOption& known : kKnownOptions)
    if (name == QLatin1String(known.Name)) return &known;
  return nullptr;
}

// Quoted, and printable: a name may hold what would upset the terminal.
QString Quoted(const QString& text) { return u'"' + PrintableText(text) + u'"'; }

TParsedCommand Refuse(const QString& why) {
  return {std::nullopt, kProgram + QStringLiteral(": ") + why + QStringLiteral("\nTry \"") + kProgram +
                            QStringLiteral(" --help\" for its usage.\n")};
}

QString KnownSizes() {
  QStringList sizes;
  for (const download::TResolution r : download::FolderOrder()) sizes.append(download::SizeText(r));
  return sizes.join(QStringLiteral(", "));
}

// The sizes as lines of at most 79 columns, each after `indent` blanks.
QString SizeLines(int indent) {
  QString lines, line;
  for (const download::TResolution r : download::FolderOrder()) {
    const QString item = download::SizeText(r) + u',';
    if (!line.isEmpty() && indent + line.size() + 1 + item.size() > 79) {
      lines += QString(indent, u' ') + line + u'\n';
      line.clear();
    }
    line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + item;
  }
  line.chop(1);  // the last comma
  return lines + QString(indent, u' ') + line + u'\n';
}

// Why `name` can be no run's name; empty when it can be one. The rule itself
// is the disk layout's: a name is run only where it has a folder.
QString NameProblem(const QString& dir, const QString& name) {
  // Settings.ini could not keep a line break, and no one types a control
  // character into a name on purpose.
  if (PrintableText(name) != name)
    return QStringLiteral("the name %1 holds a control character (a line break, a tab...)").arg(Quoted(name));
  if (download::NameFolder(dir, name)) return QString();
  if (name.isEmpty()) return QStringLiteral("a name cannot be empty");
  if (!download::NamePart(name))
    return QStringLiteral("the name %1 holds \"\u2215\" (U+2215), which stands for \"/\" in folder names, so it "
                          "would be read back as another name")
        .arg(Quoted(name));
  if (name == u"." || name == u"..") return QStringLiteral("the name %1 cannot be a folder name").arg(Quoted(name));
  return QStringLiteral("the name %1 is too long for a folder name (more than %2 bytes)")
      .arg(Quoted(name))
      .arg(download::kMaxFileNameBytes);
}

std::optional<int> ThreadCount(const QString& text) {
  static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
  if (!digits.match(text).hasMatch()) return std::nullopt;
  const int n = text.toInt();
  if (n < control::kMinThreads || n > control::kMaxThreads) return std::nullopt;
  return n;
}

// The sizes of a --sizes list, or why it is none.
std::optional<download::TResParams> SizeList(const QString& text, QString& problem) {
  if (text.trimmed().isEmpty()) {
    problem = QStringLiteral("--sizes needs at least one size (the sizes are %1)").arg(KnownSizes());
    return std::nullopt;
  }
  download::TResParams sizes;
  for (const QString& item : text.split(u',')) {
    const QString size = item.trimmed();
    if (size.isEmpty()) {
      problem = QStringLiteral("--sizes %1 lacks a size between its commas (the sizes are %2)")
                    .arg(Quoted(text), KnownSizes());
      return std::nullopt;
    }
    const std::optional<download::TResolution> r = download::ResolutionFromText(size);
    if (!r) {
      problem = QStringLiteral("the site has no size %1 (the sizes are %2)").arg(Quoted(size), KnownSizes());
      return std::nullopt;
    }
    sizes.Include(*r);
  }
  return sizes;
}

QString ModeName(TKey key) {
  for (const TKnownOption& known : kKnownOptions)
    if (known.Key == key) return QLatin1String(known.Name);
  return QString();
}

}  // namespace

TParsedCommand ParseGetOptions(const QStringList& args, const QString& currentDir) {
  TGetOptions options;
  options.Dir = QDir::cleanPath(currentDir);
  for (const QString& arg : args) {
    if (arg == u"--") break;
    if (arg == u"--help" || arg == u"-h") {
      options.Mode = TGetMode::Help;
      return {options, {}};
    }
  }
  for (const QString& arg : args) {
    if (arg == u"--") break;
    if (arg == u"--version") {
      options.Mode = TGetMode::Version;
      return {options, {}};
    }
  }

  QList<TKey> given;
  QList<TKey> modes;
  std::optional<QString> dir;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == u"--") {
      options.Names.append(args.mid(i + 1));
      break;
    }
    if (!arg.startsWith(u'-')) {
      options.Names.append(arg);
      continue;
    }
    const qsizetype equals = arg.startsWith(QStringLiteral("--")) ? arg.indexOf(u'=') : -1;
    const QString name = equals < 0 ? arg : arg.left(equals);
    const TKnownOption* known = FindOption(name);
    if (!known)
      return Refuse(
          QStringLiteral("there is no option %1 (a name that begins with \"-\" goes after \"--\")").arg(Quoted(name)));
    if (given.contains(known->Key)) return Refuse(QStringLiteral("%1 is given twice").arg(name));
    given.append(known->Key);

    QString value;
    if (!known->Value) {
      if (equals >= 0) return Refuse(QStringLiteral("%1 takes no value").arg(name));
    } else if (equals >= 0) {
      value = arg.mid(equals + 1);
    } else if (i + 1 < args.size() && !args[i + 1].startsWith(QStringLiteral("--"))) {
      value = args[++i];
    } else {
      return Refuse(QStringLiteral("%1 needs %2 (one that begins with \"--\" goes as %1=VALUE)")
                        .arg(name, QLatin1String(known->Value)));
    }

    switch (known->Key) {
      case TKey::Batch:
      case TKey::Names:
      case TKey::Thumbnails:
        modes.append(known->Key);
        break;
      case TKey::Dir:
        if (value.isEmpty()) return Refuse(QStringLiteral("--dir needs a folder"));
        dir = value;
        break;
      case TKey::Threads:
        options.Threads = ThreadCount(value);
        if (!options.Threads)
          return Refuse(QStringLiteral("--threads takes a whole number from %1 to %2, not %3")
                            .arg(control::kMinThreads)
                            .arg(control::kMaxThreads)
                            .arg(Quoted(value)));
        break;
      case TKey::Sizes:
      case TKey::AllSizes:
        if (given.contains(TKey::Sizes) && given.contains(TKey::AllSizes))
          return Refuse(QStringLiteral("--sizes and --all-sizes conflict: give one of them"));
        if (known->Key == TKey::AllSizes) {
          options.Sizes = download::TResParams::All();
        } else {
          QString problem;
          options.Sizes = SizeList(value, problem);
          if (!options.Sizes) return Refuse(problem);
        }
        break;
      case TKey::Quiet:
        options.Quiet = true;
        break;
      case TKey::Json:
        options.Json = true;
        break;
    }
  }

  // Exactly one thing to do.
  QStringList asked;
  if (!options.Names.isEmpty())
    asked.append(QStringLiteral("names to download (%1)").arg(Quoted(options.Names.front())));
  for (const TKey mode : modes) asked.append(ModeName(mode));
  if (asked.isEmpty())
    return Refuse(QStringLiteral("nothing to do: give the names to download, --batch, --names or --thumbnails"));
  if (asked.size() > 1)
    return Refuse(asked.join(QStringLiteral(" and ")) +
                  QStringLiteral(" conflict: give one of the names to download, --batch, --names or --thumbnails"));
  if (!modes.isEmpty()) {
    options.Mode = modes.front() == TKey::Batch   ? TGetMode::Batch
                   : modes.front() == TKey::Names ? TGetMode::ListNames
                                                  : TGetMode::Thumbnails;
  }

  // The index and the thumbnail pass fetch one thing at a time, whatever the
  // sizes, and give no account of wallpapers.
  if (options.Mode == TGetMode::ListNames || options.Mode == TGetMode::Thumbnails) {
    for (const TKey key : {TKey::Threads, TKey::Sizes, TKey::AllSizes, TKey::Json})
      if (given.contains(key))
        return Refuse(QStringLiteral("%1 has no meaning with %2").arg(ModeName(key), ModeName(modes.front())));
  }

  if (dir) options.Dir = QDir::cleanPath(QDir(options.Dir).absoluteFilePath(*dir));
  for (qsizetype i = 0; i < options.Names.size(); ++i) {
    const QString& name = options.Names[i];
    if (const QString problem = NameProblem(options.Dir, name); !problem.isEmpty()) return Refuse(problem);
    if (options.Names.indexOf(name) < i) return Refuse(QStringLiteral("the name %1 is given twice").arg(Quoted(name)));
  }
  return {options, {}};
}

QString HelpText() {
  return QStringLiteral(
             "Usage: ostrana-get [OPTION]... NAME...\n"
             "       ostrana-get [OPTION]... --batch\n"
             "       ostrana-get [OPTION]... --names\n"
             "       ostrana-get [OPTION]... --thumbnails\n"
             "\n"
             "Downloads the wallpapers of a person's name, without a window, into\n"
             "Wallpapers/NAME/SIZE/ of the working folder, keeping what is already there.\n"
             "\n"
             "What to do (exactly one):\n"
             "  NAME...            download each name in turn (one argument per name:\n"
             "                     quote a name with blanks, \"Demo Model\")\n"
             "  --batch            download the ticked entries of Batch.ini\n"
             "  --names            print the site's index of names, one per line\n"
             "  --thumbnails       fetch the site's names' missing thumbnails into AllGirls/\n"
             "\n"
             "Options:\n"
             "  --dir DIR          work in DIR (default: the current folder)\n"
             "  --threads N        download with N threads, 1 to 50\n"
             "                     (default: the last choice in Settings.ini)\n"
             "  --sizes LIST       keep these sizes, separated by commas, of:\n"
             "%1"
             "                     (default: the last choice in Settings.ini)\n"
             "  --all-sizes        keep all nine sizes\n"
             "  --quiet            print only failures\n"
             "  --json             print the final account as JSON on stdout\n"
             "  -h, --help         print this help and end\n"
             "  --version          print the version and end\n"
             "  --                 end of options: every argument after it is a name\n"
             "An option's value may also be given as --opt=VALUE.\n"
             "\n"
             "Ctrl-C (or SIGTERM) stops the run; a second one ends the program at once.\n"
             "Either way no file is left half written.\n"
             "\n"
             "Exit status:\n"
             "  0    every selected wallpaper of every name is on disk\n"
             "  1    some wallpapers could not be loaded, or the run was stopped\n"
             "  2    the command line is wrong\n"
             "  3    the site could not be reached (this wins over 1)\n"
             "  4    another copy of the program works in the folder: nothing was done\n"
             "  130  a second Ctrl-C or SIGTERM ended the program at once\n"
             "\n"
             "See ostrana-get(1) for the files it reads and writes.\n")
      .arg(SizeLines(21));
}

QString VersionText() { return kProgram + QStringLiteral(" " OSTRANA_VERSION "\n"); }

}  // namespace cli
