#pragma once
// The eight 16 x 16 icons the lists show. An item's image index picks one;
// -1 shows none.
//
//   0 busy: a yellow up-arrow and a green down-arrow   4 a small landscape picture
//   1 idle: a grey square                              5 a dark red no-entry sign
//   2 a grey "play" triangle                           6 a bright red no-entry sign
//   3 a magnifier with a plus sign                     7 a ladybird

#include <QIcon>
#include <QImage>
#include <QList>

namespace ui {

// What the lists mean by their icons.
inline constexpr int kNoIcon = -1;     // a catalogue name without a thumbnail
inline constexpr int kBusyIcon = 0;    // being downloaded or fetched now
inline constexpr int kIdleIcon = 1;    // a batch entry not being downloaded
inline constexpr int kThumbIcon = 4;   // a catalogue name whose thumbnail exists
inline constexpr int kFailedIcon = 6;  // a thumbnail that could not be fetched

class TImageList {
 public:
  TImageList();

  int Count() const { return int(Images_.size()); }
  QImage Picture(int index) const;  // null image outside 0..Count()-1
  QIcon Icon(int index) const;      // empty icon outside 0..Count()-1

 private:
  QList<QImage> Images_;
};

}  // namespace ui
