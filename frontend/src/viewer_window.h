// Form2, the result viewer window: the list of result files with a summary of
// the picked one, and the loaded result as three axial maps, a sagittal map
// and a profile, explored with the mouse.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "result_file.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tessalin {

class Canvas;
class CanvasLine;

// The viewer. The start window creates it when first needed, calls
// prepareForShow() and then show() on every entry, and listens to
// startWindowRequested() to come back. Closing the viewer through its window
// frame ends this object (it is deleted on close); the start window holds it
// by QPointer and creates it anew the next time.
class Form2 : public QWidget {
  Q_OBJECT
 public:
  // The file list shows the "*.tsl2" files of the current folder at creation.
  explicit Form2(QWidget* parent = nullptr);
  ~Form2() override;

  // The start window's preparation before it shows the viewer: re-read the
  // result list, clear the canvases and read-outs, hide the hints, disable
  // "OK", and return to the empty state (nothing answers the mouse until the
  // next load). Does not show the window.
  void prepareForShow();

  // Loads a result file (a path, or a name in the working folder) and draws
  // every view for plane 1. A file that cannot be read leaves the viewer
  // exactly as it was and shows a message; returns false then.
  bool LoadResult(const QString& fileName);

  // Shows plane axialPlane (1..40) as a click in its middle on the sagittal
  // map would; does nothing before a load.
  void ShowPlane(int axialPlane);

  bool ResultLoaded() const { return resultLoaded_; }
  int AxialPlane() const { return axialPlane_; }
  double ProfileHalfWidth() const { return profileHalfWidth_; }
  const QString& WorkingFolder() const { return folder_; }

 signals:
  // The viewer is being left (its back button, or its frame closing): the
  // start window should show itself. Emitted before the viewer hides.
  void startWindowRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildFileColumn();
  void BuildMaps();
  void BuildReadouts();
  void BuildDefinitionBox();
  Canvas* AddCanvas(const QString& name, int left, int top, int width, int height);

  void RereadFileList();
  void ShowSummary();  // Click on File1
  void LoadPicked();   // Click on Command14 "OK"
  void ResetViewer();  // Click on Command1 "Reset"
  void GoBack();       // Click on Command6
  void ReturnToEmpty();
  void ClearViews();
  void EmptyReadouts();
  void DrawAxialViews();
  void SelectPlaneAt(double x);             // MouseDown on Picture6
  void ShowDistance(double x);              // MouseMove on Picture6
  void ShowMapReadout(double x, double y);  // MouseMove on Picture1..3
  void ShowProfileReadout(double x);        // MouseMove on Picture5
  void ShowDoses(int cellX, int cellZ);
  void MoveVerticalCrossHairs(double x, bool visible);
  void HideCrossHairs();

  // State of the loaded result.
  std::unique_ptr<ViewerDose> viewerDose_;
  bool resultLoaded_ = false;
  int axialPlane_ = 1;
  double phantomA_ = 0, phantomB_ = 0;  // cm
  double profileHalfWidth_ = 0;         // mm
  bool loading_ = false;
  QString folder_;
  QListWidgetItem* pickedAtPress_ = nullptr;  // the picked list entry when a press began

  // Controls, named as in the layout.
  QListWidget* File1 = nullptr;
  Canvas* Picture1 = nullptr;  // primary
  Canvas* Picture2 = nullptr;  // scattered
  Canvas* Picture3 = nullptr;  // total
  Canvas* Picture4 = nullptr;  // summary
  Canvas* Picture5 = nullptr;  // profile
  Canvas* Picture6 = nullptr;  // sagittal
  Canvas* Picture7 = nullptr;  // legend
  QPushButton* Command14 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command6 = nullptr;
  QLabel* Label32 = nullptr;
  QLabel* Label33 = nullptr;
  QLabel* Label35 = nullptr;
  QLabel* Label36 = nullptr;
  QLineEdit* Text1 = nullptr;
  QLineEdit* Text2 = nullptr;
  QLineEdit* Text3 = nullptr;
  QLineEdit* Text4 = nullptr;
  QLineEdit* Text5 = nullptr;
  QLineEdit* Text6 = nullptr;
  QLineEdit* Text7 = nullptr;
  CanvasLine* Line10 = nullptr;
  CanvasLine* Line27 = nullptr;
  CanvasLine* Line28 = nullptr;
  CanvasLine* Line29 = nullptr;
  CanvasLine* Line30 = nullptr;
  CanvasLine* Line31 = nullptr;
  CanvasLine* Line32 = nullptr;
  CanvasLine* Line33 = nullptr;
};

}  // namespace tessalin
