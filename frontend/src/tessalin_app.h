// The front end as a whole: the working folder, the spectrum variables and
// the four windows, each created when first needed and existing at most once,
// and the moves between them.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "spectrum_file.h"

namespace tessalin {

class Form1;
class Form2;
class Form3;
class Form4;

class TessalinApp : public QObject {
  Q_OBJECT
 public:
  // workingFolder: where joken.dat is written, the engine is started and the
  // setup's folder list begins (the process's current folder in main).
  explicit TessalinApp(const QString& workingFolder);
  ~TessalinApp() override;

  // Shows the start window.
  void Run();

  QString WorkingFolder() const { return workingFolder_; }
  SpectrumVariables& Spectrum() { return spectrum_; }

  // The windows, created on first use.
  Form1& StartWindow();
  Form4& SetupWindow();
  Form3& IllustrationWindow();
  Form2& ViewerWindow();

  // Moves between windows.
  void OpenSetup();                      // prepare the setup, show it, hide the start
  void OpenViewer();                     // prepare the viewer, show it, hide the start
  void ShowIllustration();               // show (and raise) the illustration
  void ReturnToStart(QWidget* leaving);  // show the start, hide leaving
  // Ends the program at once, without any window's closing handling.
  void EndProgram();
  // Tests put another action in place of ending the process.
  void SetEndProgramAction(std::function<void()> action) { endProgram_ = std::move(action); }

 private:
  QString workingFolder_;
  SpectrumVariables spectrum_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form4> form4_;
  std::unique_ptr<Form3> form3_;
  QPointer<Form2> form2_;  // deletes itself when closed through its frame
  std::function<void()> endProgram_;
};

}  // namespace tessalin
