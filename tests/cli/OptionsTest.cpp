// The command line of ostrana-get: every form a user may type, and a message
// that says why for every line that cannot be run.

#include <gtest/gtest.h>

#include "cli/Options.h"
#include "common/QtPrint.h"
#include "download/DiskLayout.h"

namespace {

using cli::ParseGetOptions;
using cli::TGetMode;
using download::TResolution;
using download::TResParams;

const QString kHere = QStringLiteral("/home/u/pics");

TResParams Sizes(std::initializer_list<TResolution> sizes) {
  TResParams params;
  for (const TResolution r : sizes) params.Include(r);
  return params;
}

TEST(Options, ReadsEachFormOfALine) {
  const struct {
    QStringList Args;
    TGetMode Mode;
    QStringList Names;
    QString Dir;
    std::optional<int> Threads;
    std::optional<TResParams> Sizes;
    bool Quiet, Json;
  } cases[] = {
      {{"Demo Model"}, TGetMode::Download, {"Demo Model"}, kHere, {}, {}, false, false},
      {{"Ann Other", "Demo Model"}, TGetMode::Download, {"Ann Other", "Demo Model"}, kHere, {}, {}, false, false},
      {{"--threads", "5", "Ann"}, TGetMode::Download, {"Ann"}, kHere, 5, {}, false, false},
      {{"--threads=50", "Ann"}, TGetMode::Download, {"Ann"}, kHere, 50, {}, false, false},
      {{"Ann", "--threads", "01"}, TGetMode::Download, {"Ann"}, kHere, 1, {}, false, false},
      {{"--sizes", "1024x768,1920x1200", "Ann"},
       TGetMode::Download, {"Ann"}, kHere, {}, Sizes({download::tr1024x768, download::tr1920x1200}), false, false},
      {{"--sizes=1920x1200, 1280x1024", "Ann"},
       TGetMode::Download, {"Ann"}, kHere, {}, Sizes({download::tr1280x1024, download::tr1920x1200}), false, false},
      {{"--sizes=1024x768,1024x768", "Ann"},
       TGetMode::Download, {"Ann"}, kHere, {}, Sizes({download::tr1024x768}), false, false},
      {{"--all-sizes", "Ann"}, TGetMode::Download, {"Ann"}, kHere, {}, TResParams::All(), false, false},
      {{"--quiet", "--json", "Ann"}, TGetMode::Download, {"Ann"}, kHere, {}, {}, true, true},
      {{"--batch"}, TGetMode::Batch, {}, kHere, {}, {}, false, false},
      {{"--batch", "--threads", "3", "--all-sizes", "--json"},
       TGetMode::Batch, {}, kHere, 3, TResParams::All(), false, true},
      {{"--names"}, TGetMode::ListNames, {}, kHere, {}, {}, false, false},
      {{"--thumbnails", "--quiet"}, TGetMode::Thumbnails, {}, kHere, {}, {}, true, false},
      // The folder: relative to the current one, always absolute and clean.
      {{"--dir", "sub/../other", "Ann"}, TGetMode::Download, {"Ann"}, kHere + "/other", {}, {}, false, false},
      {{"--dir=../walls/", "Ann"}, TGetMode::Download, {"Ann"}, "/home/u/walls", {}, {}, false, false},
      {{"--dir=/srv/walls/", "--batch"}, TGetMode::Batch, {}, "/srv/walls", {}, {}, false, false},
      {{"--dir", "-odd", "--batch"}, TGetMode::Batch, {}, kHere + "/-odd", {}, {}, false, false},
      // Names that look like options, after "--"; a name may be a size, a
      // number or "-" too.
      {{"--", "--batch", "-x"}, TGetMode::Download, {"--batch", "-x"}, kHere, {}, {}, false, false},
      {{"--quiet", "--", "-"}, TGetMode::Download, {"-"}, kHere, {}, {}, true, false},
      {{"1024x768", "5"}, TGetMode::Download, {"1024x768", "5"}, kHere, {}, {}, false, false},
      {{"AC/DC", "Zoë Ünal", "山田"}, TGetMode::Download, {"AC/DC", "Zoë Ünal", "山田"}, kHere, {}, {}, false, false},
      {{"   "}, TGetMode::Download, {"   "}, kHere, {}, {}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.join(" | ").toStdString());
    const cli::TParsedCommand parsed = ParseGetOptions(c.Args, kHere);
    ASSERT_TRUE(parsed.Options) << parsed.Error.toStdString();
    EXPECT_TRUE(parsed.Error.isEmpty());
    const cli::TGetOptions& o = *parsed.Options;
    EXPECT_EQ(o.Mode, c.Mode);
    EXPECT_EQ(o.Names, c.Names);
    EXPECT_EQ(o.Dir, c.Dir);
    EXPECT_EQ(o.Threads, c.Threads);
    EXPECT_EQ(o.Sizes, c.Sizes);
    EXPECT_EQ(o.Quiet, c.Quiet);
    EXPECT_EQ(o.Json, c.Json);
  }
}

TEST(Options, RefusesWhatCannotBeRunAndSaysWhy) {
  const QString longest = QString(download::kMaxFileNameBytes, u'n');
  const struct {
    QStringList Args;
    QString Why;  // a part of the message
  } cases[] = {
      {{}, "nothing to do"},
      {{"--quiet"}, "nothing to do"},
      {{"--bogus", "Ann"}, "there is no option \"--bogus\""},
      {{"-x"}, "there is no option \"-x\" (a name that begins with \"-\" goes after \"--\")"},
      {{"-"}, "there is no option \"-\""},
      {{"--Batch"}, "there is no option \"--Batch\""},
      {{"--batch=yes"}, "--batch takes no value"},
      {{"--quiet=1", "Ann"}, "--quiet takes no value"},
      // Exactly one thing to do.
      {{"Ann", "--batch"}, "names to download (\"Ann\") and --batch conflict"},
      {{"--names", "--thumbnails"}, "--names and --thumbnails conflict"},
      {{"--batch", "--names", "Ann"}, "names to download (\"Ann\") and --batch and --names conflict"},
      {{"--batch", "--batch"}, "--batch is given twice"},
      // Values.
      {{"--threads"}, "--threads needs a number"},
      {{"--threads", "--batch"}, "--threads needs a number (one that begins with \"--\" goes as --threads=VALUE)"},
      {{"--threads", "0", "Ann"}, "--threads takes a whole number from 1 to 50, not \"0\""},
      {{"--threads", "51", "Ann"}, "not \"51\""},
      {{"--threads=-3", "Ann"}, "not \"-3\""},
      {{"--threads= 5", "Ann"}, "not \" 5\""},
      {{"--threads=5.0", "Ann"}, "not \"5.0\""},
      {{"--threads=", "Ann"}, "not \"\""},
      {{"--threads=99999999999999999999", "Ann"}, "not \"99999999999999999999\""},
      {{"--threads=five", "Ann"}, "not \"five\""},
      {{"--threads", "5", "--threads", "5", "Ann"}, "--threads is given twice"},
      {{"--sizes", "800x600", "Ann"}, "the site has no size \"800x600\" (the sizes are 1024x768, 1152x864,"},
      {{"--sizes", "1024X768", "Ann"}, "the site has no size \"1024X768\""},
      {{"--sizes=", "Ann"}, "--sizes needs at least one size (the sizes are 1024x768,"},
      {{"--sizes", " ", "Ann"}, "--sizes needs at least one size"},
      {{"--sizes=1024x768,,1920x1200", "Ann"}, "lacks a size"},
      {{"--sizes=1024x768", "--all-sizes", "Ann"}, "--sizes and --all-sizes conflict"},
      {{"--all-sizes", "--sizes=1024x768", "Ann"}, "--sizes and --all-sizes conflict"},
      {{"--all-sizes", "--all-sizes", "Ann"}, "--all-sizes is given twice"},
      {{"--sizes=1024x768", "--sizes=1920x1200", "Ann"}, "--sizes is given twice"},
      {{"--dir", "", "--batch"}, "--dir needs a folder"},
      {{"--dir"}, "--dir needs a folder"},
      {{"--dir", "a", "--dir", "b", "--batch"}, "--dir is given twice"},
      // What means nothing for the index or the thumbnails.
      {{"--names", "--threads", "4"}, "--threads has no meaning with --names"},
      {{"--thumbnails", "--all-sizes"}, "--all-sizes has no meaning with --thumbnails"},
      {{"--sizes=1024x768", "--names"}, "--sizes has no meaning with --names"},
      {{"--names", "--json"}, "--json has no meaning with --names"},
      // Names that have no folder under Wallpapers/, or that the command line
      // would run twice.
      {{""}, "a name cannot be empty"},
      {{"--", ""}, "a name cannot be empty"},
      {{"."}, "the name \".\" cannot be a folder name"},
      {{".."}, "the name \"..\" cannot be a folder name"},
      {{"AC\u2215DC"}, "holds \"\u2215\" (U+2215)"},
      {{longest + "n"}, "is too long for a folder name (more than 255 bytes)"},
      {{"Ann\nOther"}, "the name \"Ann?Other\" holds a control character"},
      {{"Ann\tOther"}, "holds a control character"},
      {{"Ann\x1b[2J"}, "the name \"Ann?[2J\" holds a control character"},
      {{"Ann", "Bee", "Ann"}, "the name \"Ann\" is given twice"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.join(" | ").toStdString());
    const cli::TParsedCommand parsed = ParseGetOptions(c.Args, kHere);
    EXPECT_FALSE(parsed.Options);
    EXPECT_TRUE(parsed.Error.startsWith("ostrana-get: ")) << parsed.Error.toStdString();
    EXPECT_TRUE(parsed.Error.contains(c.Why)) << parsed.Error.toStdString();
    EXPECT_TRUE(parsed.Error.endsWith("Try \"ostrana-get --help\" for its usage.\n")) << parsed.Error.toStdString();
  }
  // The longest name a folder takes is still a name.
  EXPECT_TRUE(ParseGetOptions({longest}, kHere).Options);
}

TEST(Options, HelpAndVersionWinOverTheRestOfTheLine) {
  const struct {
    QStringList Args;
    TGetMode Mode;
  } cases[] = {
      {{"--help"}, TGetMode::Help},
      {{"-h"}, TGetMode::Help},
      {{"--batch", "Ann", "--bogus", "--help"}, TGetMode::Help},
      {{"--version", "--help"}, TGetMode::Help},
      {{"--version"}, TGetMode::Version},
      {{"--threads=0", "--version"}, TGetMode::Version},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.join(" | ").toStdString());
    const cli::TParsedCommand parsed = ParseGetOptions(c.Args, kHere);
    ASSERT_TRUE(parsed.Options);
    EXPECT_EQ(parsed.Options->Mode, c.Mode);
  }
  // After "--" they are names.
  const cli::TParsedCommand names = ParseGetOptions({"--", "--help", "--version"}, kHere);
  ASSERT_TRUE(names.Options);
  EXPECT_EQ(names.Options->Mode, TGetMode::Download);
  EXPECT_EQ(names.Options->Names, QStringList({"--help", "--version"}));
}

TEST(Options, HelpTellsEveryOptionEverySizeAndEveryExitStatus) {
  const QString help = cli::HelpText();
  for (const char* option : {"--batch", "--names", "--thumbnails", "--dir DIR", "--threads N", "--sizes LIST",
                             "--all-sizes", "--quiet", "--json", "--help", "--version", "NAME..."})
    EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
  for (const TResolution r : download::FolderOrder())
    EXPECT_TRUE(help.contains(download::SizeText(r))) << download::SizeText(r).toStdString();
  for (const char* status : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  130 "})
    EXPECT_TRUE(help.contains(QLatin1String(status))) << status;
  // It fits a terminal of 80 columns.
  for (const QString& line : help.split(u'\n')) EXPECT_LE(line.size(), 79) << line.toStdString();

  EXPECT_TRUE(cli::VersionText().startsWith("ostrana-get "));
  EXPECT_TRUE(cli::VersionText().endsWith("\n"));
}

}  // namespace
