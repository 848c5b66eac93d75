#pragma once
// Shared pieces of the site tests: run flags, a recording view standing in for
// the main window, and a JPEG picture read with libjpeg.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>

#include "fixture/Jpeg.h"
#include "site/Discovery.h"
#include "site/Retry.h"

namespace sitetest {

using namespace std::chrono_literals;

// Long enough for a loaded machine, short enough that a hang shows as a failure.
inline constexpr std::chrono::milliseconds kTestDataTimeout = 5000ms;

struct TTestRun {
  std::atomic<bool> Working{true};
  std::atomic<bool> Terminating{false};
  site::TRunContext Run{Working, Terminating, {.ConnectTimeout = kTestDataTimeout, .DataTimeout = kTestDataTimeout}};
};

// Records every control change in order and keeps the bar's value inside its
// range, as the window's progress bar does.
class TRecordingView : public site::TDiscoveryView {
 public:
  QString Name;
  QStringList Calls;  // "Status:...", "Label2:...", "Max:n", "Pos:n", "Log:..."
  int Max = 100;
  int Position = 0;

  QString NameText() override { return Name; }
  void SetStatus(const QString& Caption) override { Calls << "Status:" + Caption; }
  void SetLabel2(const QString& Caption) override { Calls << "Label2:" + Caption; }
  void SetProgressMax(int NewMax) override {
    Max = NewMax;
    Position = std::clamp(Position, 0, std::max(Max, 0));
    Calls << "Max:" + QString::number(NewMax);
  }
  int ProgressMax() override { return Max; }
  int ProgressPosition() override { return Position; }
  void UpdateProgress(int NewPosition) override {
    Position = std::clamp(NewPosition, 0, std::max(Max, 0));
    Calls << "Pos:" + QString::number(NewPosition);
  }
  void AddLog(const QString& Line) override { Calls << "Log:" + Line; }

  QStringList Only(const QString& Kind) const {
    QStringList out;
    for (const QString& call : Calls)
      if (call.startsWith(Kind + ':')) out << call.mid(Kind.size() + 1);
    return out;
  }
};

class TJpegPicture : public site::TPictureDest {
 public:
  QByteArray Data;
  int Width = 0;

  void Clear() override {
    Data.clear();
    Width = 0;
  }
  bool LoadFromBuffer(const QByteArray& Bytes) override {
    const auto size = fixture::ReadJpegSize(Bytes);
    if (!size) {
      Clear();
      return false;
    }
    Data = Bytes;
    Width = size->Width;
    return true;
  }
};

}  // namespace sitetest
