// The desktop platform layer. Every address it opens is caught by URL handlers
// installed here and PATH points nowhere, so no program is ever started; the file
// manager, the notification server and the launcher are fakes on a private
// peer-to-peer D-Bus connection.

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusServer>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <atomic>

#include "ui/UiTestSupport.h"
#include "ui/DesktopPlatform.h"
#include "ui/PlatformTargets.h"

namespace ui::testing {

// Receives what QDesktopServices would have handed to the desktop.
class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Opened;
 public slots:
  void Catch(const QUrl& url) { Opened << url; }
};

// Stands in for the desktop's file manager on the D-Bus connection.
class TFakeFileManager : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
 public:
  QList<QStringList> Shown;
  QStringList StartupIds;
 public slots:
  void ShowItems(const QStringList& uris, const QString& startupId) {
    Shown << uris;
    StartupIds << startupId;
  }
};

// Stands in for the desktop's notification server.
class TFakeNotificationServer : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  struct TShown {
    QString AppName, Icon, Summary, Body;
    uint ReplacesId;
    QStringList Actions;
    QVariantMap Hints;
    int Timeout;
  };
  QList<TShown> Shown;
  static constexpr uint kFirstId = 41;
 public slots:
  uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary,
              const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout) {
    Shown << TShown{appName, icon, summary, body, replacesId, actions, hints, timeout};
    return kFirstId + uint(Shown.size()) - 1;
  }
  // A round trip: once it returns, the answers to every earlier call have arrived.
  QString Ping() { return "pong"; }
};

// Listens where a dock listens for the launcher entry's updates.
class TFakeLauncher : public QObject {
  Q_OBJECT
 public:
  QList<std::pair<QString, QVariantMap>> Updates;
 public slots:
  void Update(const QString& appUri, const QVariantMap& properties) { Updates << std::pair(appUri, properties); }
};

namespace {

TEST(UrlForTarget, PathsAreLocalFilesAndTheRestWebAddresses) {
  const std::pair<QString, QByteArray> cases[] = {
      {"/home/u/Wallpapers/Mary Ann Test", "file:///home/u/Wallpapers/Mary%20Ann%20Test"},
      {"/home/u/Wallpapers/A#1 (7).jpg", "file:///home/u/Wallpapers/A%231%20(7).jpg"},
      {"/home/u/Wallpapers/", "file:///home/u/Wallpapers"},
      {"/home/u/Wallpapers/Zoë", "file:///home/u/Wallpapers/Zo%C3%AB"},
      {"http://www.tamro.example", "http://www.tamro.example"},
      {"https://www.tamro.example/donate?x=1", "https://www.tamro.example/donate?x=1"},
      {"www.tamro.example", "http://www.tamro.example"},
  };
  for (const auto& [target, expected] : cases)
    EXPECT_EQ(UrlForTarget(target).toEncoded(), expected) << target.toStdString();
  EXPECT_TRUE(UrlForTarget("").isEmpty());
}

TEST(ContainingFolder, IsTheParentOfTheLastPart) {
  const std::pair<QString, QString> cases[] = {
      {"/w/Wallpapers/Kate/Preview.jpg", "/w/Wallpapers/Kate"},
      {"/w/Wallpapers/Kate/", "/w/Wallpapers"},
      {"/w", "/"},
      {"/", "/"},
  };
  for (const auto& [path, folder] : cases) EXPECT_EQ(ContainingFolder(path), folder) << path.toStdString();
}

class DesktopPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    SavedPath = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");  // should a handler ever miss, nothing can be started
    for (const char* scheme : {"file", "http", "https"})
      QDesktopServices::setUrlHandler(scheme, &Urls, "Catch");
  }
  void TearDown() override {
    for (const char* scheme : {"file", "http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
    qputenv("PATH", SavedPath);
  }

  // A private bus: a D-Bus server in this process and a connection to it. With
  // `fileManager`, the server side offers it where the desktop's would be.
  QDBusConnection ConnectPeer(TFakeFileManager* fileManager) {
    return ConnectPeer([fileManager](QDBusConnection& side) {
      if (fileManager)
        side.registerObject("/org/freedesktop/FileManager1", fileManager, QDBusConnection::ExportAllSlots);
    });
  }
  // `serve` sets up the server side (ServerSide) before the first call can arrive.
  QDBusConnection ConnectPeer(std::function<void(QDBusConnection&)> serve) {
    Server = std::make_unique<QDBusServer>("unix:tmpdir=" + SocketDir.path());
    EXPECT_TRUE(Server->isConnected()) << Server->lastError().message().toStdString();
    QObject::connect(
        Server.get(), &QDBusServer::newConnection, Server.get(),
        [this, serve](const QDBusConnection& peer) {
          ServerSide = std::make_unique<QDBusConnection>(peer);
          serve(*ServerSide);
          PeerReady = true;
        },
        Qt::DirectConnection);  // registered before the first call can arrive
    QDBusConnection client = QDBusConnection::connectToPeer(Server->address(), "ui-test-peer");
    EXPECT_TRUE(client.isConnected()) << client.lastError().message().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([this] { return PeerReady.load(); }, 5000));
    return client;
  }
  // A signal from the server side, as the notification server sends them.
  void SendNotificationSignal(const char* name, uint id, const QVariant& second) {
    QDBusMessage signal =
        QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications", name);
    signal << id << second;
    ServerSide->send(signal);
  }

  QByteArray SavedPath;
  TUrlCatcher Urls;
  QTemporaryDir SocketDir;
  std::unique_ptr<QDBusServer> Server;
  std::unique_ptr<QDBusConnection> ServerSide;
  std::atomic<bool> PeerReady{false};
};

