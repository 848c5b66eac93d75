#pragma once
// What ostrana-get tells at the end of a run: for every name it ran, the
// wallpapers found, already on disk, fetched and failed (each failure with its
// id, size and reason), whether the site could be reached, whether the run was
// stopped; and from all of that the exit status, a plain-text summary and a
// JSON account.
//
// A wallpaper here is one picture in one of the selected sizes, as the run
// lists, fetches and files it.
//
// Exit status over all names, the first that applies:
//   3  the site could not be reached for some name: nothing else in the
//      account can be trusted to say what is on the site;
//   1  some wallpaper is not on disk: it failed, the run was stopped, or the
//      counts fall short of what was found;
//   0  every selected wallpaper of every name is on disk (a name whose listing
//      holds no wallpaper has nothing missing).
// 2 (a usage error) is decided before any run, and 130 (a second Ctrl-C) ends
// the process without an account.
//
// The JSON account (QJsonDocument, indented; keys are stable, and a name with
// no failures has an empty list):
//   {
//     "exitStatus": 1,
//     "stopped": false,            // some run was stopped (Ctrl-C, SIGTERM)
//     "names": [
//       {
//         "name": "Demo Model",
//         "found": 36,             // wallpapers listed in the selected sizes
//         "alreadyOnDisk": 20,     // kept from an earlier run
//         "fetched": 14,           // downloaded by this run
//         "failed": 2,             // the length of "failures"
//         "failures": [ { "id": "1234", "size": "1920x1200", "reason": "..." } ],
//         "siteUnreachable": false,
//         "siteProblem": "",       // why the site could not be reached, else ""
//         "stopped": false,
//         "elapsedMs": 42000
//       }
//     ]
//   }

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>

namespace cli {

inline constexpr int kExitAllOnDisk = 0;
inline constexpr int kExitIncomplete = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitSiteUnreachable = 3;

// One wallpaper that could not be loaded.
struct TFailure {
  QString Id;
  QString Size;    // "1920x1200"
  QString Reason;  // the last try's outcome, as the log says it

  bool operator==(const TFailure&) const = default;
};

// The run of one name.
struct TNameAccount {
  QString Name;
  int Found = 0;
  int AlreadyOnDisk = 0;
  int Fetched = 0;
  QList<TFailure> Failures;
  bool SiteUnreachable = false;  // the first listing page never arrived
  QString SiteProblem;           // why, when SiteUnreachable
  bool Stopped = false;          // Ctrl-C or SIGTERM ended it early
  std::chrono::milliseconds Elapsed{0};

  int Failed() const { return int(Failures.size()); }
  // Every wallpaper found is on disk, and the run went to its end.
  bool Complete() const;
};

// "not loaded: 1234 at 1920x1200: <reason>", made printable (see cli/TerminalText.h).
QString FailureText(const TFailure& failure);

// What kept the command from doing all it was asked that no name's account
// shows: a stop before the next name or entry began, a Batch.ini that could
// not be saved.
struct TUndone {
  bool Stopped = false;
  bool Unsaved = false;
};

// The exit status over all names, by the precedence above; 0 for no names,
// unless something was left undone.
int ExitStatus(const QList<TNameAccount>& accounts, TUndone undone = {});

// A few lines per name (its end line, then one indented line per failure),
// then a total line when there is more than one name; every line ends in "\n".
// Names and reasons are made printable (see cli/TerminalText.h).
QString SummaryText(const QList<TNameAccount>& accounts);

// The summary's last line over several names: "N names: D of F on disk, X failed\n".
QString TotalLine(const QList<TNameAccount>& accounts);

// The JSON account described above, names and reasons exactly as they are.
QByteArray AccountJson(const QList<TNameAccount>& accounts, TUndone undone = {});

}  // namespace cli
