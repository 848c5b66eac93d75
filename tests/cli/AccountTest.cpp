// The end of a run: the exit status over all names, the summary a user reads
// and the JSON a script reads.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/Account.h"
#include "common/QtPrint.h"

namespace {

using namespace std::chrono_literals;
using cli::TNameAccount;

TNameAccount AllOnDisk(const QString& name) { return {name, 36, 20, 16, {}, false, {}, false, 42'000ms}; }
TNameAccount SomeFailed(const QString& name) {
  return {name, 36, 20, 14, {{"1234", "1920x1200", "HTTP 404"}, {"99", "1024x768", "not a JPEG"}}, false, {}, false,
          42'000ms};
}
TNameAccount Unreachable(const QString& name) {
  return {name, 0, 0, 0, {}, true, "http://127.0.0.1:9/: Connection refused", false, 1'000ms};
}

TEST(Account, ExitStatusOverAllNames) {
  TNameAccount stopped = AllOnDisk("Ann");
  stopped.Stopped = true;  // even with every count in place
  TNameAccount shortOfFound = AllOnDisk("Ann");
  shortOfFound.Fetched = 10;
  const TNameAccount nothingListed{"Ann", 0, 0, 0, {}, false, {}, false, 1'000ms};
  const struct {
    const char* What;
    QList<TNameAccount> Accounts;
    int Status;
    cli::TUndone Undone = {};
  } cases[] = {
      {"no names", {}, cli::kExitAllOnDisk},
      {"a stop before the first name", {}, cli::kExitIncomplete, {.Stopped = true}},
      {"all on disk, Batch.ini unsaved", {AllOnDisk("Ann")}, cli::kExitIncomplete, {.Unsaved = true}},
      {"unreachable wins over a stop", {Unreachable("Ann")}, cli::kExitSiteUnreachable, {.Stopped = true}},
      {"all on disk", {AllOnDisk("Ann"), AllOnDisk("Bee")}, cli::kExitAllOnDisk},
      {"a name without wallpapers", {nothingListed}, cli::kExitAllOnDisk},
      {"a failure", {AllOnDisk("Ann"), SomeFailed("Bee")}, cli::kExitIncomplete},
      {"stopped", {stopped}, cli::kExitIncomplete},
      {"short of what was found", {shortOfFound}, cli::kExitIncomplete},
      {"unreachable", {Unreachable("Ann")}, cli::kExitSiteUnreachable},
      {"unreachable wins after a failure", {SomeFailed("Ann"), Unreachable("Bee")}, cli::kExitSiteUnreachable},
      {"unreachable wins before a stop", {Unreachable("Ann"), stopped}, cli::kExitSiteUnreachable},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cli::ExitStatus(c.Accounts, c.Undone), c.Status) << c.What;
    const QJsonObject json = QJsonDocument::fromJson(cli::AccountJson(c.Accounts, c.Undone)).object();
    EXPECT_EQ(json["exitStatus"].toInt(), c.Status) << c.What;
  }
  EXPECT_EQ(cli::kExitUsage, 2);
}

TEST(Account, SummaryListsEveryNameAndFailure) {
  EXPECT_EQ(cli::SummaryText({AllOnDisk("Ann")}), "Ann: all 36 on disk (20 already there, 16 fetched), 0:42\n");
  EXPECT_EQ(cli::SummaryText({}), "");
  EXPECT_EQ(cli::SummaryText({SomeFailed("Ann"), AllOnDisk("Bee\x1b[31m"), Unreachable("Cy")}),
            "Ann: 34 of 36 on disk (20 already there, 14 fetched), 2 failed, 0:42\n"
            "  not loaded: 1234 at 1920x1200: HTTP 404\n"
            "  not loaded: 99 at 1024x768: not a JPEG\n"
            "Bee?[31m: all 36 on disk (20 already there, 16 fetched), 0:42\n"
            "Cy: the site could not be reached: http://127.0.0.1:9/: Connection refused\n"
            "3 names: 70 of 72 on disk, 2 failed\n");
}

TEST(Account, JsonKeepsItsKeysAndTheTextAsItIs) {
  TNameAccount stopped = SomeFailed("Bee\n\x1b[31m\u2215");
  stopped.Stopped = true;
  const QByteArray json = cli::AccountJson({AllOnDisk("Ann"), stopped});
  QJsonParseError error;
  const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
  EXPECT_EQ(root.keys(), QStringList({"exitStatus", "names", "stopped"}));
  EXPECT_EQ(root["exitStatus"].toInt(), cli::kExitIncomplete);
  EXPECT_EQ(root["stopped"].toBool(), true);
  const QJsonArray names = root["names"].toArray();
  ASSERT_EQ(names.size(), 2);

  const QJsonObject ann = names[0].toObject();
  EXPECT_EQ(ann.keys(), QStringList({"alreadyOnDisk", "elapsedMs", "failed", "failures", "fetched", "found", "name",
                                     "siteProblem", "siteUnreachable", "stopped"}));
  EXPECT_EQ(ann["name"].toString(), "Ann");
  EXPECT_EQ(ann["found"].toInt(), 36);
  EXPECT_EQ(ann["alreadyOnDisk"].toInt(), 20);
  EXPECT_EQ(ann["fetched"].toInt(), 16);
  EXPECT_EQ(ann["failed"].toInt(), 0);
  EXPECT_EQ(ann["failures"].toArray().size(), 0);
  EXPECT_EQ(ann["siteUnreachable"].toBool(), false);
  EXPECT_EQ(ann["siteProblem"].toString(), "");
  EXPECT_EQ(ann["stopped"].toBool(), false);
  EXPECT_EQ(ann["elapsedMs"].toInteger(), 42'000);

  const QJsonObject bee = names[1].toObject();
  EXPECT_EQ(bee["name"].toString(), "Bee\n\x1b[31m\u2215");  // a script gets the name itself
  EXPECT_EQ(bee["stopped"].toBool(), true);
  EXPECT_EQ(bee["failed"].toInt(), 2);
  const QJsonArray failures = bee["failures"].toArray();
  ASSERT_EQ(failures.size(), 2);
  EXPECT_EQ(failures[0].toObject(), QJsonObject({{"id", "1234"}, {"size", "1920x1200"}, {"reason", "HTTP 404"}}));
  EXPECT_EQ(failures[1].toObject()["reason"].toString(), "not a JPEG");

  const QJsonObject cy = QJsonDocument::fromJson(cli::AccountJson({Unreachable("Cy")})).object();
  EXPECT_EQ(cy["exitStatus"].toInt(), cli::kExitSiteUnreachable);
  const QJsonObject cyName = cy["names"].toArray()[0].toObject();
  EXPECT_EQ(cyName["siteUnreachable"].toBool(), true);
  EXPECT_EQ(cyName["siteProblem"].toString(), "http://127.0.0.1:9/: Connection refused");
}

}  // namespace
