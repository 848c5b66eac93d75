// Figures for judging a download: libjpeg's header read alone against the
// walk over every marker that ReadWholeJpeg adds, on a wallpaper of about
// 200 KiB and on one of about 16 MiB, in memory and as files on disk (warm in
// the page cache); then what the scan limit saves on a progressive scan bomb.
// The walk has to stay far below the cost of fetching the same bytes (about
// 0.1 ms for 200 KiB over loopback).
//
// Last, every JPEG under the given folders (by default those where Debian's
// desktop background packages put theirs) is judged as fetched and as stored,
// whole, cut short and padded: each whole file must pass, each cut one not.
//
// Usage: jpeg_bench [FOLDER...]

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <climits>
#include <cstdio>
#include <functional>
#include <optional>

#include "download/Jpeg.h"
#include "fixture/Jpeg.h"
#include "ui/display/JpegDecode.h"

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// Microseconds per call, over enough calls to fill a fifth of a second.
double MicrosPerCall(const std::function<bool()>& call) {
  for (long calls = 1;; calls *= 2) {
    long accepted = 0;
    const auto start = Clock::now();
    for (long i = 0; i < calls; ++i) accepted += call();
    const double total = Micros(Clock::now() - start);
    if (accepted != calls) std::printf("  (refused a whole file!)\n");
    if (total > 200'000 || calls >= (1L << 24)) return total / double(calls);
  }
}

bool Write(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

void Judging(const char* what, const QByteArray& jpeg, const QString& path) {
  const double mib = double(jpeg.size()) / (1024.0 * 1024.0);
  std::printf("%s: %lld bytes\n", what, static_cast<long long>(jpeg.size()));
  const double header = MicrosPerCall([&] { return download::ReadJpegHeader(jpeg).has_value(); });
  const double whole = MicrosPerCall([&] { return download::ReadWholeJpeg(jpeg).has_value(); });
  const double fileHeader = MicrosPerCall([&] { return download::ReadJpegFileHeader(path).has_value(); });
  const double stored = MicrosPerCall([&] { return download::ReadStoredJpegHeader(path).has_value(); });
  std::printf("  download::ReadJpegHeader (header only)   %10.2f us\n", header);
  std::printf("  download::ReadWholeJpeg                  %10.2f us   (walk %.0f MiB/s)\n", whole,
              mib / ((whole - header) * 1e-6));
  std::printf("  download::ReadJpegFileHeader (file)      %10.2f us\n", fileHeader);
  std::printf("  download::ReadStoredJpegHeader (file)    %10.2f us\n", stored);
}

void Bomb(const char* what, int width, int height, int scans) {
  const QByteArray bomb = fixture::MakeJpegScanBomb(width, height, scans);
  std::printf("%s: %dx%d, %d scans, %lld bytes\n", what, width, height, scans, static_cast<long long>(bomb.size()));
  for (const int limit : {ui::kMaxDecodeScans, INT_MAX}) {
    const auto start = Clock::now();
    const bool decoded = !ui::DecodeJpegScaled(bomb, QSize(353, 265), {.MaxScans = limit, .Cancel = nullptr}).isNull();
    std::printf("  limit %-10s %10.1f ms   %s\n", limit == INT_MAX ? "none" : "default", Micros(Clock::now() - start) / 1000,
                decoded ? "decoded" : "refused");
  }
}

// Every real JPEG under `folders`, judged whole, cut in half, cut by its last
// KiB and padded with 200 KiB of zeros, in memory and as a file. A file cut by
// a KiB may still hold its whole picture, when more than that follows the
// picture's end (a camera's or an editor's extra pictures); those are listed.
void RealPictures(const QStringList& folders, const QString& scratch) {
  int files = 0, whole = 0, halfRefused = 0, paddedAccepted = 0;
  QStringList wrong, trailers;
  for (const QString& folder : folders) {
    QDirIterator it(folder, {"*.jpg", "*.jpeg", "*.JPG", "*.JPEG"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) continue;
      const QByteArray data = file.readAll();
      ++files;
      const auto judge = [&](const QByteArray& bytes) {
        const QString copy = scratch + "/real.jpg";
        const bool memory = download::ReadWholeJpeg(bytes).has_value();
        const bool stored = Write(copy, bytes) && download::ReadStoredJpegHeader(copy).has_value();
        return memory && stored ? 1 : !memory && !stored ? 0 : -1;  // -1: the two checks disagree
      };
      const int asIs = judge(data), half = judge(data.left(data.size() / 2)),
                lastKiB = judge(data.chopped(std::min<qsizetype>(1024, data.size()))),
                padded = judge(data + QByteArray(200 * 1024, '\0'));
      whole += asIs == 1;
      halfRefused += half == 0;
      paddedAccepted += padded == 1;
      if (asIs != 1 || half != 0 || lastKiB == -1 || padded != 1)
        wrong << QStringLiteral("%1 (whole %2, half %3, last KiB off %4, padded %5)")
                     .arg(path).arg(asIs).arg(half).arg(lastKiB).arg(padded);
      else if (lastKiB == 1)
        trailers << path;
    }
  }
  std::printf("Real pictures under %s: %d files\n", qPrintable(folders.join(", ")), files);
  std::printf("  accepted whole %d, refused cut in half %d, accepted padded by 200 KiB %d\n", whole, halfRefused,
              paddedAccepted);
  for (const QString& path : trailers) std::printf("  whole without its last KiB (a trailer follows): %s\n", qPrintable(path));
  for (const QString& line : wrong) std::printf("  WRONG: %s\n", qPrintable(line));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList folders = app.arguments().mid(1);
  if (folders.isEmpty()) folders = {"/usr/share/backgrounds", "/usr/share/wallpapers", "/usr/share/desktop-base"};
  QTemporaryDir tmp;
  // Noise over a gradient gives entropy-coded data as dense as a photograph's.
  const QByteArray wallpaper = fixture::MakeNoisyJpeg(1024, 768, 1);
  const QByteArray huge = fixture::MakeNoisyJpeg(9300, 6960, 2);
  if (!Write(tmp.filePath("wallpaper.jpg"), wallpaper) || !Write(tmp.filePath("huge.jpg"), huge)) {
    std::fprintf(stderr, "cannot write the test files\n");
    return 1;
  }
  Judging("Wallpaper", wallpaper, tmp.filePath("wallpaper.jpg"));
  Judging("Huge wallpaper", huge, tmp.filePath("huge.jpg"));
  Bomb("Scan bomb", 7200, 5500, 3000);
  // The worst a file within both limits costs.
  Bomb("At the pixel cap", 7200, 5500, ui::kMaxDecodeScans);
  RealPictures(folders, tmp.path());
  return 0;
}
