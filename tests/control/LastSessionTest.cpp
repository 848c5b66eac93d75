#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

#include "common/QtPrint.h"
#include "control/LastSession.h"

namespace {

control::TIniFile FromText(const QByteArray& text) {
  QTemporaryDir tmp;
  QFile f(tmp.filePath("Settings.ini"));
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
  f.close();
  control::TIniFile ini;
  EXPECT_EQ(ini.Load(tmp.filePath("Settings.ini")), control::TIniFile::TLoadStatus::Loaded);
  return ini;
}

TEST(TLastSession, DefaultsWithoutAFile) {
  const control::TLastSession s = control::ReadLastSession(control::TIniFile());
  EXPECT_EQ(s.Name, "");
  EXPECT_EQ(s.Threads, "10");
  EXPECT_FALSE(s.AllResolutions);
  for (int r = 0; r < download::kResolutionCount; ++r) EXPECT_EQ(s.Sizes[r], r == download::tr1024x768) << r;
}

TEST(TLastSession, OnlyAnExactYesChecksABox) {
  const control::TIniFile ini = FromText(
      "[last session]\nAllResolutions=yes\n1024x768=No\n1152x864=Yes\n1280x800=YES\n1920x1200= Yes\n");
  const control::TLastSession s = control::ReadLastSession(ini);
  EXPECT_FALSE(s.AllResolutions);
  EXPECT_FALSE(s.Sizes[download::tr1024x768]);
  EXPECT_TRUE(s.Sizes[download::tr1152x864]);
  EXPECT_FALSE(s.Sizes[download::tr1280x800]);
}

TEST(TLastSession, ThreadsTextIsKeptOrBroughtIntoRange) {
  struct {
    QByteArray stored;
    QString shown;
    int count;
  } cases[] = {{"7", "7", 7}, {"0", "1", 1}, {"-3", "1", 1}, {"51", "50", 50}, {"99999999999", "50", 50},
               {"many", "many", 1}, {"", "", 1}, {"12abc", "12abc", 1}};
  for (const auto& c : cases) {
    const control::TLastSession s = control::ReadLastSession(FromText("[Last Session]\nThreads=" + c.stored + "\n"));
    EXPECT_EQ(s.Threads, c.shown) << c.stored.constData();
    EXPECT_EQ(control::ThreadCountFromText(s.Threads), c.count) << c.stored.constData();
  }
}

TEST(TLastSession, RoundTripsEveryKeyInOrderAndKeepsOtherSections) {
  control::TIniFile ini = FromText("[Site]\nMainSiteUrl=http://127.0.0.1:8080\n[Mine]\nkey=value\n");
  control::TLastSession s;
  s.Name = QString::fromUtf8("Sample O'Name Ñ");
  s.Threads = "33";
  s.AllResolutions = true;
  s.Sizes.fill(true);
  s.Sizes[download::tr1440x900] = false;
  control::WriteLastSession(ini, s);
  QTemporaryDir tmp;
  ASSERT_TRUE(ini.Save(tmp.filePath("Settings.ini")));
  control::TIniFile back;
  ASSERT_EQ(back.Load(tmp.filePath("Settings.ini")), control::TIniFile::TLoadStatus::Loaded);
  const control::TLastSession r = control::ReadLastSession(back);
  EXPECT_EQ(r.Name, s.Name);
  EXPECT_EQ(r.Threads, "33");
  EXPECT_TRUE(r.AllResolutions);
  EXPECT_EQ(r.Sizes, s.Sizes);
  EXPECT_EQ(back.ReadString("Mine", "key", ""), "value");
  EXPECT_EQ(back.ReadSections(), (QStringList{"Site", "Mine", "Last Session"}));

  QFile f(tmp.filePath("Settings.ini"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(f.readAll());
  QStringList keys;
  for (const QString& line : text.split(u'\n'))
    if (line.contains(u'=')) keys << line.section(u'=', 0, 0);
  EXPECT_EQ(keys.mid(2), (QStringList{"Name", "Threads", "AllResolutions", "1024x768", "1152x864", "1280x800",
                                      "1280x960", "1280x1024", "1440x900", "1600x1200", "1680x1050", "1920x1200"}));
}

TEST(SiteUrls, SectionOverridesDefaultsAndSlashesAreMended) {
  const site::TSiteUrls defaults;
  const control::TIniFile ini = FromText("[site]\nMainSiteUrl=http://127.0.0.1:8080/\nImageHostUrl=http://127.0.0.2:9090\n");
  const site::TSiteUrls urls = control::ReadSiteUrls(ini, defaults);
  EXPECT_EQ(urls.MainSiteUrl, "http://127.0.0.1:8080");
  EXPECT_EQ(urls.WallpaperHostUrl, defaults.WallpaperHostUrl);
  EXPECT_EQ(urls.ImageHostUrl, "http://127.0.0.2:9090/");
  EXPECT_EQ(control::ReadSiteUrls(control::TIniFile(), defaults).ImageHostUrl, defaults.ImageHostUrl);
}

}  // namespace
