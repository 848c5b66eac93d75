#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

#include "common/QtPrint.h"
#include "control/LastSession.h"

namespace {

IniFile FromText(const QByteArray& text) {
  QTemporaryDir tmp;
  QFile f(tmp.filePath("Settings.ini"));
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
  f.close();
  IniFile ini;
  EXPECT_EQ(ini.Load(tmp.filePath("Settings.ini")), IniFile::LoadStatus::Loaded);
  return ini;
}

TEST(LastSession, DefaultsWithoutAFile) {
  const LastSession s = ReadLastSession(IniFile());
  EXPECT_EQ(s.Name, "");
  EXPECT_EQ(s.Threads, "10");
  EXPECT_FALSE(s.AllResolutions);
  for (int r = 0; r < kResolutionCount; ++r) EXPECT_EQ(s.Sizes[r], r == tr1024x768) << r;
}

TEST(LastSession, OnlyAnExactYesChecksABox) {
  const IniFile ini = FromText(
      "[last session]\nAllResolutions=yes\n1024x768=No\n1152x864=Yes\n1280x800=YES\n1920x1200= Yes\n");
  const LastSession s = ReadLastSession(ini);
  EXPECT_FALSE(s.AllResolutions);
  EXPECT_FALSE(s.Sizes[tr1024x768]);
  EXPECT_TRUE(s.Sizes[tr1152x864]);
  EXPECT_FALSE(s.Sizes[tr1280x800]);
}

TEST(LastSession, ThreadsTextIsKeptOrBroughtIntoRange) {
  struct {
    QByteArray stored;
    QString shown;
    int count;
  } cases[] = {{"7", "7", 7}, {"0", "1", 1}, {"-3", "1", 1}, {"51", "50", 50}, {"99999999999", "50", 50},
               {"many", "many", 1}, {"", "", 1}, {"12abc", "12abc", 1}};
  for (const auto& c : cases) {
    const LastSession s = ReadLastSession(FromText("[Last Session]\nThreads=" + c.stored + "\n"));
    EXPECT_EQ(s.Threads, c.shown) << c.stored.constData();
    EXPECT_EQ(ThreadCountFromText(s.Threads), c.count) << c.stored.constData();
  }
}

TEST(LastSession, RoundTripsEveryKeyInOrderAndKeepsOtherSections) {
  IniFile ini = FromText("[Site]\nMainSiteUrl=http://127.0.0.1:8080\n[Mine]\nkey=value\n");
  LastSession s;
  s.Name = QString::fromUtf8("Sample O'Name Ñ");
  s.Threads = "33";
  s.AllResolutions = true;
  s.Sizes.fill(true);
  s.Sizes[tr1440x900] = false;
  WriteLastSession(ini, s);
  QTemporaryDir tmp;
  ASSERT_TRUE(ini.Save(tmp.filePath("Settings.ini")));
  IniFile back;
  ASSERT_EQ(back.Load(tmp.filePath("Settings.ini")), IniFile::LoadStatus::Loaded);
  const LastSession r = ReadLastSession(back);
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
  const IniFile ini = FromText("[site]\nMainSiteUrl=http://127.0.0.1:8080/\nImageHostUrl=http://127.0.0.2:9090\n");
  const site::TSiteUrls urls = ReadSiteUrls(ini, defaults);
  EXPECT_EQ(urls.MainSiteUrl, "http://127.0.0.1:8080");
  EXPECT_EQ(urls.WallpaperHostUrl, defaults.WallpaperHostUrl);
  EXPECT_EQ(urls.ImageHostUrl, "http://127.0.0.2:9090/");
  EXPECT_EQ(ReadSiteUrls(IniFile(), defaults).ImageHostUrl, defaults.ImageHostUrl);
}

}  // namespace
