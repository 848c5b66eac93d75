#include "cli/ProgressLine.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "cli/TerminalText.h"

namespace cli {

namespace {

using std::chrono::duration;
using std::chrono::seconds;

// Cutting the name below this many columns leaves too little to tell names apart.
constexpr int kShortestName = 8;
const QString kGap = QStringLiteral("  ");

double SecondsOf(std::chrono::milliseconds time) { return duration<double>(time).count(); }

QString RateText(const TProgress& progress) {
  const std::optional<double> rate = RateOf(progress);
  return (rate ? QString::number(*rate, 'f', 1) : QStringLiteral("--")) + QStringLiteral("/s");
}

QString TimeLeftText(const TProgress& progress) {
  const std::optional<seconds> left = TimeLeft(progress);
  return QStringLiteral("left ") + (left ? DurationText(*left) : QStringLiteral("--"));
}

// "(20 already there, 14 fetched)"
QString Origins(const TNameAccount& account) {
  return QStringLiteral("(%1 already there, %2 fetched)").arg(account.AlreadyOnDisk).arg(account.Fetched);
}

}  // namespace

std::optional<double> RateOf(const TProgress& progress) {
  const double elapsed = SecondsOf(progress.Elapsed);
  if (elapsed <= 0) return std::nullopt;
  return (double(progress.Done) + double(progress.Failed)) / elapsed;
}

std::optional<seconds> TimeLeft(const TProgress& progress) {
  const double dealtWith = double(progress.Done) + double(progress.Failed);
  const double toGo = double(progress.Found) - dealtWith;
  if (toGo <= 0) return seconds(0);
  const double elapsed = SecondsOf(progress.Elapsed);
  if (dealtWith <= 0 || elapsed <= 0) return std::nullopt;
  const double left = std::ceil(toGo * elapsed / dealtWith);
  // Checked as a double: a huge estimate would not fit the count of seconds.
  if (left > double(seconds(kLongestTimeLeft).count())) return std::nullopt;
  return seconds(static_cast<seconds::rep>(left));
}

QString DurationText(seconds time) {
  const long long total = time.count() < 0 ? 0 : time.count();
  const long long h = total / 3600, m = total / 60 % 60, s = total % 60;
  if (h == 0) return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QChar(u'0'));
  return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QChar(u'0')).arg(s, 2, 10, QChar(u'0'));
}

QString ProgressLine(const TProgress& progress, int width) {
  const int columns = width - 1;
  const QString name = PrintableText(progress.Name);
  const QString counts = QString::number(progress.Done) + u'/' + QString::number(progress.Found);
  struct TField {
    QString Text;
    int Rank;  // the field is left out once this many are
  };
  const TField fields[] = {
      {QString::number(progress.Failed) + QStringLiteral(" failed"), 3},
      {RateText(progress), 0},
      {DurationText(std::chrono::duration_cast<seconds>(progress.Elapsed)), 1},
      {TimeLeftText(progress), 2},
  };
  constexpr int kFieldCount = int(std::size(fields));
  QString line;
  for (int leftOut = 0;; ++leftOut) {
    QStringList kept{counts};
    for (const TField& field : fields)
      if (field.Rank >= leftOut) kept.append(field.Text);
    const QString tail = kept.join(kGap);
    const int room = columns - DisplayWidth(tail) - int(kGap.size());
    if (room >= std::min(DisplayWidth(name), kShortestName) || leftOut == kFieldCount) {
      line = FitText(name, room) + kGap + tail;
      break;
    }
  }
  return u'\r' + FitText(line, columns) + QStringLiteral("\x1b[K");
}

QString PlainEndLine(const TNameAccount& account) {
  const QString name = PrintableText(account.Name) + QStringLiteral(": ");
  const QString elapsed = DurationText(std::chrono::duration_cast<seconds>(account.Elapsed));
  if (account.SiteUnreachable)
    return name + QStringLiteral("the site could not be reached: ") + PrintableText(account.SiteProblem);
  const QString failed =
      account.Failed() ? QStringLiteral(", %1 failed").arg(account.Failed()) : QString();
  const int onDisk = account.AlreadyOnDisk + account.Fetched;
  if (account.Stopped) {
    if (account.Found == 0) return name + QStringLiteral("stopped before any wallpaper was found, ") + elapsed;
    return name + QStringLiteral("stopped, %1 of %2 on disk ").arg(onDisk).arg(account.Found) + Origins(account) +
           failed + QStringLiteral(", ") + elapsed;
  }
  if (account.Found == 0) return name + QStringLiteral("no wallpapers found, ") + elapsed;
  if (account.Complete())
    return name + QStringLiteral("all %1 on disk ").arg(account.Found) + Origins(account) + QStringLiteral(", ") +
           elapsed;
  return name + QStringLiteral("%1 of %2 on disk ").arg(onDisk).arg(account.Found) + Origins(account) + failed +
         QStringLiteral(", ") + elapsed;
}

QString PlainFailureLine(const QString& name, const TFailure& failure) {
  return PrintableText(name) + QStringLiteral(": ") + FailureText(failure);
}

}  // namespace cli
