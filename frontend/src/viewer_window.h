// Form2, the result viewer window.
#pragma once

#include <QWidget>

namespace tessalin {

// The viewer. The start window creates it when first needed, calls
// prepareForShow() and then show() on every entry, and listens to
// startWindowRequested() to come back. Closing the viewer through its window
// frame ends this object (it is deleted on close); the start window holds it
// by QPointer and creates it anew the next time.
class Form2 : public QWidget {
  Q_OBJECT
 public:
  explicit Form2(QWidget* parent = nullptr);

  // The start window's preparation before it shows the viewer: re-read the
  // result list, clear the canvases and read-outs, hide the hints, disable
  // "OK". Does not show the window.
  void prepareForShow();

 signals:
  // The viewer is being left (its back button, or its frame closing): the
  // start window should show itself. Emitted before the viewer hides.
  void startWindowRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace tessalin
