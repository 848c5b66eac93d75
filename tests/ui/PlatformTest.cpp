// The desktop platform layer. Every address it opens is caught by URL handlers
// installed here and PATH points nowhere, so no program is ever started; the file
// manager is a fake one on a private peer-to-peer D-Bus connection.

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusServer>
#include <QDesktopServices>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <atomic>

#include "UiTestSupport.h"
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
    Server = std::make_unique<QDBusServer>("unix:tmpdir=" + SocketDir.path());
    EXPECT_TRUE(Server->isConnected()) << Server->lastError().message().toStdString();
    QObject::connect(
        Server.get(), &QDBusServer::newConnection, Server.get(),
        [this, fileManager](const QDBusConnection& peer) {
          QDBusConnection side(peer);
          if (fileManager)
            side.registerObject("/org/freedesktop/FileManager1", fileManager,
                                QDBusConnection::ExportAllSlots);
          PeerReady = true;
        },
        Qt::DirectConnection);  // registered before the first call can arrive
    QDBusConnection client = QDBusConnection::connectToPeer(Server->address(), "ui-test-peer");
    EXPECT_TRUE(client.isConnected()) << client.lastError().message().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([this] { return PeerReady.load(); }, 5000));
    return client;
  }

  QByteArray SavedPath;
  TUrlCatcher Urls;
  QTemporaryDir SocketDir;
  std::unique_ptr<QDBusServer> Server;
  std::atomic<bool> PeerReady{false};
};

TEST_F(DesktopPlatform, OpenHandsFilesFoldersAndAddressesToTheDesktop) {
  TDesktopPlatform platform(QDBusConnection("not connected"));
  platform.Open("/w/Wallpapers/Mary Ann Test/1024x768/Mary Ann Test (12).jpg");
  platform.Open("www.tamro.example");
  platform.Open("");  // nothing to open
  ASSERT_EQ(Urls.Opened.size(), 2);
  EXPECT_EQ(Urls.Opened[0], QUrl::fromLocalFile("/w/Wallpapers/Mary Ann Test/1024x768/Mary Ann Test (12).jpg"));
  EXPECT_EQ(Urls.Opened[1], QUrl("http://www.tamro.example"));
}

TEST_F(DesktopPlatform, ShowSelectedAsksTheFileManagerToSelectTheItem) {
  TFakeFileManager fileManager;
  {
    TDesktopPlatform platform(ConnectPeer(&fileManager));
    platform.ShowSelected("/w/Wallpapers/Mary Ann Test/Preview.jpg");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fileManager.Shown.isEmpty(); }, 5000));
    // Let the reply arrive, so a wrongly taken fallback would show up below.
    QTest::qWait(0);
    QCoreApplication::processEvents();
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
    platform.ShowSelected("/w/Wallpapers/Mary Ann Test/Preview.jpg");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Urls.Opened.isEmpty(); }, 5000));
  }
  QDBusConnection::disconnectFromPeer("ui-test-peer");

  TDesktopPlatform offline(QDBusConnection("not connected"));  // no bus at all
  offline.ShowSelected("/w/Wallpapers/Mary Ann Test");

  ASSERT_EQ(Urls.Opened.size(), 2);
  EXPECT_EQ(Urls.Opened[0], QUrl::fromLocalFile("/w/Wallpapers/Mary Ann Test"));
  EXPECT_EQ(Urls.Opened[1], QUrl::fromLocalFile("/w/Wallpapers"));
}

}  // namespace
}  // namespace ui::testing

#include "PlatformTest.moc"