TEST_F(DesktopPlatform, OpenHandsFilesFoldersAndAddressesToTheDesktop) {
  TDesktopPlatform platform(QDBusConnection("not connected"));
  EXPECT_TRUE(platform.Open("/w/Wallpapers/Mary Ann Test/1024x768/Mary Ann Test (12).jpg"));
  EXPECT_TRUE(platform.Open("www.tamro.example"));
  EXPECT_FALSE(platform.Open(""));  // nothing to open
  ASSERT_EQ(Urls.Opened.size(), 2);
  EXPECT_EQ(Urls.Opened[0], QUrl::fromLocalFile("/w/Wallpapers/Mary Ann Test/1024x768/Mary Ann Test (12).jpg"));
  EXPECT_EQ(Urls.Opened[1], QUrl("http://www.tamro.example"));
}

TEST_F(DesktopPlatform, ShowSelectedAsksTheFileManagerToSelectTheItem) {
  TFakeFileManager fileManager;
  {
    TDesktopPlatform platform(ConnectPeer(&fileManager));
    bool failed = false;
    platform.ShowSelected("/w/Wallpapers/Mary Ann Test/Preview.jpg", [&] { failed = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fileManager.Shown.isEmpty(); }, 5000));
    // Let the reply arrive, so a wrongly taken fallback would show up below.
    QTest::qWait(0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(failed);
  }
  QDBusConnection::disconnectFromPeer("ui-test-peer");
  ASSERT_EQ(fileManager.Shown.size(), 1);
  EXPECT_EQ(fileManager.Shown[0], QStringList{"file:///w/Wallpapers/Mary%20Ann%20Test/Preview.jpg"});
  EXPECT_EQ(fileManager.StartupIds[0], "");
  EXPECT_TRUE(Urls.Opened.isEmpty()) << "the folder was opened as well";
}

TEST_F(DesktopPlatform, ShowSelectedOpensTheFolderWhenNoFileManagerAnswers) {
  {
    TDesktopPlatform platform(ConnectPeer(nullptr));  // a bus, but nothing serves the call
    platform.ShowSelected("/w/Wallpapers/Mary Ann Test/Preview.jpg", [] { ADD_FAILURE() << "said to have failed"; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Urls.Opened.isEmpty(); }, 5000));
  }
  QDBusConnection::disconnectFromPeer("ui-test-peer");

  TDesktopPlatform offline(QDBusConnection("not connected"));  // no bus at all
  offline.ShowSelected("/w/Wallpapers/Mary Ann Test", [] { ADD_FAILURE() << "said to have failed"; });

  ASSERT_EQ(Urls.Opened.size(), 2);
  EXPECT_EQ(Urls.Opened[0], QUrl::fromLocalFile("/w/Wallpapers/Mary Ann Test"));
  EXPECT_EQ(Urls.Opened[1], QUrl::fromLocalFile("/w/Wallpapers"));
}

TEST_F(DesktopPlatform, WithoutAnOpenerOpenAndShowSelectedSaySo) {
  for (const char* scheme : {"file", "http", "https"}) QDesktopServices::unsetUrlHandler(scheme);
  const QByteArray browser = qgetenv("BROWSER");
  qunsetenv("BROWSER");  // PATH holds no xdg-open, and no browser is named either
  {
    TDesktopPlatform offline(QDBusConnection("not connected"));
    EXPECT_FALSE(offline.Open("/w/Wallpapers/Mary Ann Test"));
    int failed = 0;
    offline.ShowSelected("/w/Wallpapers/Mary Ann Test/Preview.jpg", [&] { ++failed; });
    EXPECT_EQ(failed, 1);

    TDesktopPlatform platform(ConnectPeer(nullptr));  // no file manager either: said once it answers
    platform.ShowSelected("/w/Wallpapers/Mary Ann Test/Preview.jpg", [&] { ++failed; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return failed == 2; }, 5000));
  }
  QDBusConnection::disconnectFromPeer("ui-test-peer");
  if (!browser.isNull()) qputenv("BROWSER", browser);
}

