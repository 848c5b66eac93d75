#pragma once
// The main window. It carries every control of the program; the run state and the
// handlers of the other subsystems are further members of this class, defined in
// their own directories (src/control, src/download, ...).
//
// Every control is a public member named as in the window's design, and carries the
// same name as its Qt object name, so tests and tools find it with findChild.

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "control/BatchList.h"
#include "control/RunCore.h"
#include "download/DownloadRun.h"
#include "download/FileStore.h"
#include "download/Resolution.h"
#include "task/SmartTask.h"
#include "ui/Environment.h"
#include "ui/LauncherProgress.h"
#include "ui/PreviewLoader.h"
#include "ui/RunNotice.h"
#include "ui/TComboBox.h"  // NameEdit: its users need the whole class
#include "ui/TImageList.h"
#include "ui/TSpinEdit.h"
#include "ui/WindowMessages.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace ui {

class TAbout;
class TImage;
class TLabel;
class TListView;
class TPlatform;

class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // Builds the window hidden; it opens in the compact layout, centred on the
  // primary screen, with Button1 focused. Throws std::invalid_argument when the
  // environment has no platform layer.
  explicit TForm1(const TEnvironment& environment);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  const TEnvironment Environment;
  TPlatform& Platform;

  // The About window, a top-level window of its own (not a child, so names like
  // Label4 stay unique here); the program entry sets it once it exists, as it is
  // created after this one. Button6 shows it.
  QPointer<TAbout> About;

  // True while the full layout (with the page control) is shown.
  bool ShowLog = false;

  // Controls placed on the window, in creation order: a later one lies over an
  // earlier one, and the windowed controls (buttons, fields) over the pictures.
  QFrame* Bevel1 = nullptr;
  TImage* Image1 = nullptr;  // the preview
  TLabel* Status = nullptr;
  TLabel* Name = nullptr;
  TLabel* Found = nullptr;
  TImage* Image2 = nullptr;  // title banner
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TImage* Image3 = nullptr;
  TImage* Image4 = nullptr;
  TImage* Image5 = nullptr;
  TImage* Image6 = nullptr;
  TImage* Image7 = nullptr;
  TImage* Image8 = nullptr;
  TImage* Image10 = nullptr;  // magnifier over the preview, hidden at start
  QPushButton* Button1 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  TSpinEdit* SpinEdit1 = nullptr;  // the thread count
  TComboBox* NameEdit = nullptr;
  QProgressBar* Progress = nullptr;
  QPushButton* Button5 = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QPushButton* Button6 = nullptr;

  // The size check boxes inside GroupBox1.
  QCheckBox* CheckBox1 = nullptr;  // "All Available"
  QCheckBox* CheckBox2 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QCheckBox* CheckBox4 = nullptr;
  QCheckBox* CheckBox5 = nullptr;
  QCheckBox* CheckBox6 = nullptr;
  QCheckBox* CheckBox7 = nullptr;
  QCheckBox* CheckBox8 = nullptr;
  QCheckBox* CheckBox9 = nullptr;
  QCheckBox* CheckBox10 = nullptr;

  // Page "Batch List".
  QWidget* TabSheet1 = nullptr;
  TLabel* Label6 = nullptr;
  TImage* Image9 = nullptr;
  TListView* ListView1 = nullptr;
  QCheckBox* CheckBox11 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button3 = nullptr;

  // Page "Girls List".
  QWidget* TabSheet2 = nullptr;
  TLabel* Label5 = nullptr;
  TListView* ListView2 = nullptr;
  QPushButton* Button7 = nullptr;
  QPushButton* Button8 = nullptr;
  QPushButton* Button9 = nullptr;
  QCheckBox* CheckBox12 = nullptr;

  // Page "Log".
  QWidget* TabSheet3 = nullptr;
  QPlainTextEdit* Log = nullptr;

  // Page "Threads".
  QWidget* TabSheet4 = nullptr;
  TListView* ListView3 = nullptr;

  // Non-visual components.
  QTimer* Timer1 = nullptr;  // 1000 ms, stopped at start
  TImageList ImageList1;

  // Switches between the compact layout (444 pixels wide) and the full one (820),
  // then centres the window on the primary screen. The height never changes.
  void Button5Click();

  // Shows the one About window, without making it modal, and brings it to the front.
  void Button6Click();

  // ---- Run state --------------------------------------------------------------
  // The state of one download run (its links ImageLinks, its counters FoundCnt,
  // ProgressPos and ThreadsLeft, its preview flags GotPreview and LoadingImage,
  // and its own Working flag) lives in a DownloadRun of its own; Run is the
  // current one, and a run is told apart from the others by that object alone.
  // Workers and the search of a stopped run keep theirs, so their late notices
  // never count against a newer run.
  std::shared_ptr<download::TDownloadRun> Run;

  download::TResParams ResParams;
  QString Dir;
  QString CurrentPath;  // what a click on the preview opens; UI thread only
  QString PreviewPath;  // the file WM_IMAGE_UPDATE shows
  std::atomic<bool> Working{false};      // a download run is active
  // The window is closing: fetches give up at once. Task threads hold the flag
  // itself, so one that outlived the bounded wait at closing still reads a live flag.
  const std::shared_ptr<std::atomic<bool>> TerminatingFlag = std::make_shared<std::atomic<bool>>(false);
  std::atomic<bool>& Terminating = *TerminatingFlag;
  std::unique_ptr<task::TTaskManager> TaskManager;
  std::unique_ptr<task::TSmartTask> LoadAllGirlsImg;
  std::unique_ptr<TPreviewLoader> PreviewLoader;
  int TaskCount = 0;
  int Seconds = 0;
  int Minutes = 0;
  bool BatchMode = false;
  int BatchIDX = 0;
  bool LoadingThumbs = false;

  // ---- Start-up and shut-down (src/control/window/Form1Settings.cpp) --------
  void FormCreate();
  void FormDestroy();
  void CheckBox1Click();
  void SizeBoxClick(QCheckBox* box, download::TResolution size);
  void SpinEdit1Change();
  void GetGirlsList();
  void NameEditSelect(int index);
  // The check box of one size.
  QCheckBox* SizeBox(download::TResolution size) const;

  // ---- The run controller (src/control/window/Form1Run.cpp) -----------------
  void Button1Click();
  void FindWallpapers();
  // A worker's last act, carried out on the UI thread.
  void AnnounceDone(const std::shared_ptr<download::TDownloadRun>& run);
  void Timer1Timer();
  // True while `run` is the current run and the window is not closing.
  bool IsCurrent(const download::TDownloadRun& run) const;
  // A write of the run failed in a way every later one shares (a full disk, a
  // read-only folder): the run and a batch stop, and the user is told once.
  void StopForWriteFailure(download::TDownloadRun& run, const download::TWriteResult& failure);
  // Why the site's configured addresses cannot be used; empty when they can.
  QString SiteAddressProblem() const;
  // What a run started now is made from.
  control::TRunSettings RunSettings() const;
  bool SiteNoticeGiven = false;  // "no site is configured" was said
  // The current run's Start said it, so the run's end need not say again, in a
  // second box, that the site could not be reached.
  bool SiteNoticeForThisRun = false;

  // ---- The batch list (src/control/window/Form1Batch.cpp) -------------------
  void SaveList();
  // Empties the list and fills it from Batch.ini; in batch mode BatchIDX then
  // names the entry under way again, found by its section as the file matches
  // sections, or -1 when it is gone.
  void LoadList();
  void Button2Click();  // "Add"
  // "Remove": BatchIDX follows its entry; once that entry is removed, it names
  // the first entry left of its section, or -1.
  void Button4Click();
  // "Start Batch" / "Stop Batch". The batch does not start while a run is active.
  void Button3Click();
  void StartNext();
  // The entry under way could not reach the site: it stays ticked for the
  // next batch, and this batch goes on with the entries after it.
  void PassOverBatchEntry();
  void ListView1Click();
  void ListView1SelectItem();
  void CheckBox11Click();  // "Check All"
  // The end of the entry's run: its Found count, "Yes", unticked, the idle icon.
  void RecordBatchEntry(int found);
  // Appends ticked, new entries (Found "0", Done "No") and writes Batch.ini
  // afresh; the list is read back from it when the write worked.
  void AddBatchEntries(const QStringList& names);
  // Writes the list into Batch.ini, when it has changed since the last save;
  // a failure is logged. True when the file holds the list.
  bool SaveBatch(control::TBatchSave mode);
  // Batch.ini as the list last read or wrote it; made on first use.
  control::TBatchFile& BatchStore();
  std::unique_ptr<control::TBatchFile> BatchFile;
  // The first entry of the section `name` names, as Batch.ini matches
  // sections; -1 when there is none.
  int FindBatchEntry(const QString& name) const;

  // ---- Hand-offs to the UI thread (src/control/window/Form1Messages.cpp) ----
  // Callable from any thread; they return once the UI thread has handled them.
  void AddLog(const QString& Event);
  void UpdateProgress(int Position);
  void SendMessage(TMessage& msg);
  void MessageImageUpdate(TMessage& msg);
  void MessageLog(TMessage& msg);
  void MessageProg(TMessage& msg);
  // The bar's range and position as the run sees them: the position always
  // stays within 0 to the maximum, and a maximum of 0 is allowed.
  int ProgressMax() const { return ProgressMaximum_; }
  int ProgressPosition() const { return ProgressValue_; }
  void SetProgressMax(int max);
  // Decodes a JPEG file for the preview on a thread of its own and hands the
  // picture (null when the file cannot be shown) to `done` on the UI thread,
  // unless the preview changed meanwhile.
  void LoadPreview(const QString& path, std::function<void(const QImage&)> done);
  // Shows the file in the preview once decoded; one that cannot be shown empties it.
  void ShowPreviewFile(const QString& path);
  // A name's picture: the file at `path` goes to the preview and becomes
  // CurrentPath, or `shown` gets it once decoded when given; without such a file
  // the preview is emptied and false returned.
  bool ShowPictureOrClear(const QString& path, std::function<void(const QImage&)> shown = {});
  // Shows `picture` at once (null: empties the preview); a decode still under
  // way for the preview is dropped.
  void SetPreview(const QImage& picture);
  // A preview decode has not finished yet.
  bool PreviewPending() const;
  void Image1MouseDown(Qt::MouseButton button);
  void Image1MouseEnter();
  void Image1MouseLeave();

  // ---- The desktop beyond the window (src/control/window/Form1Desktop.cpp) ---
  // Open and ShowSelected of the platform layer; what cannot be opened is logged.
  void OpenOrLog(const QString& target);
  void ShowSelectedOrLog(const QString& path);
  // The end of a run outside batch mode: its notification, unless it was stopped.
  void NotifyRunEnd(const download::TDownloadRun& run, bool stopped);
  // A batch tells the desktop once, at its end, what all its runs found.
  void CountBatchRun(const download::TDownloadRun& run);
  void NotifyBatchEnd();
  TRunNotice BatchNotice{.Names = 0};  // the runs of the batch under way
  // Follows the progress bar on the launcher's icon while a run is working.
  void ShowLauncherProgress();
  TLauncherProgress LauncherProgress;

  // ---- Discovery (src/site/window/Form1Discovery.cpp) -----------------------
  void FindImagesTask(const task::TTaskThread& TaskThread, const std::shared_ptr<download::TDownloadRun>& run);

  // ---- Downloading (src/download/window/Form1Download.cpp) ------------------
  // The search's terminated event: prepares the folders and starts the workers.
  void LoadWallpapers(task::TObject* Sender, const std::shared_ptr<download::TDownloadRun>& run);
  void LoadImagesTask(const task::TTaskThread& TaskThread, const std::shared_ptr<download::TDownloadRun>& run);

  // ---- The name catalogue (src/download/window/Form1Catalogue.cpp) ----------
  // "Load Girls": the site's index is fetched on the thread of LoadAllGirlsNames,
  // while the button is disabled and Label5 says so; the names are shown
  // when it has arrived.
  void Button7Click();
  std::unique_ptr<task::TSmartTask> LoadAllGirlsNames;  // made on the first press
  struct TNamesFetch;
  // On the UI thread, once the index fetch has ended by itself.
  void ShowNames(TNamesFetch& fetch);
  // Empties the catalogue and fills it from the thumbnail files in AllGirls.
  void GetAllGirlsList();
  void Button8Click();  // "Load Images" / "STOP"
  // The thumbnail pass, on the thread of LoadAllGirlsImg. Only the newest pass
  // changes controls: a stopped one still finishing its fetch keeps quiet once
  // another has begun.
  void LoadAllGirlsTask(const task::TTaskThread& TaskThread);
  void ListView2SelectItem();
  void Button9Click();   // "Add Selected"
  void CheckBox12Click();  // "Check All"
  int ThumbPass = 0;  // the number of the newest pass; UI thread only

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void CreateMainControls();
  void CreateSizeBoxes();
  void CreatePages();
  void CreateBatchPage();
  void CreateGirlsPage();
  void SetTabOrder();
  void ApplyLayout();
  int FrameWidth() const;

  int LayoutFrameWidth_ = 0;  // the frame the current layout was sized for

  void StartPath();
  // Why the last press of Start started no run; None when it started one.
  control::TRunStart::TRefusal LastRefusal_ = control::TRunStart::TRefusal::None;
  void StopPath();
  void ConnectHandlers();
  int ProgressMaximum_ = 100;
  int ProgressValue_ = 0;
};

}  // namespace ui
