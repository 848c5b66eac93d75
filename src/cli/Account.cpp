#include "cli/Account.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/ProgressLine.h"
#include "cli/TerminalText.h"

namespace cli {

bool TNameAccount::Complete() const {
  return !SiteUnreachable && !Stopped && Failures.isEmpty() && AlreadyOnDisk + Fetched >= Found;
}

QString FailureText(const TFailure& failure) {
  return QStringLiteral("not loaded: ") + PrintableText(failure.Id) + QStringLiteral(" at ") +
         PrintableText(failure.Size) + QStringLiteral(": ") + PrintableText(failure.Reason);
}

int ExitStatus(const QList<TNameAccount>& accounts, TUndone undone) {
  int status = undone.Stopped || undone.Unsaved ? kExitIncomplete : kExitAllOnDisk;
  for (const TNameAccount& account : accounts) {
    if (account.SiteUnreachable) return kExitSiteUnreachable;
    if (!account.Complete()) status = kExitIncomplete;
  }
  return status;
}

QString SummaryText(const QList<TNameAccount>& accounts) {
  QString text;
  for (const TNameAccount& account : accounts) {
    text += PlainEndLine(account) + u'\n';
    for (const TFailure& failure : account.Failures)
      text += QStringLiteral("  ") + FailureText(failure) + u'\n';
  }
  if (accounts.size() > 1) text += TotalLine(accounts);
  return text;
}

QString TotalLine(const QList<TNameAccount>& accounts) {
  int found = 0, onDisk = 0, failed = 0;
  for (const TNameAccount& account : accounts) {
    found += account.Found;
    onDisk += account.AlreadyOnDisk + account.Fetched;
    failed += account.Failed();
  }
  return QStringLiteral("%1 names: %2 of %3 on disk, %4 failed\n")
      .arg(accounts.size())
      .arg(onDisk)
      .arg(found)
      .arg(failed);
}

QByteArray AccountJson(const QList<TNameAccount>& accounts, TUndone undone) {
  QJsonArray names;
  bool stopped = undone.Stopped;
  for (const TNameAccount& account : accounts) {
    QJsonArray failures;
    for (const TFailure& failure : account.Failures)
      failures.append(QJsonObject{{"id", failure.Id}, {"size", failure.Size}, {"reason", failure.Reason}});
    names.append(QJsonObject{
        {"name", account.Name},
        {"found", account.Found},
        {"alreadyOnDisk", account.AlreadyOnDisk},
        {"fetched", account.Fetched},
        {"failed", account.Failed()},
        {"failures", failures},
        {"siteUnreachable", account.SiteUnreachable},
        {"siteProblem", account.SiteUnreachable ? account.SiteProblem : QString()},
        {"stopped", account.Stopped},
        {"elapsedMs", qint64(account.Elapsed.count())},
    });
    stopped = stopped || account.Stopped;
  }
  const QJsonObject root{{"exitStatus", ExitStatus(accounts, undone)}, {"stopped", stopped}, {"names", names}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace cli