TEST_F(DesktopPlatform, TheRunsNotificationOpensItsFolderWhenClicked) {
  QGuiApplication::setDesktopFileName("example.tamro.Ostrana");
  TFakeNotificationServer server;
  {
    QDBusConnection client = ConnectPeer([&](QDBusConnection& side) {
      side.registerObject("/org/freedesktop/Notifications", &server, QDBusConnection::ExportAllSlots);
    });
    TDesktopPlatform platform(client);
    platform.NotifyRunDone({.Name = "Mary Ann Test", .Found = 46, .NotLoaded = 2, .Folder = "/w/Wallpapers/Mary Ann Test"});
    platform.NotifyRunDone({.Names = 2, .Found = 9, .NotLoaded = 0, .Folder = "/w/Wallpapers"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.Shown.size() == 2; }, 5000));

    const auto& shown = server.Shown[0];
    const TNoticeText text = NoticeText({.Name = "Mary Ann Test", .Found = 46, .NotLoaded = 2});
    EXPECT_EQ(shown.Summary, text.Summary);
    EXPECT_EQ(shown.Body, text.Body);
    EXPECT_EQ(shown.ReplacesId, 0u);
    EXPECT_EQ(shown.Icon, "example.tamro.Ostrana");
    EXPECT_EQ(shown.Actions.value(0), "default");  // a click on the notification
    EXPECT_EQ(shown.Hints.value("desktop-entry").toString(), "example.tamro.Ostrana");
    EXPECT_EQ(shown.Hints.value("category").toString(), "transfer.complete");
    EXPECT_TRUE(shown.Hints.value("suppress-sound").toBool());
    EXPECT_EQ(shown.Timeout, -1);
    EXPECT_EQ(server.Shown[1].Summary, "Batch finished: 2 names");

    // Once the ids are back: a click on one that is not ours, another button,
    // one the server closed already, and last the first notification.
    // (Not a blocking call: the server answers on this very thread.)
    QDBusPendingCallWatcher ping(client.asyncCall(QDBusMessage::createMethodCall(
        QString(), "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Ping")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ping.isFinished(); }, 5000));
    ASSERT_FALSE(ping.isError());
    QCoreApplication::processEvents();
    const uint first = TFakeNotificationServer::kFirstId, second = first + 1;
    SendNotificationSignal("ActionInvoked", 7, QString("default"));
    SendNotificationSignal("ActionInvoked", second, QString("other"));
    SendNotificationSignal("NotificationClosed", second, 2u);
    SendNotificationSignal("ActionInvoked", second, QString("default"));
    SendNotificationSignal("ActionInvoked", first, QString("default"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Urls.Opened.isEmpty(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(Urls.Opened, QList<QUrl>{QUrl::fromLocalFile("/w/Wallpapers/Mary Ann Test")});
  }
  QDBusConnection::disconnectFromPeer("ui-test-peer");
  QGuiApplication::setDesktopFileName(QString());
}

TEST_F(DesktopPlatform, TheLauncherEntryShowsTheProgressAndHidesIt) {
  TFakeLauncher launcher;
  {
    TDesktopPlatform platform(ConnectPeer([&](QDBusConnection& side) {
      side.connect(QString(), QString(), "com.canonical.Unity.LauncherEntry", "Update", &launcher,
                   SLOT(Update(QString, QVariantMap)));
    }));
    // Without a desktop file name no launcher could match the program: nothing is sent.
    QGuiApplication::setDesktopFileName(QString());
    platform.ShowLauncherProgress(0.75);
    QGuiApplication::setDesktopFileName("example.tamro.Ostrana");
    platform.ShowLauncherProgress(0.25);
    platform.ShowLauncherProgress(1.5);  // brought into range
    platform.ShowLauncherProgress(std::nullopt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher.Updates.size() == 3; }, 5000));
  }
  QDBusConnection::disconnectFromPeer("ui-test-peer");
  QGuiApplication::setDesktopFileName(QString());
  for (const auto& [uri, properties] : launcher.Updates) EXPECT_EQ(uri, "application://example.tamro.Ostrana.desktop");
  EXPECT_EQ(launcher.Updates[0].second, (QVariantMap{{"progress", 0.25}, {"progress-visible", true}}));
  EXPECT_EQ(launcher.Updates[1].second, (QVariantMap{{"progress", 1.0}, {"progress-visible", true}}));
  EXPECT_EQ(launcher.Updates[2].second, (QVariantMap{{"progress-visible", false}}));
}

TEST_F(DesktopPlatform, WithoutASessionBusNothingIsSent) {
  QGuiApplication::setDesktopFileName("example.tamro.Ostrana");
  TDesktopPlatform offline(QDBusConnection("not connected"));
  offline.NotifyRunDone({.Name = "Mary Ann Test", .Found = 1, .Folder = "/w/Wallpapers/Mary Ann Test"});
  offline.ShowLauncherProgress(0.5);
  QCoreApplication::processEvents();
  EXPECT_TRUE(Urls.Opened.isEmpty());
  QGuiApplication::setDesktopFileName(QString());
}

}  // namespace
}  // namespace ui::testing

#include "PlatformTest.moc"
